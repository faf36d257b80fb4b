// The text view's reading of a file's bytes: the binary check and the code page 932 decoding,
// with the same bytes checked as the view does before it shows them.

#include "textview/BinCheck.h"
#include "textview/TextFiles.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    BinCheck(bytes);
    const QString text = TextFiles::decode(bytes);
    // Every byte gives at most one character.
    if (text.size() > bytes.size())
        __builtin_trap();
    return 0;
}

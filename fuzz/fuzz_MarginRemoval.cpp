// Margin removal on any text (the bytes as UTF-8).

#include "textview/MarginRemoval.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    RemoveMargins(text);
    return 0;
}

// Palette expansion on any text: the bytes as UTF-8, ranges between any two characters.

#include "convert/TblExpand.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString palette =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    TblExpand(palette);
    return 0;
}

#include "textview/BinCheck.h"

bool BinCheck(const QByteArray& bytes) {
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20)
            continue;
        if ((b >= 8 && b <= 13) || b == 0x1A || b == 0x1B)
            continue;
        return true;
    }
    return false;
}

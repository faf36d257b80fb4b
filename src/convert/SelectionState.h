#pragma once

#include <QtGlobal>

// The selection rectangle as the conversion reads it: shown or not, and two corners in picture
// pixels, in any order.
struct SelectionState {
    bool AiraVisible = false;
    qint16 AiraX1 = 0;
    qint16 AiraY1 = 0;
    qint16 AiraX2 = 0;
    qint16 AiraY2 = 0;
};

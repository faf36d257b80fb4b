#include "convert/SelCopy.h"

#include <cstdlib>

qint16 SelCopy(const QImage& picture, const SelectionState& selection, QImage& target) {
    const int pw = picture.width();
    const int ph = picture.height();
    int x = 0;
    int y = 0;
    int w = pw;
    int h = ph;
    if (selection.AiraVisible) {
        x = qMin(selection.AiraX1, selection.AiraX2);
        y = qMin(selection.AiraY1, selection.AiraY2);
        w = std::abs(selection.AiraX2 - selection.AiraX1);
        h = std::abs(selection.AiraY2 - selection.AiraY1);
    }
    if (x < 0) {
        w += x;
        x = 0;
    }
    if (y < 0) {
        h += y;
        y = 0;
    }
    if (x + w > pw)
        w = pw - x;
    if (y + h > ph)
        h = ph - y;
    if (x > pw || y > ph || w > pw || h > ph)
        return -1;
    // Wholly left of or above the picture: nothing of it lies on the picture.
    if (w < 0 || h < 0)
        return -1;
    if (w == 0 || h == 0) {
        target = QImage();
        return 0;
    }
    // The whole picture is shared rather than copied: QImage copies it only when either is
    // changed.
    const QImage part = x == 0 && y == 0 && w == pw && h == ph ? picture : picture.copy(x, y, w, h);
    target = part.convertToFormat(QImage::Format_RGB32);
    return 0;
}

#include "convert/SelCopy.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

qint16 SelCopy(const QImage& picture, const SelectionState& selection, QImage& target,
               const AbortPoll& poll) {
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
    if (x == 0 && y == 0 && w == pw && h == ph && picture.format() == QImage::Format_RGB32) {
        target = picture;
        return 0;
    }
    target = QImage(w, h, QImage::Format_RGB32);
    if (target.isNull())
        return 0;
    const int band = AbortPolling::rowsPerLook(w);
    const bool direct = picture.format() == QImage::Format_RGB32;
    for (int top = 0; top < h; top += band) {
        if (AbortPolling::stop(poll)) {
            target = QImage();
            return SelCopyStopped;
        }
        const int count = std::min(band, h - top);
        // Other formats are converted a band at a time; the conversion works pixel by pixel.
        const QImage part =
            direct ? picture
                   : picture.copy(x, y + top, w, count).convertToFormat(QImage::Format_RGB32);
        const int partX = direct ? x : 0;
        const int partY = direct ? y + top : 0;
        for (int row = 0; row < count; ++row)
            std::memcpy(target.scanLine(top + row),
                        part.constScanLine(partY + row) + 4 * static_cast<size_t>(partX),
                        4 * static_cast<size_t>(w));
    }
    return 0;
}

#include "convert/AutoLevel.h"

#include "convert/SelCopy.h"
#include "convert/SliderModel.h"
#include "platform/Numbers.h"

namespace AutoLevel {

GreyRange scan(const PictureBuffer& buffer) {
    GreyRange range;
    const uchar* data = buffer.data();
    for (int y = 0; y < buffer.height; ++y) {
        for (int x = 0; x < buffer.width; ++x) {
            const uchar* p = data + buffer.offset(x, y);
            const auto grey = static_cast<qint16>(
                Numbers::roundHalfEven(0.587 * p[1] + 0.299 * p[2] + 0.114 * p[0]));
            if (grey > range.max)
                range.max = grey;
            if (grey < range.min)
                range.min = grey;
        }
        if (range.max >= 255 && range.min <= 0)
            break;
    }
    return range;
}

void positionsFor(const GreyRange& range, qint16& low, qint16& high) {
    const double sw = SliderModel::TrackInnerWidth;
    const double w0 = SliderModel::KnobWidth;
    const double u = SliderModel::LevelUnit();
    qint32 lo = static_cast<qint32>(Numbers::roundHalfEven(u * range.min));
    qint32 hi = static_cast<qint32>(Numbers::roundHalfEven(u * range.max + w0));
    if (lo < 0)
        lo = 0;
    if (hi <= lo) {
        hi = lo + 1;
        if (hi >= sw) {
            hi = static_cast<qint32>(Numbers::roundHalfEven(sw - 1));
            lo -= 1;
        }
    }
    low = static_cast<qint16>(lo);
    high = static_cast<qint16>(hi);
}

Outcome AutoLevel(const QImage* picture, const SelectionState& selection, qint16& low,
                  qint16& high) {
    if (picture == nullptr || picture->isNull()) {
        low = 0;
        high = static_cast<qint16>(Numbers::roundHalfEven(SliderModel::TrackInnerWidth - 1));
        return Outcome::Set;
    }
    QImage copy;
    if (SelCopy(*picture, selection, copy) < 0)
        return Outcome::InvalidSelection;
    const PictureBuffer buffer = BufFromPic(copy);
    if (buffer.size() < 1)
        return Outcome::Unchanged;
    positionsFor(scan(buffer), low, high);
    return Outcome::Set;
}

} // namespace AutoLevel

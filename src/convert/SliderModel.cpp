#include "convert/SliderModel.h"

#include "platform/Numbers.h"

#include <algorithm>
#include <cmath>

static float nearestF(float v) {
    return static_cast<float>(Numbers::roundHalfEven(v));
}

void SliderModel::SliderInit() {
    m_left0 = 0;
    m_left1 = SW() - W1() - 1;
}

void SliderModel::SliderMove(int index, float movePosX, qint16 grabX) {
    if (index == 0) {
        float pos = nearestF(m_left0 + movePosX - grabX);
        if (pos < 0)
            pos = 0;
        if (pos >= m_left1 - W0() && pos + W0() + W1() >= SW())
            pos = nearestF(SW() - W1() - W0() - 1);
        m_left0 = pos;
        if (m_left0 + W0() >= m_left1)
            m_left1 = m_left0 + W0();
    } else {
        float pos = nearestF(m_left1 + movePosX - grabX);
        if (m_left0 + W0() > pos && pos - W0() < 0)
            pos = nearestF(W0());
        if (SW() - W1() <= pos)
            pos = nearestF(SW() - W1() - 1);
        m_left1 = pos;
        if (W0() + m_left0 >= m_left1)
            m_left0 = m_left1 - W0();
    }
}

void SliderModel::placeKnob(int index, float position) {
    const qint16 grab = static_cast<qint16>(Numbers::roundHalfEven(left(index)));
    SliderMove(index, position, grab);
}

void SliderModel::placeStored(qint16 low, qint16 high) {
    if (low < 0)
        return;
    placeKnob(0, low);
    placeKnob(1, high);
}

qint16 SliderModel::storedLow() const {
    return static_cast<qint16>(Numbers::roundHalfEven(m_left0));
}

qint16 SliderModel::storedHigh() const {
    return static_cast<qint16>(Numbers::roundHalfEven(m_left1));
}

LevelPair SliderModel::levelPair(qint16 low, qint16 high) {
    const double unit = LevelUnit();
    qint64 lo = static_cast<qint64>(std::floor(low / unit));
    qint64 hi = static_cast<qint64>(std::floor((high - static_cast<double>(KnobWidth)) / unit));
    if (lo < 0)
        lo = 0;
    if (hi <= lo) {
        const qint64 before = lo;
        hi = lo + 1;
        if (hi > 255) {
            hi = 255;
            lo = before - 1;
        }
    }
    // Knob positions off the track (an edited settings file) must still leave hi above lo.
    lo = std::clamp<qint64>(lo, 0, 254);
    hi = std::clamp<qint64>(hi, lo + 1, 32767);
    LevelPair pair;
    pair.lo = static_cast<qint16>(lo);
    pair.hi = static_cast<qint16>(hi);
    return pair;
}

static QString wholePart(float value) {
    const QString text = Numbers::formatOneDecimal(value);
    return text.left(text.indexOf(u'.'));
}

QString SliderModel::lowText() const {
    const float span16 = nearestF(SW() - W0() - W1());
    const float scale = span16 / 100.0f;
    return wholePart(nearestF(m_left0) / scale);
}

QString SliderModel::highText() const {
    const float span16 = nearestF(SW() - W0() - W1());
    const float scale = span16 / 100.0f;
    return wholePart(nearestF(m_left1 - W0()) / scale + 1.0f);
}

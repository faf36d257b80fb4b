#include "app/SelectionModel.h"

#include "platform/Numbers.h"
#include "platform/PathHelpers.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

void SelectionModel::AiraSet(qint16 x, qint16 y, int button) {
    m_state.AiraVisible = false;
    if (button == 1 && x != m_state.AiraX1 && y != m_state.AiraY1) {
        m_state.AiraX2 = x;
        m_state.AiraY2 = y;
        AiraDraw();
        m_state.AiraVisible = true;
        m_timerEnabled = true;
    }
    if (m_barsVisible != m_state.AiraVisible)
        m_barsVisible = m_state.AiraVisible;
    if (!m_state.AiraVisible)
        m_timerEnabled = false;
}

bool SelectionModel::AiraDraw() {
    const int sw = m_picture.width();
    const int sh = m_picture.height();
    int l = std::min(m_state.AiraX1, m_state.AiraX2);
    int w = std::abs(m_state.AiraX2 - m_state.AiraX1);
    int t = std::min(m_state.AiraY1, m_state.AiraY2);
    int h = std::abs(m_state.AiraY2 - m_state.AiraY1);
    if (l < 0) {
        w += l;
        l = 0;
    }
    if (t < 0) {
        h += t;
        t = 0;
    }
    if (l + w > sw)
        w = sw - l;
    if (t + h > sh)
        h = sh - t;
    if (l > sw || t > sh || w > sw || h > sh)
        return false;
    const int b = BarThickness;
    m_bars[0] = QRect(l, t, w, b);
    m_bars[1] = QRect(l, t + h - b, w, b);
    m_bars[2] = QRect(l, t, b, h);
    m_bars[3] = QRect(l + w - b, t, b, h);
    return true;
}

void SelectionModel::pictureDown(qint16 x, qint16 y, Qt::MouseButton button) {
    if (button != Qt::LeftButton)
        return;
    if (m_state.AiraVisible)
        AiraSet(x, y, 0);
    m_state.AiraX1 = x;
    m_state.AiraY1 = y;
    m_drag = true;
}

void SelectionModel::pictureMove(qint16 x, qint16 y, Qt::MouseButtons buttons) {
    if (buttons == Qt::LeftButton && m_drag)
        AiraSet(x, y, 1);
}

void SelectionModel::pictureUp(qint16 x, qint16 y, Qt::MouseButton button) {
    if (button != Qt::LeftButton)
        return;
    if (m_drag)
        AiraSet(x, y, 1);
    m_drag = false;
    if (m_state.AiraY2 < m_state.AiraY1)
        std::swap(m_state.AiraY1, m_state.AiraY2);
    if (m_state.AiraX2 < m_state.AiraX1)
        std::swap(m_state.AiraX1, m_state.AiraX2);
}

void SelectionModel::barDown(int index, qint16 x, qint16 y) {
    Q_UNUSED(index);
    m_gripX = x;
    m_gripY = y;
}

// The side as the nearest 16-bit integer; a pull far beyond the range stops at its end.
static qint16 pulled(qint16 side, double travel) {
    const qint64 value = Numbers::roundHalfEven(side + travel);
    return static_cast<qint16>(std::clamp<qint64>(value, -32768, 32767));
}

void SelectionModel::barPull(int index, double x, double y) {
    SelectionState& s = m_state;
    switch (index) {
    case 0:
        s.AiraY1 = pulled(s.AiraY1, y - m_gripY);
        if (s.AiraY1 >= s.AiraY2)
            s.AiraY1 = static_cast<qint16>(s.AiraY2 - 1);
        break;
    case 1:
        s.AiraY2 = pulled(s.AiraY2, y - m_gripY);
        if (s.AiraY2 <= s.AiraY1)
            s.AiraY2 = static_cast<qint16>(s.AiraY1 + 1);
        break;
    case 2:
        s.AiraX1 = pulled(s.AiraX1, x - m_gripX);
        if (s.AiraX1 >= s.AiraX2)
            s.AiraX1 = static_cast<qint16>(s.AiraX2 - 1);
        break;
    case 3:
        s.AiraX2 = pulled(s.AiraX2, x - m_gripX);
        if (s.AiraX2 <= s.AiraX1)
            s.AiraX2 = static_cast<qint16>(s.AiraX1 + 1);
        break;
    default:
        return;
    }
    if (s.AiraVisible)
        AiraDraw();
}

qint32 SelectionModel::autoScrollStep(qint32 p, qint32 view) {
    if (p >= 0)
        return p > view ? PathHelpers::CeilDiv(p - view, 5) : 0;
    return PathHelpers::CeilDiv(p, 5);
}

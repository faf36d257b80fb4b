#include "textview/WidthCache.h"

float WidthCache::WidthOf(const QFontMetricsF& metrics, const QString& ch) {
    const int found = slotOf(ch);
    if (found >= 0)
        return m_widths[static_cast<size_t>(found)];
    int slot = 0;
    if (m_count < Capacity) {
        slot = m_count;
        ++m_count;
    } else {
        if (m_next >= Capacity)
            m_next = 0;
        slot = m_next;
    }
    const float width = static_cast<float>(metrics.horizontalAdvance(ch));
    m_chars[static_cast<size_t>(slot)] = ch;
    m_widths[static_cast<size_t>(slot)] = width;
    m_next = slot + 1;
    return width;
}

void WidthCache::clear() {
    m_count = 0;
    m_next = 0;
}

int WidthCache::slotOf(const QString& ch) const {
    for (int i = 0; i < m_count; ++i)
        if (m_chars[static_cast<size_t>(i)] == ch)
            return i;
    return -1;
}

#pragma once

#include <QFontMetricsF>
#include <QString>

#include <array>

// Widths of single characters in the view's font. Every redraw of a horizontally scrolled view
// measures each visible line character by character up to the offset; the cache keeps the last
// 100 characters measured and replaces the oldest entry first.
class WidthCache {
public:
    static constexpr int Capacity = 100;

    // The width in pixels of the one-character string ch, measured with metrics when not cached.
    float WidthOf(const QFontMetricsF& metrics, const QString& ch);
    // Forgets every width (the font changed).
    void clear();

    int count() const { return m_count; }
    int next() const { return m_next; }
    // The slot holding ch, or -1.
    int slotOf(const QString& ch) const;

private:
    std::array<QString, Capacity> m_chars;
    std::array<float, Capacity> m_widths{};
    int m_count = 0;
    int m_next = 0;
};

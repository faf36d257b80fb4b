#include "convert/GlyphColumns.h"

GlyphColumns::GlyphColumns(const GlyphMaps& maps, const std::vector<int>& widths, int rowHeight)
    : m_start(widths.size(), 0), m_mean(widths.size(), 0.0) {
    size_t total = 0;
    for (size_t i = 0; i < widths.size(); ++i) {
        m_start[i] = total;
        if (widths[i] > 0)
            total += static_cast<size_t>(widths[i]) * static_cast<size_t>(rowHeight);
    }
    m_values.resize(total);
    for (size_t i = 0; i < widths.size(); ++i) {
        const int width = widths[i];
        if (width < 1)
            continue;
        double* out = m_values.data() + m_start[i];
        double sum = 0;
        for (int k = 0; k < width; ++k) {
            for (int y = 0; y < rowHeight; ++y) {
                *out = maps.at(static_cast<qsizetype>(i), k + 1, y + 1);
                sum += *out++;
            }
        }
        m_mean[i] = sum / (static_cast<double>(width) * rowHeight);
    }
}

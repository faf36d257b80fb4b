#include "convert/GlyphColumns.h"

GlyphColumns::GlyphColumns(const GlyphMaps& maps, const std::vector<int>& widths, int rowHeight)
    : m_start(widths.size(), 0), m_mean(widths.size(), 0.0), m_columnStart(widths.size(), 0) {
    size_t total = 0;
    size_t columns = 0;
    for (size_t i = 0; i < widths.size(); ++i) {
        m_start[i] = total;
        m_columnStart[i] = columns;
        if (widths[i] > 0) {
            total += static_cast<size_t>(widths[i]) * static_cast<size_t>(rowHeight);
            columns += static_cast<size_t>(widths[i]);
        }
    }
    m_values.resize(total);
    m_columnSums.resize(columns);
    for (size_t i = 0; i < widths.size(); ++i) {
        const int width = widths[i];
        if (width < 1)
            continue;
        double* out = m_values.data() + m_start[i];
        double sum = 0;
        for (int k = 0; k < width; ++k) {
            double column = 0;
            for (int y = 0; y < rowHeight; ++y) {
                *out = maps.at(static_cast<qsizetype>(i), k + 1, y + 1);
                column += *out++;
            }
            m_columnSums[m_columnStart[i] + static_cast<size_t>(k)] = column;
            sum += column;
        }
        m_mean[i] = sum / (static_cast<double>(width) * rowHeight);
    }
}

#include "convert/GlyphColumns.h"

#include "convert/LevelSad.h"

GlyphColumns::GlyphColumns(const std::vector<int>& widths, int rowHeight)
    : m_widths(widths), m_rowHeight(rowHeight), m_start(widths.size(), 0),
      m_mean(widths.size(), 0.0) {
    size_t total = 0;
    for (size_t i = 0; i < widths.size(); ++i) {
        m_start[i] = total;
        if (widths[i] > 0)
            total += static_cast<size_t>(widths[i]) * static_cast<size_t>(rowHeight);
    }
    m_values.resize(total);
    m_floats.resize(total);
    m_levels.resize(total);
}

void GlyphColumns::store(qsizetype i, const GlyphMaps& maps, qsizetype mapIndex) {
    const size_t c = static_cast<size_t>(i);
    const int width = m_widths[c];
    if (width < 1)
        return;
    double* out = m_values.data() + m_start[c];
    float* single = m_floats.data() + m_start[c];
    double sum = 0;
    for (int k = 0; k < width; ++k) {
        for (int y = 0; y < m_rowHeight; ++y) {
            *out = maps.at(mapIndex, k + 1, y + 1);
            *single++ = static_cast<float>(*out);
            sum += *out++;
        }
    }
    m_mean[c] = sum / (static_cast<double>(width) * m_rowHeight);
    LevelSad::quantize(m_values.data() + m_start[c], width * m_rowHeight,
                       m_levels.data() + m_start[c]);
}

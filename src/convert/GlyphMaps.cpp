#include "convert/GlyphMaps.h"

#include <algorithm>
#include <cmath>

static int gridRows(int maxHeight, int rowHeight) {
    return std::max(rowHeight + 3, maxHeight + 2);
}

qint64 GlyphMaps::entriesFor(qsizetype count, int maxWidth, int maxHeight, int rowHeight) {
    return static_cast<qint64>(count) * (static_cast<qint64>(maxWidth) + 3) *
           gridRows(maxHeight, rowHeight);
}

GlyphMaps::GlyphMaps(qsizetype count, int maxWidth, int maxHeight, int rowHeight)
    : m_columns(maxWidth + 3), m_rows(gridRows(maxHeight, rowHeight)), m_rowHeight(rowHeight),
      m_values(static_cast<size_t>(entriesFor(count, maxWidth, maxHeight, rowHeight)), 0.0) {}

void GlyphMaps::clear() {
    std::fill(m_values.begin(), m_values.end(), 0.0);
}

void GlyphMaps::fill(qsizetype i, const GlyphBitmap& glyph, bool reversed, double nitiGosa) {
    const int w = glyph.width;
    const int h = glyph.height;
    for (int y = 0; y <= h + 1; ++y)
        for (int x = 0; x <= w + 1; ++x)
            m_values[index(i, x, y)] = 1.0;
    const double corner = nitiGosa / 2;
    for (int py = 0; py < h; ++py) {
        for (int px = 0; px < w; ++px) {
            if (glyph.at(px, py) == reversed)
                continue;
            lower(i, px + 1, py + 1, 1.0);
            lower(i, px, py + 1, nitiGosa);
            lower(i, px + 1, py, nitiGosa);
            lower(i, px + 2, py + 1, nitiGosa);
            lower(i, px + 1, py + 2, nitiGosa);
            lower(i, px, py, corner);
            lower(i, px + 2, py, corner);
            lower(i, px, py + 2, corner);
            lower(i, px + 2, py + 2, corner);
        }
    }
    // Clamped only after all ink is counted, so where strokes meet the darkening adds up first.
    for (int y = 0; y <= h + 1; ++y) {
        for (int x = 0; x <= w + 1; ++x) {
            double& v = m_values[index(i, x, y)];
            v = std::clamp(v, 0.0, 1.0);
        }
    }
}

double GlyphMaps::score(qsizetype i, int width, const double* band, int colsPx, int x) const {
    double sum = 0;
    for (int y = 0; y < m_rowHeight; ++y) {
        const double* map = m_values.data() + index(i, 1, y + 1);
        const double* picture = band + static_cast<qsizetype>(colsPx) * y + x;
        for (int k = 0; k < width; ++k)
            sum += std::fabs(picture[k] - map[k]);
    }
    return sum / static_cast<double>(static_cast<qint64>(m_rowHeight) * width);
}

#pragma once

#include "convert/GlyphMaps.h"
#include "platform/LargePageAllocator.h"

#include <QtGlobal>

#include <vector>

// The glyph maps laid out for scoring: each character's rows 1..rowHeight of its map columns
// 1..width, column after column (the rowHeight values of one column together), one character
// after the other. With the row band laid out the same way, a candidate at any position is one
// contiguous span of width × rowHeight values on both sides.
class GlyphColumns {
public:
    // widths[i] < 1 marks a character that is never placed; it gets no values. The values are
    // filled in by store().
    GlyphColumns(const std::vector<int>& widths, int rowHeight);

    // Takes character i's values from character mapIndex of maps.
    void store(qsizetype i, const GlyphMaps& maps, qsizetype mapIndex);

    const double* values(qsizetype i) const {
        return m_values.data() + m_start[static_cast<size_t>(i)];
    }
    // The same values in single precision, for screening with ScreenSums.
    const float* floats(qsizetype i) const {
        return m_floats.data() + m_start[static_cast<size_t>(i)];
    }
    // The same values as levels (LevelSad), for screening at a byte a value.
    const quint8* levels(qsizetype i) const {
        return m_levels.data() + m_start[static_cast<size_t>(i)];
    }
    // The mean of character i's values, for the lower bound of its score.
    double mean(qsizetype i) const { return m_mean[static_cast<size_t>(i)]; }

private:
    std::vector<int> m_widths;
    int m_rowHeight;
    std::vector<size_t> m_start;
    std::vector<double> m_mean;
    std::vector<double, LargePageAllocator<double>> m_values;
    std::vector<float, LargePageAllocator<float>> m_floats;
    std::vector<quint8> m_levels;
};

#pragma once

#include "convert/GlyphSource.h"

#include <QtGlobal>

#include <vector>

// The palette characters as softened two-level maps for the shape-matching converter: 1 is
// paper, 0 is ink, and every ink pixel also darkens its neighbours a little (NitiGosa for the
// four edge neighbours, half of it for the four corner ones), so that a stroke one pixel off
// still scores close. Each character has a one-pixel border around its glyph; rows below the
// glyph's border stay 0, so a row taller than the glyph counts the gap under it as ink.
//
// All maps live in one contiguous block, character after character, each stored row by row, so
// scoring a character walks its rows in memory order.
class GlyphMaps {
public:
    // count characters, none wider than maxWidth nor taller than maxHeight, compared against
    // rows of rowHeight raster rows. The grid is tall enough both for a glyph with its border
    // (rows 0..maxHeight + 1) and for the rows that scoring reads (1..rowHeight).
    GlyphMaps(qsizetype count, int maxWidth, int maxHeight, int rowHeight);

    // The number of doubles the grid for these sizes needs.
    static qint64 entriesFor(qsizetype count, int maxWidth, int maxHeight, int rowHeight);

    // Every entry back to 0, as when the grid was created.
    void clear();

    // Builds character i's map from its drawn glyph. Strokes are ink; reversed (light strokes on
    // a dark ground), the ground is ink and the strokes are paper.
    void fill(qsizetype i, const GlyphBitmap& glyph, bool reversed, double nitiGosa);

    // Map value of character i at grid column x, grid row y (the glyph's pixel (x - 1, y - 1)).
    double at(qsizetype i, int x, int y) const { return m_values[index(i, x, y)]; }

    // Mean absolute difference between character i, width pixels wide, and the row band (rowHeight
    // rows of colsPx tone-mapped values, row-major) from raster column x on. x + width must not
    // exceed colsPx.
    double score(qsizetype i, int width, const double* band, int colsPx, int x) const;

    int columns() const { return m_columns; }
    int rows() const { return m_rows; }

private:
    size_t index(qsizetype i, int x, int y) const {
        return (static_cast<size_t>(i) * static_cast<size_t>(m_rows) + static_cast<size_t>(y)) *
                   static_cast<size_t>(m_columns) +
               static_cast<size_t>(x);
    }
    void lower(qsizetype i, int x, int y, double amount) { m_values[index(i, x, y)] -= amount; }

    int m_columns = 0;
    int m_rows = 0;
    int m_rowHeight = 0;
    std::vector<double> m_values;
};

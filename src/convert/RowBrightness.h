#pragma once

#include "convert/AbortPoll.h"
#include "convert/PictureBuffer.h"
#include "convert/Sampling.h"
#include "platform/CacheLineAllocator.h"
#include "platform/LargePageAllocator.h"

#include <vector>

// What each text row of the normal converter sees of the picture: for every source column that
// the raster samples, the lumas of its pixels at the row's raster rows, summed from the top
// down, their mean tone-mapped through the levels. Every raster column that samples that source
// column has this brightness. Each sampled pixel's luma is computed once, and the sums are the
// same additions in the same order as one raster point after the other.
class RowBrightness {
public:
    // lines text rows of rowHeight raster rows, raster columns 0..columns-1. The lumas are
    // taken in bands of rows on up to threads threads (see BandWork::run); poll is looked at
    // before each band the calling thread takes. When it stops the walk, stopped() says so and
    // no row may be read.
    RowBrightness(const PictureBuffer& buffer, const RasterMapping& raster, int lines,
                  int rowHeight, int columns, const LevelPair& levels, const AbortPoll& poll,
                  int threads);

    bool stopped() const { return m_stopped; }

    // Text row r's brightness per sampled source column, summed into scratch.
    const double* row(int r, ThreadOwnVector<double>& scratch) const;

    // The index, in a row, of the source column that raster column xv samples.
    int columnOf(int xv) const { return m_columnOf[static_cast<size_t>(xv)]; }
    // The number of source columns sampled.
    int width() const { return m_width; }

private:
    void sumRow(int r, double* out) const;

    int m_width = 0;
    int m_rowHeight;
    LevelPair m_levels;
    std::vector<int> m_columnOf;
    std::vector<int> m_rowOf; // per raster row, its source row's place among those sampled
    std::vector<double, LargePageAllocator<double>> m_lumas; // sampled rows x sampled columns
    bool m_stopped = false;
};

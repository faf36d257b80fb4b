#pragma once

#include "convert/AbortPoll.h"
#include "convert/PictureBuffer.h"
#include "convert/Sampling.h"
#include "platform/LargePageAllocator.h"

#include <QtGlobal>

#include <vector>

// The brightness of every source pixel that the raster samples, computed once per run. A raster
// usually has more points than the picture has pixels (a text pixel is smaller than a picture
// pixel), so each source pixel's luma is computed once instead of once per raster point that
// maps to it; the values are the same doubles, from the same formula.
//
// Only the source columns and rows that some raster point samples are kept, in ascending order;
// columnOf and row translate raster coordinates into this compact plane.
class SourcePlane {
public:
    // Every luma is kept tone-mapped through the levels, as the two-level converter reads each
    // raster point.
    // Only raster columns 0..columns-1 are mapped: the rest are never read. poll is looked at
    // before each band of rows, which are filled on up to threads threads (see BandWork::run);
    // when it stops the plane, stopped() says so and the plane must not be read.
    SourcePlane(const PictureBuffer& buffer, const RasterMapping& raster, const LevelPair& tone,
                int columns, const AbortPoll& poll = {}, int threads = 1);

    bool stopped() const { return m_stopped; }

    // The index, in a plane row, of the source column that raster column xv samples.
    int columnOf(int xv) const { return m_columnOf[static_cast<size_t>(xv)]; }
    // The plane row of the source row that raster row yv samples.
    const double* row(qint32 yv) const {
        return m_values.data() +
               static_cast<size_t>(m_rowOf[static_cast<size_t>(yv)]) * static_cast<size_t>(m_width);
    }
    // The number of source columns kept.
    int width() const { return m_width; }

private:
    std::vector<int> m_columnOf;
    std::vector<int> m_rowOf;
    int m_width = 0;
    std::vector<double, LargePageAllocator<double>> m_values;
    bool m_stopped = false;
};

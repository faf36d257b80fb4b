#include "convert/RowBrightness.h"

#include "convert/BandWork.h"
#include "convert/SampledLines.h"

RowBrightness::RowBrightness(const PictureBuffer& buffer, const RasterMapping& raster, int lines,
                             int rowHeight, int columns, const LevelPair& levels,
                             const AbortPoll& poll, int threads)
    : m_rowHeight(rowHeight), m_levels(levels) {
    SampledLines sampledColumns = SampledLines::of(
        columns, [&](qint64 xv) { return raster.sourceColumn(static_cast<int>(xv)); });
    SampledLines sampledRows =
        SampledLines::of(static_cast<qint64>(lines) * rowHeight,
                         [&](qint64 yv) { return raster.sourceRow(static_cast<qint32>(yv)); });
    const std::vector<int>& sourceColumns = sampledColumns.kept;
    const std::vector<int>& sourceRows = sampledRows.kept;
    m_width = static_cast<int>(sourceColumns.size());
    const size_t width = sourceColumns.size();
    // Left uninitialised by its allocator: every luma is written once.
    m_lumas.resize(sourceRows.size() * width);

    const auto lumaBand = [&](qint64 first, qint64 last) {
        double* out = m_lumas.data() + static_cast<size_t>(first) * width;
        for (qint64 i = first; i < last; ++i) {
            const int py = sourceRows[static_cast<size_t>(i)];
            for (const int px : sourceColumns) {
                const uchar* p = buffer.data() + buffer.offset(px, py);
                *out++ = Luma(p[0], p[1], p[2]);
            }
        }
    };
    m_rowOf = std::move(sampledRows.indexOf);
    m_columnOf = std::move(sampledColumns.indexOf);
    m_stopped = !BandWork::run(static_cast<qint64>(sourceRows.size()),
                               AbortPolling::rowsPerLook(m_width), threads, poll, lumaBand);
}

const double* RowBrightness::row(int r, ThreadOwnVector<double>& scratch) const {
    scratch.resize(static_cast<size_t>(m_width));
    sumRow(r, scratch.data());
    return scratch.data();
}

// A block of columns is summed down all the row's raster rows in registers before it is stored,
// which lets the compiler keep several vectors of sums in flight; each column's additions keep
// their order.
void RowBrightness::sumRow(int r, double* out) const {
    const size_t width = static_cast<size_t>(m_width);
    const size_t top = static_cast<size_t>(r) * static_cast<size_t>(m_rowHeight);
    const auto lumaRow = [&](int y) {
        return m_lumas.data() + static_cast<size_t>(m_rowOf[top + static_cast<size_t>(y)]) * width;
    };
    constexpr size_t block = 16;
    size_t u = 0;
    for (; u + block <= width; u += block) {
        double sum[block] = {};
        for (int y = 0; y < m_rowHeight; ++y) {
            const double* luma = lumaRow(y) + u;
            for (size_t j = 0; j < block; ++j)
                sum[j] += luma[j];
        }
        for (size_t j = 0; j < block; ++j)
            out[u + j] = ToneMap(sum[j] / m_rowHeight, m_levels);
    }
    for (; u < width; ++u) {
        double sum = 0;
        for (int y = 0; y < m_rowHeight; ++y)
            sum += lumaRow(y)[u];
        out[u] = ToneMap(sum / m_rowHeight, m_levels);
    }
}

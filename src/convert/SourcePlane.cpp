#include "convert/SourcePlane.h"

#include "convert/BandWork.h"
#include "convert/SampledLines.h"

#include <algorithm>

SourcePlane::SourcePlane(const PictureBuffer& buffer, const RasterMapping& raster,
                         const LevelPair& tone, int columnCount, const AbortPoll& poll,
                         int threads) {
    SampledLines sampledColumns = SampledLines::of(
        columnCount, [&](qint64 xv) { return raster.sourceColumn(static_cast<int>(xv)); });
    SampledLines sampledRows = SampledLines::of(
        raster.rowsPx, [&](qint64 yv) { return raster.sourceRow(static_cast<qint32>(yv)); });
    const std::vector<int> columns = std::move(sampledColumns.kept);
    const std::vector<int> rows = std::move(sampledRows.kept);
    m_columnOf = std::move(sampledColumns.indexOf);
    m_rowOf = std::move(sampledRows.indexOf);
    m_width = static_cast<int>(columns.size());
    // Left uninitialised by its allocator: each band is first touched by the thread that fills
    // it, after a look at the poll.
    m_values.resize(rows.size() * columns.size());
    const auto fill = [&](qint64 first, qint64 last) {
        double* out = m_values.data() + static_cast<size_t>(first) * columns.size();
        for (qint64 i = first; i < last; ++i) {
            const int py = rows[static_cast<size_t>(i)];
            for (const int px : columns) {
                const uchar* p = buffer.data() + buffer.offset(px, py);
                *out++ = ToneMap(Luma(p[0], p[1], p[2]), tone);
            }
        }
    };
    m_stopped = !BandWork::run(static_cast<qint64>(rows.size()), AbortPolling::rowsPerLook(m_width),
                               threads, poll, fill);
}

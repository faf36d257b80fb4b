#include "convert/SourcePlane.h"

#include "convert/BandWork.h"

#include <algorithm>

// Raster coordinates sample source lines in ascending order, so the distinct ones are found by
// comparing neighbours. Returns the source lines kept and fills index with each coordinate's
// position among them.
template <typename SourceOf>
static std::vector<int> distinctLines(qint64 count, SourceOf sourceOf, std::vector<int>& index) {
    std::vector<int> kept;
    index.assign(static_cast<size_t>(count), 0);
    for (qint64 v = 0; v < count; ++v) {
        const int source = sourceOf(v);
        if (kept.empty() || kept.back() != source)
            kept.push_back(source);
        index[static_cast<size_t>(v)] = static_cast<int>(kept.size()) - 1;
    }
    return kept;
}

SourcePlane::SourcePlane(const PictureBuffer& buffer, const RasterMapping& raster,
                         const LevelPair* tone, int columnCount, const AbortPoll& poll,
                         int threads) {
    const std::vector<int> columns = distinctLines(
        columnCount, [&](qint64 xv) { return raster.sourceColumn(static_cast<int>(xv)); },
        m_columnOf);
    const std::vector<int> rows = distinctLines(
        raster.rowsPx, [&](qint64 yv) { return raster.sourceRow(static_cast<qint32>(yv)); },
        m_rowOf);
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
                const double luma = Luma(p[0], p[1], p[2]);
                *out++ = tone != nullptr ? ToneMap(luma, *tone) : luma;
            }
        }
    };
    m_stopped = !BandWork::run(static_cast<qint64>(rows.size()), AbortPolling::rowsPerLook(m_width),
                               threads, poll, fill);
}

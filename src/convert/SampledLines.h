#pragma once

#include <QtGlobal>

#include <functional>
#include <vector>

// The source lines (columns or rows) that the raster coordinates 0..count-1 sample. Raster
// coordinates sample source lines in ascending order; each line is kept once, and each coordinate
// knows its line's position among those kept, so a line's values can be computed once however
// many raster points sample it.
struct SampledLines {
    std::vector<int> kept;
    std::vector<int> indexOf;

    static SampledLines of(qint64 count, const std::function<int(qint64)>& sourceOf);
};

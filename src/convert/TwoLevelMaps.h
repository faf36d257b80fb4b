#pragma once

#include "convert/ConversionInput.h"
#include "convert/GlyphColumns.h"
#include "convert/RunPreparation.h"

#include <algorithm>
#include <optional>

// A line ends at its 999th character, so no choice reads beyond 1000 of the widest characters:
// the row band needs no more columns. A wide, low picture at many lines would otherwise make a
// band of hundreds of millions of columns.
inline int bandReach(const PreparedRun& run, int maxWidth) {
    return static_cast<int>(std::min<qint64>(run.raster.colsPx, 1000LL * maxWidth));
}

// The glyph maps of every character of a two-level run that can be placed, laid out for
// scoring; nothing when they and the row band would not fit in memory. A long palette is drawn
// on several threads (threads: 0 for all processors), each with its own copy of the glyph source;
// the calling thread draws its share through the run's own source, which may stop the run.
std::optional<GlyphColumns> buildTwoLevelMaps(const ConversionInput& input, const PreparedRun& run,
                                              int maxWidth, int threads);

#pragma once

#include "convert/ConversionInput.h"
#include "convert/GlyphColumns.h"
#include "convert/RunPreparation.h"

#include <optional>

// The glyph maps of every character of a two-level run that can be placed, laid out for
// scoring; nothing when they and the row band would not fit in memory. A long palette is drawn
// on several threads (threads: 0 for all processors), each with its own copy of the glyph source;
// the calling thread draws its share through the run's own source, which may stop the run.
std::optional<GlyphColumns> buildTwoLevelMaps(const ConversionInput& input, const PreparedRun& run,
                                              int maxWidth, int threads);

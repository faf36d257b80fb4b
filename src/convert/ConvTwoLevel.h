#pragma once

#include "convert/ConversionInput.h"
#include "convert/RunServices.h"

// The two-level converter: each character is chosen by shape, its softened glyph map compared
// pixel by pixel with the tone-mapped picture under it. Reads TextTable2 and NitiGosa.
ConversionResult ConvTwoLevel(const ConversionInput& input, RunServices& services);

// The same with a number of threads: 0 spreads the rows over all processors when the run is
// large enough (what ConvTwoLevel does); 1 keeps the run on the calling thread, calling the
// services before every character. The text is the same either way.
ConversionResult ConvTwoLevelWithThreads(const ConversionInput& input, RunServices& services,
                                         int threads);

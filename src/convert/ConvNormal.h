#pragma once

#include "convert/ConversionInput.h"
#include "convert/RunServices.h"

// The normal converter: each character is chosen so that its measured brightness is closest to
// the brightness of the picture strip it covers. Reads TextTable1.
ConversionResult ConvNormal(const ConversionInput& input, RunServices& services);

// The same with a number of threads: 0 spreads the rows over all processors when the run is
// large enough (what ConvNormal does); 1 keeps the run on the calling thread, calling the services
// before every character. The text is the same either way.
ConversionResult ConvNormalWithThreads(const ConversionInput& input, RunServices& services,
                                       int threads);

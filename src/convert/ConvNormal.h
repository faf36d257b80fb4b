#pragma once

#include "convert/ConversionInput.h"
#include "convert/RunServices.h"

// The normal converter: each character is chosen so that its measured brightness is closest to
// the brightness of the picture strip it covers. Reads TextTable1.
ConversionResult ConvNormal(const ConversionInput& input, RunServices& services);

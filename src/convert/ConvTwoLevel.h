#pragma once

#include "convert/ConversionInput.h"
#include "convert/RunServices.h"

// The two-level converter: each character is chosen by shape, its softened glyph map compared
// pixel by pixel with the tone-mapped picture under it. Reads TextTable2 and NitiGosa.
//
// This is the straightforward loop, kept as the reference that faster versions must match.
ConversionResult ConvTwoLevel(const ConversionInput& input, RunServices& services);

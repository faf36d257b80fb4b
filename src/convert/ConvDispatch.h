#pragma once

#include "convert/ConversionInput.h"
#include "convert/RunServices.h"

// Runs the converter of the settings' ConvMode: 0 the normal one, 1 the two-level one. Any other
// mode runs nothing and says so (ConvOutcome::NotRun). Shared by the window and the headless
// converter.
ConversionResult ConvDispatch(const ConversionInput& input, RunServices& services);

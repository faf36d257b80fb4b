#include "convert/ConvDispatch.h"

#include "convert/ConvNormal.h"
#include "convert/ConvTwoLevel.h"

ConversionResult ConvDispatch(const ConversionInput& input, RunServices& services) {
    switch (input.settings.ConvMode) {
    case 0:
        return ConvNormal(input, services);
    case 1:
        return ConvTwoLevel(input, services);
    default: {
        ConversionResult result;
        result.outcome = ConvOutcome::NotRun;
        return result;
    }
    }
}

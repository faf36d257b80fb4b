#include "convert/ConvDispatch.h"

#include "convert/AbortPollingGlyphs.h"
#include "convert/ConvNormal.h"
#include "convert/ConvTwoLevel.h"

ConversionResult ConvDispatch(const ConversionInput& input, RunServices& services) {
    if (input.settings.ConvMode != 0 && input.settings.ConvMode != 1) {
        ConversionResult result;
        result.outcome = ConvOutcome::NotRun;
        return result;
    }
    const AbortPollingGlyphs glyphs(input.glyphs, services);
    const ConversionInput watched{input.settings, input.picture, input.selection, glyphs,
                                  input.levels};
    try {
        return input.settings.ConvMode == 0 ? ConvNormal(watched, services)
                                            : ConvTwoLevel(watched, services);
    } catch (const AbortPollingGlyphs::RunAborted&) {
        // The request is taken, as at any other abort.
        services.yieldAndCheckAbort();
        ConversionResult result;
        result.outcome = ConvOutcome::Aborted;
        return result;
    }
}

#include "convert/InputCheck.h"

#include "convert/RunMessages.h"
#include "platform/Numbers.h"

#include <cmath>

namespace InputCheck {

std::optional<QString> check(const QString& linesText, const QString& paletteText) {
    const std::optional<double> value = Numbers::parseNumeric(linesText);
    if (!value)
        return RunMessages::linesNotNumeric();
    const double lines = std::nearbyint(*value);
    if (lines > 999)
        return RunMessages::linesTooMany();
    if (lines < 1)
        return RunMessages::linesTooFew();
    if (paletteText.isEmpty())
        return RunMessages::paletteRequired();
    return std::nullopt;
}

qint16 linesValue(const QString& linesText) {
    return Numbers::parseInt16(linesText).value_or(0);
}

} // namespace InputCheck

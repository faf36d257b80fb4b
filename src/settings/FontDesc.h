#pragma once

#include "settings/FontChoice.h"

#include <QString>

// The one-line description of a font that heads the font dialog's sample, for example
// "ＭＳ Ｐゴシック12pt 行間2pt 太字": the size with at most four decimals, the line spacing (when
// not 0) in single precision, then the styles in a fixed order.
QString FontDesc(const FontChoice& font, double lineSpace);

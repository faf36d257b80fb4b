#pragma once

#include "convert/SettingsRecord.h"

#include <QFont>
#include <QString>

// One font setup for measuring, showing and rendering text art, so that what is measured is what
// is shown: a pixel size of round(FontSize x 96 / 72) whatever the screen's dpi, no smoothing
// (every pixel is ink or paper), and the Windows face names mapped to free fonts drawn to the
// same widths.
namespace FontSetup {

// Registers the substitutes of the Windows face names. Safe to call more than once; needs a
// QGuiApplication.
void installSubstitutions();

// The pixel size of a font of the given points at 96 dpi, at least 1.
int pixelSizeFor(double points);

// The text font of the settings record.
QFont textFont(const SettingsRecord& settings);

// The family that actually draws the font (after substitution and fallback).
QString resolvedFamily(const QFont& font);

} // namespace FontSetup

#pragma once

#include <QColor>
#include <QtGlobal>

// Colour references of the settings record as the desktop shows them: red in the lowest byte, or
// with the top bit set a system colour taken from the application palette. ImageColor stands for
// the picture's own colours; where no picture is at hand it shows as the button face.
namespace TextColors {

QColor resolve(qint32 colorRef);

} // namespace TextColors

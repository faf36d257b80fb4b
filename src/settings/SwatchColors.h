#pragma once

#include <QList>
#include <QtGlobal>

// The eleven colours the colour dialog offers for text and background, as colour references (red
// in the lowest byte; with the top bit set, a system colour).
namespace SwatchColors {

// Index 0..10: window background, button text, ImageColor, red, yellow, green, cyan, blue,
// magenta, white, black.
const QList<qint32>& references();

} // namespace SwatchColors

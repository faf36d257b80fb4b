#pragma once

#include <QColor>
#include <QList>
#include <QPalette>
#include <QtGlobal>

// The eleven colours the colour dialog offers for text and background, as colour references (red
// in the lowest byte; with the top bit set, a system colour), and how a reference looks on screen.
namespace SwatchColors {

// Index 0..10: window background, button text, ImageColor, red, yellow, green, cyan, blue,
// magenta, white, black.
const QList<qint32>& references();

// The colour a reference shows: system colours through the palette (5 Base, 18 ButtonText,
// 15 Button, 20 Light, 16 Dark; others the window colour), plain colours as they are.
QColor resolve(qint32 reference, const QPalette& palette);

} // namespace SwatchColors

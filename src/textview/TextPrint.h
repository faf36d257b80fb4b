#pragma once

#include <QPainter>
#include <QPointF>
#include <QString>

// Prints a multi-line text (lines separated by CR LF) with its top-left at a given position, in the
// painter's font and pen, each line a pitch below the one before: lineSpace points (at 96 dpi)
// plus the height of "M". The pitch keeps its fraction, unlike the text view's whole-pixel pitch,
// and an empty line prints nothing but still takes its place. The font dialog's sample uses it.
void TextPrint(QPainter& painter, const QPointF& position, const QString& text, double lineSpace);

// The pitch used by TextPrint for a font and line spacing, in pixels (single precision).
float TextPrintPitch(const QFont& font, double lineSpace);

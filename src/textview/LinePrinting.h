#pragma once

#include "textview/TextLayout.h"
#include "textview/WidthCache.h"

#include <QPainter>
#include <QString>
#include <QtGlobal>

// Printing of laid-out lines into a drawing box scrolled by an offset: which lines are visible,
// and of each line only the part from its first visible character on, so that a redraw never
// measures or draws more than the viewport holds.
namespace LinePrinting {

// The lines that cover the viewport at a vertical offset: line `first` is drawn at y0 (0 or
// above the top edge), and `count` lines fill the viewport's height.
struct VisibleLines {
    qint32 first = 0;
    qint32 count = 0;
    qint32 y0 = 0;
};
VisibleLines visibleLines(qint32 scrY, qint32 linePitch, qint32 viewHeight);

// The number of leading characters of line whose summed widths do not exceed width.
qint32 FitCount(const TextLayout& layout, WidthCache& cache, float width, const QString& line);

// The first character (from 1) of line visible at a horizontal offset, and the x at which it is
// drawn (at or left of 0); start 0 when nothing of the line is visible.
struct LineStartResult {
    qint32 start = 0;
    double x = 0;
};
LineStartResult LineStart(const TextLayout& layout, WidthCache& cache, qint32 offset,
                          const QString& line);

// Prints lines first .. first + count - 1 with the painter's pen and the layout's font, over what
// the box already holds (character cells are not filled).
void LinePrint(QPainter& box, const TextLayout& layout, WidthCache& cache, qint32 first,
               qint32 count, qint32 offset, qint32 y0);

} // namespace LinePrinting

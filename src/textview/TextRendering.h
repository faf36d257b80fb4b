#pragma once

#include "textview/LinePrinting.h"
#include "textview/TextLayout.h"
#include "textview/WidthCache.h"

#include <QImage>
#include <QPainter>
#include <QtGlobal>

// Drawing of the laid-out text in the record's colours: the visible part for the view, and the
// whole text as one bitmap for the clipboard and bitmap files. Text or background coloured with
// ImageColor show the selection picture stretched over the whole text area; the characters take
// its colours through an AND mask and an OR transfer, which relies on unsmoothed text (every pixel
// is exactly ink or paper).
namespace TextRendering {

// The largest bitmap PicDrawAll allocates, in bytes; a bigger one is reported as lack of memory.
constexpr qint64 MaxBitmapBytes = 1024LL * 1024 * 1024;

struct Colors {
    qint32 fore = 0;
    qint32 back = 0;
};

// Where the viewport lies over the text: the offsets and the viewport's inner size.
struct Viewport {
    qint32 scrX = 0;
    qint32 scrY = 0;
    qint32 width = 0;
    qint32 height = 0;
};

// True when picture colours can be painted with this selection picture.
bool hasPicture(const QImage& selection);

// Paints the part of src that lies under the viewport, as if src were stretched over the whole
// text, into dest at (0, 0) with the viewport's size, with the composition mode rop. A text of
// no width or height paints nothing.
void ImgPaint(QPainter& dest, const QImage& src, const TextLayout& layout, const Viewport& view,
              QPainter::CompositionMode rop);

// Draws the visible lines into box (sized by the caller) over its background; false when the
// work bitmap for picture-coloured text cannot be allocated. A box with a device pixel ratio
// above 1 gets the same drawing in finer pixels.
bool drawVisible(QImage& box, const TextLayout& layout, WidthCache& cache,
                 const LinePrinting::VisibleLines& lines, const Viewport& view,
                 const Colors& colors, const QImage& selection);

// Renders the whole text into result (TxtWidth x TxtHeight, RGB32): 0 when rendered, -2 when
// there is nothing to render, -1 when the bitmap cannot be allocated.
qint32 PicDrawAll(const TextLayout& layout, WidthCache& cache, const Colors& colors,
                  const QImage& selection, QImage& result);

} // namespace TextRendering

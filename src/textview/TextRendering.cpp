#include "textview/TextRendering.h"

#include "textview/TextColors.h"

#include "convert/SettingsRecord.h"

namespace TextRendering {

bool hasPicture(const QImage& selection) {
    return !selection.isNull() && selection.width() > 0 && selection.height() > 0;
}

void ImgPaint(QPainter& dest, const QImage& src, const TextLayout& layout, const Viewport& view,
              QPainter::CompositionMode rop) {
    if (layout.TxtWidth() <= 0 || layout.TxtHeight() <= 0 || !hasPicture(src))
        return;
    const double w = layout.TxtWidth();
    const double h = layout.TxtHeight();
    const QRectF source(static_cast<float>(view.scrX / w * src.width()),
                        static_cast<float>(view.scrY / h * src.height()),
                        static_cast<float>(view.width / w * src.width()),
                        static_cast<float>(view.height / h * src.height()));
    dest.save();
    dest.setCompositionMode(rop);
    dest.drawImage(QRectF(0, 0, view.width, view.height), src, source);
    dest.restore();
}

// The characters in the picture's colours: white text on black, ANDed with the picture, leaves
// the picture where the characters are; box gets black holes, and ORing the mask fills them.
static bool printInPictureColors(QImage& box, const TextLayout& layout, WidthCache& cache,
                                 const LinePrinting::VisibleLines& lines, const Viewport& view,
                                 const QImage& selection, bool clearBack, const QColor& back) {
    QImage data(box.size(), QImage::Format_RGB32);
    if (data.isNull())
        return false;
    data.setDevicePixelRatio(box.devicePixelRatio());
    data.fill(Qt::black);
    {
        QPainter p(&data);
        p.setPen(Qt::white);
        LinePrinting::LinePrint(p, layout, cache, lines.first, lines.count, view.scrX, lines.y0);
        ImgPaint(p, selection, layout, view, QPainter::RasterOp_SourceAndDestination);
    }
    if (clearBack)
        box.fill(back);
    QPainter p(&box);
    p.setPen(Qt::black);
    LinePrinting::LinePrint(p, layout, cache, lines.first, lines.count, view.scrX, lines.y0);
    p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    p.drawImage(0, 0, data);
    return true;
}

bool drawVisible(QImage& box, const TextLayout& layout, WidthCache& cache,
                 const LinePrinting::VisibleLines& lines, const Viewport& view,
                 const Colors& colors, const QImage& selection) {
    if (box.isNull())
        return false;
    const bool picture = hasPicture(selection);
    const bool backPicture = picture && colors.back == ColorRef::ImageColor;
    const bool forePicture = picture && colors.fore == ColorRef::ImageColor;
    const QColor back = TextColors::resolve(colors.back);
    if (backPicture) {
        QPainter p(&box);
        ImgPaint(p, selection, layout, view, QPainter::CompositionMode_Source);
    }
    if (forePicture)
        return printInPictureColors(box, layout, cache, lines, view, selection, !backPicture, back);
    if (!backPicture)
        box.fill(back);
    QPainter p(&box);
    p.setPen(TextColors::resolve(colors.fore));
    LinePrinting::LinePrint(p, layout, cache, lines.first, lines.count, view.scrX, lines.y0);
    return true;
}

qint32 PicDrawAll(const TextLayout& layout, WidthCache& cache, const Colors& colors,
                  const QImage& selection, QImage& result) {
    result = QImage();
    if (layout.LaidText().isEmpty() || layout.LineCount() <= 0)
        return -2;
    // A text of empty lines only has no width: there is no picture to make of it.
    if (layout.TxtWidth() < 1 || layout.TxtHeight() < 1)
        return -2;
    const bool forePicture = hasPicture(selection) && colors.fore == ColorRef::ImageColor;
    const qint64 bytes = static_cast<qint64>(layout.TxtWidth()) * layout.TxtHeight() * 4;
    if (bytes * (forePicture ? 2 : 1) > MaxBitmapBytes)
        return -1;
    QImage box(layout.TxtWidth(), layout.TxtHeight(), QImage::Format_RGB32);
    if (box.isNull())
        return -1;
    const LinePrinting::VisibleLines all{0, layout.LineCount(), 0};
    const Viewport whole{0, 0, layout.TxtWidth(), layout.TxtHeight()};
    if (!drawVisible(box, layout, cache, all, whole, colors, selection))
        return -1;
    result = box;
    return 0;
}

} // namespace TextRendering

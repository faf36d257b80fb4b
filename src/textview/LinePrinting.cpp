#include "textview/LinePrinting.h"

#include "platform/PathHelpers.h"

namespace LinePrinting {

VisibleLines visibleLines(qint32 scrY, qint32 linePitch, qint32 viewHeight) {
    VisibleLines v;
    if (linePitch < 1)
        return v;
    v.first = scrY / linePitch;
    v.count = PathHelpers::CeilDiv(viewHeight, linePitch);
    if (scrY % linePitch > 0)
        ++v.count;
    v.y0 = -(scrY % linePitch);
    return v;
}

qint32 FitCount(const TextLayout& layout, WidthCache& cache, float width, const QString& line) {
    float sum = 0;
    for (qsizetype k = 0; k < line.size(); ++k) {
        sum += cache.WidthOf(layout.metrics(), line.mid(k, 1));
        if (sum > width)
            return static_cast<qint32>(k);
    }
    return static_cast<qint32>(line.size());
}

LineStartResult LineStart(const TextLayout& layout, WidthCache& cache, qint32 offset,
                          const QString& line) {
    LineStartResult r;
    const qint32 n = FitCount(layout, cache, static_cast<float>(offset), line);
    if (n < line.size()) {
        r.x = layout.metrics().horizontalAdvance(line.left(n)) - offset;
        r.start = n + 1;
    }
    return r;
}

void LinePrint(QPainter& box, const TextLayout& layout, WidthCache& cache, qint32 first,
               qint32 count, qint32 offset, qint32 y0) {
    box.setFont(layout.font());
    const QStringList& lines = layout.Lines();
    for (qint32 i = 0; i < count; ++i) {
        const qint64 index = static_cast<qint64>(first) + i;
        if (index >= layout.LineCount())
            break;
        const QString& line = lines[static_cast<qsizetype>(index)];
        const LineStartResult s = LineStart(layout, cache, offset, line);
        if (s.start <= 0)
            continue;
        const double top = y0 + static_cast<double>(layout.LinePitch()) * i;
        box.drawText(QPointF(s.x, top + layout.ascent()), line.mid(s.start - 1));
    }
}

} // namespace LinePrinting

#include "textview/TextLayout.h"

#include "platform/Numbers.h"
#include "textview/LineSplit.h"

#include <algorithm>
#include <limits>

static qint32 toInt32(qint64 value) {
    return static_cast<qint32>(std::clamp<qint64>(value, std::numeric_limits<qint32>::min(),
                                                  std::numeric_limits<qint32>::max()));
}

TextLayout::TextLayout() : m_metrics(m_font) {}

void TextLayout::setFont(const QFont& font) {
    m_font = font;
    m_metrics = QFontMetricsF(font);
}

void TextLayout::TxtToPic(const QString& text, double lineSpace) {
    m_lineCount = LineSplit(text, m_lines);
    const double lineSpacePx = lineSpace * 96.0 / 72.0;
    m_linePitch = toInt32(Numbers::roundHalfEven(lineSpacePx + m_metrics.height()));
    m_laidText = text;
    double widest = 0;
    for (const QString& line : std::as_const(m_lines))
        widest = std::max(widest, m_metrics.horizontalAdvance(line));
    m_txtWidth = toInt32(Numbers::roundHalfEven(widest));
    m_txtHeight = toInt32(static_cast<qint64>(m_linePitch) * m_lineCount);
}

#pragma once

#include "convert/GlyphSource.h"

#include <QFont>
#include <QFontMetricsF>

// The measuring box with the text font: metrics from QFontMetricsF, characters drawn black on
// white without smoothing.
class FontGlyphs : public GlyphSource {
public:
    explicit FontGlyphs(const QFont& font);

    double textHeight(const QString& text) const override;
    double textWidth(const QString& text) const override;
    GlyphBitmap drawCharacter(const QString& character, int width, int height) const override;

    const QFont& font() const { return m_font; }

private:
    QFont m_font;
    QFontMetricsF m_metrics;
};

#pragma once

#include <QFont>
#include <QPointF>
#include <QRawFont>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

class QPainter;

// Single characters measured and drawn straight from the text font's own face, without laying
// the text out: Qt's layout costs more than drawing a small glyph, and it serialises threads on
// a process-wide lock. Used only where the layout provably gives the same glyph, advance and
// pixels: the face is the one Qt puts first for every script and holds the character, and it has
// no tables that could substitute or move a glyph; everything else goes through the layout.
class DirectGlyphs {
public:
    explicit DirectGlyphs(const QFont& font);

    // The face's glyph for a character that may be taken directly; 0 when the text layout must
    // handle it.
    quint32 glyphFor(const QString& character) const;

    // The advance width the text layout would give, when the character may be taken directly.
    std::optional<double> advance(const QString& character) const;

    // Draws the character with its baseline's left end at baseline, as QPainter::drawText would
    // with the text font; false (nothing drawn) when it must be drawn through the layout.
    bool draw(QPainter& painter, const QPointF& baseline, const QString& character) const;

    // Whether glyphs taken directly may be drawn several in one call, each as when drawn alone:
    // not when the font draws lines under or through the text, which would join them up.
    bool drawsTogether() const { return !m_underline && !m_strikeOut; }

    // How far left and right of its origin the glyph's ink reaches, in whole pixels, by the
    // face's own bounds of it.
    std::pair<int, int> inkSpan(quint32 glyph) const;

    // Draws the glyphs in one call, each with its origin at baseline + its position; only where
    // drawsTogether().
    void drawTogether(QPainter& painter, const QPointF& baseline,
                      const std::vector<quint32>& glyphs,
                      const std::vector<QPointF>& positions) const;

private:
    QRawFont m_face;
    bool m_usable = false;
    bool m_underline = false;
    bool m_strikeOut = false;
};

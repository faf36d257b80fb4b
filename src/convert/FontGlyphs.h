#pragma once

#include "convert/DirectGlyphs.h"
#include "convert/GlyphSource.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <memory>
#include <optional>

// The measuring box with the text font: metrics from QFontMetricsF, characters drawn black on
// white without smoothing. One box and one painter serve every character of a run (a painter
// costs more to set up than a small glyph to draw); each character is drawn into its own
// width x height corner of the box on a fresh white ground and only that corner is read, so it
// comes out as in a box of its own. So one FontGlyphs must not draw on two threads at once; a run
// uses it from one thread (helpers get copies). Characters the text font's face holds plainly are
// measured and drawn without a text layout (DirectGlyphs), with the same result; that face
// belongs to the thread that first used it, so a FontGlyphs is not used after that thread has
// ended (the desktop program makes one per run, on the run's thread).
class FontGlyphs : public GlyphSource {
public:
    explicit FontGlyphs(const QFont& font);
    ~FontGlyphs() override;
    FontGlyphs(const FontGlyphs&) = delete;
    FontGlyphs& operator=(const FontGlyphs&) = delete;

    double textHeight(const QString& text) const override;
    double textWidth(const QString& text) const override;
    GlyphBitmap drawCharacter(const QString& character, int width, int height) const override;
    qint64 strokeCount(const QString& character, int width, int height) const override;
    // Characters taken straight from the face are drawn side by side in one call, apart enough
    // that no glyph's ink reaches another's box: each Qt call to draw text locks a lock that all
    // threads share, and one call for many glyphs spares both the calls and the waits.
    void strokeCounts(const std::vector<StrokeBox>& boxes,
                      std::vector<qint64>& counts) const override;
    std::unique_ptr<GlyphSource> copyForThread() const override;

    const QFont& font() const { return m_font; }

private:
    // A box at least width x height, with the painter on it.
    void ensureBox(int width, int height) const;
    // Draws the character into the width x height corner of the box, which must not be empty.
    void drawIntoBox(const QString& character, int width, int height) const;
    // The strokes in the width x height part of the box from column left.
    qint64 countStrokes(int left, int width, int height) const;
    bool strokeAt(const QRgb* line, int x) const { return qBlue(line[x]) < 128; }
    // Made on the thread that uses this source, so that its face is that thread's.
    const DirectGlyphs& direct() const;

    QFont m_font;
    QFontMetricsF m_metrics;
    double m_ascent;
    double m_height;
    mutable std::optional<DirectGlyphs> m_direct;
    mutable QImage m_box;
    mutable std::unique_ptr<QPainter> m_painter;
    // strokeCounts' room, kept from call to call.
    mutable std::vector<size_t> m_together;
    mutable std::vector<quint32> m_glyphs;
    mutable std::vector<QPointF> m_positions;
};

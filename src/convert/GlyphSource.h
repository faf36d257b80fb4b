#pragma once

#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <memory>
#include <vector>

// One character drawn at its top-left into a box: true where a stroke of the glyph landed.
struct GlyphBitmap {
    int width = 0;
    int height = 0;
    std::vector<quint8> stroke;

    bool at(int x, int y) const { return stroke[static_cast<size_t>(y) * width + x] != 0; }
};

// A character to be counted in a width x height box of its own.
struct StrokeBox {
    const QString* character = nullptr;
    int width = 0;
    int height = 0;
};

// The measuring box: text metrics in pixels and single characters drawn as plain two-level
// bitmaps. The real one draws with the text font; tests use small hand-made ones.
class GlyphSource {
public:
    virtual ~GlyphSource() = default;
    // Height of one line of text, in pixels.
    virtual double textHeight(const QString& text) const = 0;
    // Advance width of the text, in pixels.
    virtual double textWidth(const QString& text) const = 0;
    // Points to pixels of the measuring box (96 per inch).
    virtual double pointsToPixels(double points) const { return points * 96.0 / 72.0; }
    // The character drawn with its top-left corner at (0, 0) into a width x height box.
    virtual GlyphBitmap drawCharacter(const QString& character, int width, int height) const = 0;
    // How many pixels of the character, drawn as drawCharacter draws it, are strokes.
    virtual qint64 strokeCount(const QString& character, int width, int height) const {
        const GlyphBitmap glyph = drawCharacter(character, width, height);
        return std::count_if(glyph.stroke.begin(), glyph.stroke.end(),
                             [](quint8 stroke) { return stroke != 0; });
    }
    // strokeCount for several characters at once, into counts (one per box); a source may draw
    // them together.
    virtual void strokeCounts(const std::vector<StrokeBox>& boxes,
                              std::vector<qint64>& counts) const {
        counts.clear();
        for (const StrokeBox& box : boxes)
            counts.push_back(strokeCount(*box.character, box.width, box.height));
    }
    // A source that draws the same glyphs on another thread at the same time as this one; none
    // when this one cannot be shared.
    virtual std::unique_ptr<GlyphSource> copyForThread() const { return nullptr; }
};

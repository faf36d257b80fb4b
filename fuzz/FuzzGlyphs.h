#pragma once

#include "convert/GlyphSource.h"

#include <QString>

// A measuring box that knows every character without a font: a glyph's width (0 to 3 pixels)
// and its strokes follow from the character's code, so fuzzed palettes of any characters reach
// the converters quickly and the same input always gives the same run.
class FuzzGlyphs : public GlyphSource {
public:
    double textHeight(const QString&) const override { return 4; }

    double textWidth(const QString& text) const override {
        double width = 0;
        for (const QChar c : text)
            width += c.unicode() % 4;
        return width;
    }

    GlyphBitmap drawCharacter(const QString& character, int width, int height) const override {
        GlyphBitmap glyph;
        glyph.width = width;
        glyph.height = height;
        glyph.stroke.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
        const unsigned code = character.isEmpty() ? 0u : character.at(0).unicode();
        for (size_t i = 0; i < glyph.stroke.size(); ++i)
            glyph.stroke[i] = static_cast<quint8>((code >> (i % 16)) & 1u);
        return glyph;
    }
};

#pragma once

#include "convert/GlyphSource.h"

#include <QHash>
#include <QString>
#include <QStringList>

// A measuring box with hand-drawn glyphs for tests: each character is given as rows of '#'
// (stroke) and '.' (paper), all rows of one character equally long. Every glyph has the same
// height, the line height of this little font.
class HandGlyphs : public GlyphSource {
public:
    explicit HandGlyphs(int lineHeight) : m_lineHeight(lineHeight) {}

    // rows: top to bottom; fewer rows than the line height leave paper below.
    void add(const QString& character, const QStringList& rows) {
        m_glyphs.insert(character, rows);
    }
    // A character of the given width with no strokes at all.
    void addBlank(const QString& character, int width) {
        m_glyphs.insert(character, QStringList(m_lineHeight, QString(width, u'.')));
    }

    double textHeight(const QString&) const override { return m_lineHeight; }

    double textWidth(const QString& text) const override {
        double width = 0;
        for (const QChar c : text)
            width += m_glyphs.value(QString(c)).value(0).size();
        return width;
    }

    GlyphBitmap drawCharacter(const QString& character, int width, int height) const override {
        GlyphBitmap glyph;
        glyph.width = width;
        glyph.height = height;
        glyph.stroke.assign(static_cast<size_t>(width) * height, 0);
        const QStringList rows = m_glyphs.value(character);
        for (int y = 0; y < height && y < rows.size(); ++y)
            for (int x = 0; x < width && x < rows[y].size(); ++x)
                glyph.stroke[static_cast<size_t>(y) * width + x] = rows[y][x] == u'#' ? 1 : 0;
        return glyph;
    }

private:
    int m_lineHeight;
    QHash<QString, QStringList> m_glyphs;
};

// Rows of '#' and '.' written as one string, separated by '/': rows("#./..").
inline QStringList rows(const char* text) {
    return QString::fromLatin1(text).split(u'/');
}

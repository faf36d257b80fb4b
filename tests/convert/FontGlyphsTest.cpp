// The measuring box draws every character of a run in one reused box; each must come out exactly
// as when drawn alone in a box of its own size, and its stroke count must count those strokes.

#include "convert/FontGlyphs.h"
#include "convert/FontSetup.h"
#include "convert/SettingsRecord.h"
#include "convert/TblExpand.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTest>

namespace {

const char* const monapoPath = "/usr/share/fonts/truetype/monapo/monapo.ttf";

// The character drawn alone into a fresh width x height box: true where a stroke landed.
std::vector<quint8> drawnAlone(const QFont& font, const QString& c, int width, int height) {
    QImage box(width, height, QImage::Format_RGB32);
    box.fill(Qt::white);
    {
        QPainter painter(&box);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(0, QFontMetricsF(font).ascent()), c);
    }
    std::vector<quint8> stroke;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            stroke.push_back(qBlue(box.pixel(x, y)) < 128 ? 1 : 0);
    return stroke;
}

} // namespace

class FontGlyphsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void reusedBoxDrawsAsAFreshOne_data();
    void reusedBoxDrawsAsAFreshOne();
};

void FontGlyphsTest::initTestCase() {
    if (QFontDatabase::addApplicationFont(QString::fromLatin1(monapoPath)) < 0)
        QFAIL(qPrintable(QStringLiteral("the font %1 is missing (Debian package fonts-monapo)")
                             .arg(QString::fromLatin1(monapoPath))));
    FontSetup::installSubstitutions();
}

void FontGlyphsTest::reusedBoxDrawsAsAFreshOne_data() {
    QTest::addColumn<bool>("italic");
    QTest::newRow("upright") << false;
    // Slanted glyphs ink past their advance, into where a wider next box lies.
    QTest::newRow("italic") << true;
}

void FontGlyphsTest::reusedBoxDrawsAsAFreshOne() {
    QFETCH(bool, italic);
    SettingsRecord settings;
    settings.FontItalic = italic;
    const QFont font = FontSetup::textFont(settings);
    const FontGlyphs glyphs(font);
    QStringList characters = TblExpand(QStringLiteral(" --~")).mid(0, 95);
    characters += TblExpand(QStringLiteral("亜--院"));
    characters += TblExpand(SettingsRecord::defaultTextTable2());
    characters += QStringLiteral("W");
    int checked = 0;
    int inked = 0;
    // Boxes of the glyph's own width, narrower (cut at the right) and wider, and taller ones
    // later, so that the reused box must grow.
    for (const int extraHeight : {0, 5}) {
        for (const int extraWidth : {0, -2, 3}) {
            for (const QString& c : std::as_const(characters)) {
                const int width = qMax(1, qRound(glyphs.textWidth(c)) + extraWidth);
                const int height = qRound(glyphs.textHeight(c)) + extraHeight;
                const GlyphBitmap reused = glyphs.drawCharacter(c, width, height);
                const std::vector<quint8> alone = drawnAlone(font, c, width, height);
                if (reused.stroke != alone)
                    QFAIL(qPrintable(
                        QStringLiteral("%1 in %2 x %3 differs").arg(c).arg(width).arg(height)));
                if (glyphs.strokeCount(c, width, height) !=
                    std::count(alone.begin(), alone.end(), 1))
                    QFAIL(qPrintable(QStringLiteral("%1 in %2 x %3 counts wrong")
                                         .arg(c)
                                         .arg(width)
                                         .arg(height)));
                inked += std::count(alone.begin(), alone.end(), 1) > 0 ? 1 : 0;
                ++checked;
            }
        }
    }
    QVERIFY(inked > checked / 2); // the comparison saw real glyphs, not empty boxes
}

QTEST_MAIN(FontGlyphsTest)
#include "FontGlyphsTest.moc"

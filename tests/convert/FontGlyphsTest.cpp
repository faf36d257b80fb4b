// The measuring box draws every character of a run in one reused box; each must come out exactly
// as when drawn alone in a box of its own size, and its stroke count must count those strokes.
// Characters it takes straight from the face must measure and draw exactly as through Qt's text
// layout, and count the same when it draws many of them side by side in one call.

#include "convert/FontGlyphs.h"
#include "convert/DirectGlyphs.h"
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
const char* const monaPath = "/usr/share/fonts/truetype/mona/mona.ttf";
const char* const ipaPath = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf";

// Every character a Shift-JIS palette can hold: ASCII, the half-width kana and the double-byte
// characters.
QStringList shiftJisRepertoire() {
    return TblExpand(QStringLiteral(" --~")) + TblExpand(QStringLiteral("｡--ﾟ")) +
           TblExpand(QStringLiteral("　--熙"));
}

// The text font of the settings these faces, sizes and styles give.
QFont textFont(double points, bool slanted = false, bool underlined = false, bool struckOut = false,
               const QString& family = QStringLiteral("ＭＳ Ｐゴシック")) {
    SettingsRecord settings;
    settings.FontName = family;
    settings.FontSize = points;
    settings.FontBold = settings.FontItalic = slanted;
    settings.FontUnderline = underlined;
    settings.FontStrikethrough = struckOut;
    return FontSetup::textFont(settings);
}

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

QString codeOf(const QString& c) {
    return QStringLiteral("U+%1").arg(c.front().unicode(), 4, 16, QLatin1Char('0'));
}

} // namespace

class FontGlyphsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        for (const char* path : {monapoPath, monaPath, ipaPath})
            if (QFontDatabase::addApplicationFont(QString::fromLatin1(path)) < 0)
                QFAIL(qPrintable(
                    QStringLiteral("the font %1 is missing (Debian packages fonts-monapo, "
                                   "fonts-mona, fonts-ipafont-gothic)")
                        .arg(QString::fromLatin1(path))));
        FontSetup::installSubstitutions();
    }

    void reusedBoxDrawsAsAFreshOne() {
        QStringList characters = TblExpand(QStringLiteral(" --~")).mid(0, 95);
        characters += TblExpand(QStringLiteral("亜--院"));
        characters += TblExpand(SettingsRecord::defaultTextTable2());
        characters += QStringLiteral("W");
        // Upright, and slanted: slanted glyphs ink past their advance, into where a wider next box
        // lies.
        for (const bool italic : {false, true}) {
            SettingsRecord settings;
            settings.FontItalic = italic;
            const QFont font = FontSetup::textFont(settings);
            const FontGlyphs glyphs(font);
            int checked = 0;
            int inked = 0;
            // Boxes of the glyph's own width, narrower (cut at the right) and wider, and taller
            // ones later, so that the reused box must grow.
            for (const int extraHeight : {0, 5}) {
                for (const int extraWidth : {0, -2, 3}) {
                    for (const QString& c : std::as_const(characters)) {
                        const int width = qMax(1, qRound(glyphs.textWidth(c)) + extraWidth);
                        const int height = qRound(glyphs.textHeight(c)) + extraHeight;
                        const std::vector<quint8> alone = drawnAlone(font, c, width, height);
                        if (glyphs.drawCharacter(c, width, height).stroke != alone ||
                            glyphs.strokeCount(c, width, height) !=
                                std::count(alone.begin(), alone.end(), 1))
                            QFAIL(qPrintable(QStringLiteral("%1 in %2 x %3, italic %4, differs")
                                                 .arg(c)
                                                 .arg(width)
                                                 .arg(height)
                                                 .arg(italic)));
                        inked += std::count(alone.begin(), alone.end(), 1) > 0 ? 1 : 0;
                        ++checked;
                    }
                }
            }
            QVERIFY(inked > checked / 2); // the comparison saw real glyphs, not empty boxes
        }
    }

    void directGlyphsMatchTheTextLayout_data() {
        QTest::addColumn<QFont>("font");
        QTest::newRow("default font") << textFont(12);
        // Synthetic bold and slant, and the lines the run draws itself.
        QTest::newRow("bold italic underlined struck out") << textFont(12, true, true, true);
        QTest::newRow("small") << textFont(7);
        QTest::newRow("another face") << textFont(12, false, false, false, QStringLiteral("Mona"));
    }

    void directGlyphsMatchTheTextLayout() {
        QFETCH(QFont, font);
        const FontGlyphs glyphs(font);
        const DirectGlyphs direct(font);
        const QFontMetricsF metrics(font);
        const QStringList characters = shiftJisRepertoire();
        int taken = 0;
        for (const QString& c : characters) {
            taken += direct.glyphFor(c) != 0 ? 1 : 0;
            const double width = glyphs.textWidth(c);
            if (width != metrics.horizontalAdvance(c))
                QFAIL(qPrintable(QStringLiteral("%1 is %2 wide, the layout says %3")
                                     .arg(codeOf(c))
                                     .arg(width)
                                     .arg(metrics.horizontalAdvance(c))));
            const int w = qMax(1, qRound(width));
            const int h = qRound(glyphs.textHeight(c));
            if (glyphs.drawCharacter(c, w, h).stroke != drawnAlone(font, c, w, h))
                QFAIL(qPrintable(codeOf(c) + QStringLiteral(" is drawn differently")));
        }
        // The comparison covered the direct way: most of the repertoire is in these faces.
        QVERIFY2(taken > characters.size() * 3 / 4, qPrintable(QString::number(taken)));
    }

    void directGlyphsLeaveTheRestToTheLayout() {
        const QFont font = FontSetup::textFont(SettingsRecord{});
        const DirectGlyphs direct(font);
        QVERIFY(direct.glyphFor(QStringLiteral("亜")) != 0);
        QVERIFY(direct.glyphFor(QStringLiteral(" ")) != 0);
        // Characters the face has that the layout treats specially (a tab stop, other spaces), and
        // anything but one character, are the layout's, as is a kanji the face lacks.
        for (const QString& c :
             {QStringLiteral("\t"), QStringLiteral("\u00a0"), QStringLiteral("\u2002"),
              QStringLiteral("ab"), QString(), QStringLiteral("\u3400")})
            QCOMPARE(direct.glyphFor(c), 0u);

        // Font settings the layout applies, a face with shaping tables, and no font merging; letter
        // spacing of 100 % changes nothing.
        const auto directFor = [&](const std::function<void(QFont&)>& change) {
            QFont changed(font);
            change(changed);
            return DirectGlyphs(changed).glyphFor(QStringLiteral("亜"));
        };
        QCOMPARE(directFor([](QFont& f) { f.setLetterSpacing(QFont::AbsoluteSpacing, 1); }), 0u);
        QCOMPARE(directFor([](QFont& f) { f.setWordSpacing(2); }), 0u);
        QCOMPARE(directFor([](QFont& f) { f.setCapitalization(QFont::AllUppercase); }), 0u);
        QCOMPARE(directFor([](QFont& f) { f.setStretch(QFont::Expanded); }), 0u);
        QCOMPARE(directFor([](QFont& f) { f.setOverline(true); }), 0u);
        QCOMPARE(directFor([](QFont& f) {
                     f.setStyleStrategy(
                         QFont::StyleStrategy(f.styleStrategy() | QFont::NoFontMerging));
                 }),
                 0u);
        QCOMPARE(directFor([](QFont& f) { f.setFamily(QStringLiteral("IPAPGothic")); }), 0u);
        QVERIFY(directFor([](QFont& f) { f.setLetterSpacing(QFont::PercentageSpacing, 100); }) !=
                0);
    }

    void countsTogetherAsAlone_data() {
        QTest::addColumn<QFont>("font");
        QTest::addColumn<int>("every"); // every how manyth character of the repertoire is counted
        QTest::newRow("default font") << textFont(12) << 1;
        // Synthetic bold and slant: ink past the advance, towards the next cell.
        QTest::newRow("bold italic") << textFont(12, true) << 1;
        QTest::newRow("large") << textFont(40, true) << 1;
        QTest::newRow("small") << textFont(7) << 1;
        QTest::newRow("another face")
            << textFont(12, false, false, false, QStringLiteral("Mona")) << 1;
        // The lines would run from one character to the next: each is drawn alone.
        QTest::newRow("underlined") << textFont(12, false, true) << 1;
        // A row of such glyphs would take too much memory: each is drawn alone.
        QTest::newRow("huge") << textFont(300) << 97;
    }

    void countsTogetherAsAlone() {
        QFETCH(QFont, font);
        QFETCH(int, every);
        const FontGlyphs glyphs(font);
        QStringList characters;
        const QStringList repertoire = shiftJisRepertoire();
        for (qsizetype i = 0; i < repertoire.size(); i += every)
            characters += repertoire[i];
        const int height = qRound(glyphs.textHeight(QString()));
        // Boxes of each glyph's own width (half- and full-width ones side by side), and boxes one
        // pixel wide, where the ink of a kanji reaches past its neighbours' boxes unless drawn
        // alone.
        for (const bool narrow : {false, true}) {
            std::vector<StrokeBox> boxes;
            std::vector<qint64> counts;
            qint64 inked = 0;
            for (qsizetype first = 0; first < characters.size(); first += 16) {
                boxes.clear();
                for (qsizetype i = first; i < std::min(first + 16, characters.size()); ++i) {
                    const int width = narrow ? 1 : qMax(1, qRound(glyphs.textWidth(characters[i])));
                    boxes.push_back({&characters[i], width, height});
                }
                glyphs.strokeCounts(boxes, counts);
                QCOMPARE(counts.size(), boxes.size());
                for (size_t j = 0; j < boxes.size(); ++j) {
                    const std::vector<quint8> alone =
                        drawnAlone(font, *boxes[j].character, boxes[j].width, height);
                    const qint64 aloneCount = std::count(alone.begin(), alone.end(), 1);
                    if (counts[j] != aloneCount)
                        QFAIL(qPrintable(QStringLiteral("%1 in %2 x %3 counts %4, alone %5")
                                             .arg(codeOf(*boxes[j].character))
                                             .arg(boxes[j].width)
                                             .arg(height)
                                             .arg(counts[j])
                                             .arg(aloneCount)));
                    inked += counts[j] > 0 ? 1 : 0;
                }
            }
            if (!narrow)
                QVERIFY(inked > characters.size() / 2); // real glyphs, not empty boxes
        }
    }
};

QTEST_MAIN(FontGlyphsTest)
#include "FontGlyphsTest.moc"

// The two-level converter on hand-drawn glyphs and small pictures whose raster maps 1:1 onto
// their pixels (LsConv 0 and no line space: colsPx = width, RowHeight = the glyph height).

#include "convert/ConvTwoLevel.h"
#include "common/HandGlyphs.h"
#include "common/RecordingServices.h"
#include "convert/GlyphMaps.h"
#include "convert/RunMessages.h"
#include "convert/RunPreparation.h"

#include <QImage>
#include <QTest>

#include <vector>

namespace {

// A picture from rows of '#' (black) and '.' (white).
QImage pictureOf(const QStringList& rows) {
    QImage image(static_cast<int>(rows.first().size()), static_cast<int>(rows.size()),
                 QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, rows[y][x] == u'#' ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    return image;
}

QImage plain(int width, int height, bool black = false) {
    return pictureOf(QStringList(height, QString(width, black ? u'#' : u'.')));
}

// Glyphs of the given height from characters and their rows (see rows()) in turn; a character not
// given has no glyph and width 0.
HandGlyphs glyphsOf(int height, std::initializer_list<const char*> chars) {
    HandGlyphs glyphs(height);
    for (auto c = chars.begin(); c != chars.end(); c += 2)
        glyphs.add(QString::fromUtf8(c[0]), rows(c[1]));
    return glyphs;
}

// Glyphs two pixels high: blanks and blocks of several widths, and a few shapes.
const HandGlyphs smallGlyphs =
    glyphsOf(2, {" ", "..", "a", ".", "b", ".", "c", "..", "d", "#./..", "#", "##/##", "i", "#/#"});
const HandGlyphs onePixel = glyphsOf(1, {"a", "."});

struct Run {
    QString palette;
    int lines = 1;
    bool reversed = false;
    double lineSpace = 0;
    double nitiGosa = 0.2;
    int lsConv = 0;

    SettingsRecord settings() const {
        SettingsRecord settings;
        settings.ConvMode = 1;
        settings.TextTable2 = palette;
        settings.TextLines = static_cast<qint16>(lines);
        settings.RvFlg = reversed;
        settings.LsConv = static_cast<qint16>(lsConv);
        settings.LineSpace = lineSpace;
        settings.NitiGosa = nitiGosa;
        return settings;
    }
};

ConversionResult convert(const Run& run, const QImage* picture, const GlyphSource& glyphs,
                         RecordingServices& services) {
    return ConvTwoLevel({run.settings(), picture, {}, glyphs, {0, 255}}, services);
}

// The text of a run that must hand off.
QString text(const Run& run, const QImage& picture, const GlyphSource& glyphs) {
    RecordingServices services;
    if (convert(run, &picture, glyphs, services).outcome != ConvOutcome::HandedOff)
        return QStringLiteral("(not handed off)");
    return services.text;
}

QString lines(const QStringList& rows) {
    return rows.join(QStringLiteral("\r\n"));
}

} // namespace

class ConvTwoLevelTest : public QObject {
    Q_OBJECT

private slots:
    void plainPictures() {
        // 11 columns, widest character 2: places at x = 0, 2, 4, 6, 8.
        const QString blanks = lines({QStringLiteral("     "), QStringLiteral("     ")});
        const QString blocks = lines({QStringLiteral("#####"), QStringLiteral("#####")});
        // black, reversed, line space and the text
        for (const auto& [black, reversed, lineSpace, expected] : {
                 std::tuple{false, false, 0.0, blanks}, // blank on white
                 {true, true, 0.0, blanks},             // blank reversed on black
                 {true, false, 0.0, blocks},            // block on black
                 // Reversed, the blank is all ink and the block's strokes are paper: the block
                 // matches white.
                 {false, true, 0.0, blocks},
                 // 1.5 points = 2 pixels below every glyph, counted as ink for every candidate
                 // alike.
                 {false, false, 1.5, blanks},
             }) {
            const int rowHeight = 2 + static_cast<int>(lineSpace * 96 / 72);
            QCOMPARE(text({u" d#"_qs, 2, reversed, lineSpace}, plain(11, 2 * rowHeight, black),
                          smallGlyphs),
                     expected);
        }
    }

    void ties() {
        // White picture 10 columns wide: every blank scores exactly 0. The palette and the text.
        for (const auto& [palette, expected] : {
                 std::pair{u"ac"_qs, u"cccc"_qs}, // wider wins
                 {u"ca"_qs, u"cccc"_qs},          // wider first stays
                 {u"ab"_qs, QString(9, u'a')},    // same width: the earlier
                 {u"ba"_qs, QString(9, u'b')},    // same width: the earlier, swapped
                 {u" c"_qs, u"    "_qs},          // same width and score: the earlier
                 {u"bab"_qs, QString(9, u'b')},   // a duplicate taken at its first place
                 // A smaller score beats a wider character: d has one ink pixel, a none.
                 {u"da"_qs, QString(8, u'a')},
             })
            QCOMPARE(text({palette}, plain(10, 2), smallGlyphs), expected);
    }

    void tiesAtTheEdgesOfTheBound() {
        // Each place is a black column beside a white one (mean 0.5). "p", the white column beside
        // the black one, has the same mean and is scored first: 1. "q" (all ink, mean 0) and "s"
        // (blank, mean 1) both score 0.5, exactly their distance from the place's mean, so they are
        // the farthest candidates the bound lets through, one on either side; the earlier wins.
        const HandGlyphs glyphs = glyphsOf(2, {"p", ".#/.#", "q", "##/##", "s", ".."});
        const QImage picture = pictureOf(rows("#.#../#.#.."));
        QCOMPARE(text({u"pqs"_qs}, picture, glyphs), u"qq"_qs);
        QCOMPARE(text({u"psq"_qs}, picture, glyphs), u"ss"_qs);
    }

    void duplicatesChangeNothing() {
        const QImage picture =
            pictureOf(rows("#..##.#...##.#/#..##..#..#..#/..#..#.#.##.../.##..#.#..##.."));
        const QString once = text({u"ad#i "_qs, 2}, picture, smallGlyphs);
        QVERIFY(!once.startsWith(u'('));
        QCOMPARE(text({u"ad#i #ad"_qs, 2}, picture, smallGlyphs), once);
    }

    void shapes() {
        // Characters 3 wide, 10 columns: places at x = 0, 3, 6.
        const HandGlyphs glyphs = glyphsOf(3, {" ", "...", "|", ".#./.#./.#.", "-", ".../###"});
        const auto shapes = [&](const char* picture) {
            return text({u" |-"_qs}, pictureOf(rows(picture)), glyphs);
        };
        QCOMPARE(shapes(".#..#..#../.#..#..#../.#..#..#.."), u"|||"_qs);
        QCOMPARE(shapes("........../##########/.........."), u"---"_qs);
        QCOMPARE(shapes("....#...../###.#...../....#....."), u"-| "_qs);
    }

    void rightEndStaysFree() {
        // The widest character (3) must fit with a pixel to spare: x + 3 < colsPx. Below and at
        // MaxWidth no place is left; 4 columns leave one place, 6 three.
        const HandGlyphs glyphs = glyphsOf(1, {"a", ".", "#", "###"});
        for (const auto& [width, line] :
             {std::pair{2, u""_qs}, {3, u""_qs}, {4, u"a"_qs}, {6, u"aaa"_qs}})
            QCOMPARE(text({u"a#"_qs, 3}, plain(width, 3), glyphs), lines({line, line, line}));
    }

    void unusablePalettes() {
        // z has no glyph at all: width 0, never a candidate.
        const HandGlyphs glyphs = glyphsOf(1, {"a", ".", "#", "#"});
        const QImage picture = plain(4, 1);
        for (const QString& palette : {u"za"_qs, u"#za"_qs}) {
            RecordingServices services;
            QCOMPARE(convert({palette}, &picture, glyphs, services).outcome,
                     ConvOutcome::HandedOff);
            QCOMPARE(services.text, u"aaa"_qs);
            QVERIFY(services.messages.isEmpty());
        }
        // Only width 0, and a palette that expands to nothing.
        for (const QString& palette : {u"zz"_qs, u"--"_qs}) {
            RecordingServices services;
            QCOMPARE(convert({palette}, &picture, glyphs, services).outcome,
                     ConvOutcome::EmptyPalette);
            QCOMPARE(services.messages, QStringList{RunMessages::paletteHasNoUsableCharacter()});
            QVERIFY(!services.handedOff);
        }
    }

    void negativeLineSpace() {
        // Glyphs 4 high, line space -1.5 points = -2 pixels: rows of 2 raster rows, which compare
        // only the glyphs' top two rows. NitiGosa 0: T matches a black row over a white one
        // exactly.
        const HandGlyphs glyphs = glyphsOf(4, {" ", "..", "T", "##/../../..", "_", "../../../##"});
        const QImage picture = pictureOf(rows("########/......../########/........"));
        QCOMPARE(text({u" _T"_qs, 2, false, -1.5, 0}, picture, glyphs),
                 lines({u"TTT"_qs, u"TTT"_qs}));
    }

    void gapBelowGlyphIsInk() {
        // Glyphs 3 high. Row h + 1 of a map is its border (paper); rows below it are ink.
        const HandGlyphs glyphs = glyphsOf(3, {"a", ".."});
        const QImage picture = plain(10, 10);
        // LsConv, line space, RowHeight and the score of the blank on white
        for (const auto& [lsConv, lineSpace, rowHeight, blankOnWhite] : {
                 std::tuple{0, 0.0, 3, 0.0}, // no line space
                 {0, 0.75, 4, 0.0},          // 1 pixel: the border row
                 {0, 1.5, 5, 1.0 / 5},       // 2 pixels: one row of ink
                 {0, 2.25, 6, 2.0 / 6},      // 3 pixels: two rows of ink
                 {1, 2.25, 3, 0.0},          // the line space interpolated
             }) {
            const SettingsRecord settings =
                Run{u"a"_qs, 1, false, lineSpace, 0.2, lsConv}.settings();
            RecordingServices services;
            PreparedRun prepared;
            QVERIFY(!prepareRun({settings, &picture, {}, glyphs, {0, 255}}, settings.TextTable2,
                                services, prepared, 1));
            QCOMPARE(prepared.rowHeight, rowHeight);
            GlyphMaps maps(1, 2, 3, prepared.rowHeight);
            maps.fill(0, glyphs.drawCharacter(QStringLiteral("a"), 2, 3), false, 0.2);
            const std::vector<double> white(static_cast<size_t>(2 * rowHeight), 1.0);
            QCOMPARE(maps.score(0, 2, white.data(), 2, 0), blankOnWhite);
        }
    }

    void cut999() {
        // Widest character 1: a line of colsPx columns has colsPx - 1 places. 999 places ask
        // nothing; 1000 or more ask once, and OK cuts every line to 999, Cancel ends the run.
        for (const auto& [width, answer, asked] : {std::tuple{1000, true, false},
                                                   {1001, true, true},
                                                   {1500, true, true},
                                                   {1001, false, true}}) {
            RecordingServices services;
            services.answer999 = answer;
            const QImage picture = plain(width, 3);
            const ConversionResult result = convert({u"a"_qs, 3}, &picture, onePixel, services);
            QCOMPARE(services.questions999, asked ? 1 : 0);
            QCOMPARE(result.outcome, answer ? ConvOutcome::HandedOff : ConvOutcome::Cancelled999);
            QCOMPARE(services.handedOff, answer);
            if (answer)
                QCOMPARE(services.text, QStringList(3, QString(999, u'a')).join(u"\r\n"_qs));
        }
    }

    void progressOnlyWhenItChanges() {
        // 2 lines, 4 columns, widest character 1: places at x = 0, 1, 2 on each line, so
        // pct = floor((x / 4 + r) / 2 x 100) = 0, 12, 25 and 50, 62, 75.
        RecordingServices services;
        const QImage picture = plain(4, 2);
        convert({u"a"_qs, 2}, &picture, onePixel, services);
        QCOMPARE(services.preparingShown, 1);
        QCOMPARE(services.percents, (QList<int>{0, 12, 25, 50, 62, 75}));
        QCOMPARE(services.yields, 1 + 6);

        // 1 line, 300 columns: 299 places but only the percentages 0..99 are shown, each once.
        RecordingServices many;
        const QImage wide = plain(300, 1);
        convert({u"a"_qs}, &wide, onePixel, many);
        QCOMPARE(many.yields, 1 + 299);
        QCOMPARE(many.percents.size(), 100);
        for (int i = 0; i < 100; ++i)
            QCOMPARE(many.percents[i], i);
    }

    void abortBeforeACharacter() {
        RecordingServices services;
        services.abortAfterYields = 3; // "準備中", then two characters, then the abort
        const QImage picture = plain(4, 2);
        QCOMPARE(convert({u"a"_qs, 2}, &picture, onePixel, services).outcome, ConvOutcome::Aborted);
        QCOMPARE(services.yields, 4);
        QVERIFY(!services.handedOff);
    }

    void noPicture() {
        RecordingServices services;
        QCOMPARE(convert({u"a"_qs, 2}, nullptr, onePixel, services).outcome,
                 ConvOutcome::EmptyText);
        QVERIFY(services.handedOff);
        QCOMPARE(services.text, QString());
    }

    void tooLargeIsRefused() {
        // Eight characters 3000 pixels square would need 8 x 3003 x 3003 doubles of glyph maps.
        HandGlyphs glyphs(3000);
        const QString palette = QStringLiteral("abcdefgh");
        for (const QChar c : palette)
            glyphs.add(QString(c), {QString(3000, u'.')});
        RecordingServices services;
        const QImage picture = plain(10, 10);
        QCOMPARE(convert({palette}, &picture, glyphs, services).outcome, ConvOutcome::TooLarge);
        QCOMPARE(services.messages, QStringList{RunMessages::glyphsTooLarge()});
        QVERIFY(!services.handedOff);
    }
};

QTEST_APPLESS_MAIN(ConvTwoLevelTest)
#include "ConvTwoLevelTest.moc"

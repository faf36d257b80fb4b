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

QImage plain(int width, int height, bool black) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(black ? Qt::black : Qt::white);
    return image;
}

SettingsRecord settingsFor(const QString& palette, int lines) {
    SettingsRecord settings;
    settings.ConvMode = 1;
    settings.TextTable2 = palette;
    settings.TextLines = static_cast<qint16>(lines);
    settings.LsConv = 0;
    settings.LineSpace = 0;
    settings.NitiGosa = 0.2;
    return settings;
}

ConversionResult run(const SettingsRecord& settings, const QImage& picture,
                     const GlyphSource& glyphs, RecordingServices& services) {
    const ConversionInput input{settings, &picture, SelectionState{}, glyphs, LevelPair{0, 255}};
    return ConvTwoLevel(input, services);
}

QString lines(const QStringList& rows) {
    return rows.join(QStringLiteral("\r\n"));
}

// Glyphs two pixels high: blanks and blocks of several widths, and a few shapes.
HandGlyphs smallGlyphs() {
    HandGlyphs g(2);
    g.addBlank(QStringLiteral(" "), 2);
    g.addBlank(QStringLiteral("a"), 1);
    g.addBlank(QStringLiteral("b"), 1);
    g.addBlank(QStringLiteral("c"), 2);
    g.add(QStringLiteral("d"), rows("#./.."));
    g.add(QStringLiteral("#"), rows("##/##"));
    g.add(QStringLiteral("i"), rows("#/#"));
    return g;
}

} // namespace

class ConvTwoLevelTest : public QObject {
    Q_OBJECT

private slots:
    void plainPictures_data();
    void plainPictures();
    void ties_data();
    void ties();
    void tiesAtTheEdgesOfTheBound_data();
    void tiesAtTheEdgesOfTheBound();
    void duplicatesChangeNothing();
    void shapes_data();
    void shapes();
    void rightEndStaysFree_data();
    void rightEndStaysFree();
    void unusablePalettes_data();
    void unusablePalettes();
    void negativeLineSpace();
    void gapBelowGlyphIsInk_data();
    void gapBelowGlyphIsInk();
    void cut999_data();
    void cut999();
    void progressOnlyWhenItChanges();
    void abortBeforeACharacter();
    void noPicture();
    void tooLargeIsRefused();
};

void ConvTwoLevelTest::plainPictures_data() {
    QTest::addColumn<bool>("black");
    QTest::addColumn<bool>("reversed");
    QTest::addColumn<double>("lineSpace");
    QTest::addColumn<QString>("expected");
    // 11 columns, widest character 2: places at x = 0, 2, 4, 6, 8.
    const QString blanks = lines({QStringLiteral("     "), QStringLiteral("     ")});
    const QString blocks = lines(rows("#####/#####"));
    QTest::newRow("blank on white") << false << false << 0.0 << blanks;
    QTest::newRow("blank reversed on black") << true << true << 0.0 << blanks;
    QTest::newRow("block on black") << true << false << 0.0 << blocks;
    // Reversed, the blank is all ink and the block's strokes are paper: the block matches white.
    QTest::newRow("reversed on white") << false << true << 0.0 << blocks;
    // 1.5 points = 2 pixels below every glyph, counted as ink for every candidate alike.
    QTest::newRow("blank on white, 2 pixels of line space") << false << false << 1.5 << blanks;
}

void ConvTwoLevelTest::plainPictures() {
    QFETCH(bool, black);
    QFETCH(bool, reversed);
    QFETCH(double, lineSpace);
    QFETCH(QString, expected);
    const HandGlyphs glyphs = smallGlyphs();
    SettingsRecord settings = settingsFor(QStringLiteral(" d#"), 2);
    settings.RvFlg = reversed;
    settings.LineSpace = lineSpace;
    const int rowHeight = 2 + static_cast<int>(lineSpace * 96 / 72);
    RecordingServices services;
    const ConversionResult result =
        run(settings, plain(11, 2 * rowHeight, black), glyphs, services);
    QCOMPARE(result.outcome, ConvOutcome::HandedOff);
    QCOMPARE(services.text, expected);
}

void ConvTwoLevelTest::ties_data() {
    QTest::addColumn<QString>("palette");
    QTest::addColumn<QString>("expected");
    // White picture 10 columns wide: every blank scores exactly 0.
    QTest::newRow("wider wins") << QStringLiteral("ac") << QStringLiteral("cccc");
    QTest::newRow("wider first stays") << QStringLiteral("ca") << QStringLiteral("cccc");
    QTest::newRow("same width: the earlier") << QStringLiteral("ab") << QString(9, u'a');
    QTest::newRow("same width: the earlier, swapped") << QStringLiteral("ba") << QString(9, u'b');
    QTest::newRow("same width and score: the earlier")
        << QStringLiteral(" c") << QStringLiteral("    ");
    QTest::newRow("duplicate taken at its first place")
        << QStringLiteral("bab") << QString(9, u'b');
    // A smaller score beats a wider character: d has one ink pixel, a none.
    QTest::newRow("smaller score beats width") << QStringLiteral("da") << QString(8, u'a');
}

void ConvTwoLevelTest::ties() {
    QFETCH(QString, palette);
    QFETCH(QString, expected);
    const HandGlyphs glyphs = smallGlyphs();
    RecordingServices services;
    run(settingsFor(palette, 1), plain(10, 2, false), glyphs, services);
    QCOMPARE(services.text, expected);
}

void ConvTwoLevelTest::tiesAtTheEdgesOfTheBound_data() {
    QTest::addColumn<QString>("palette");
    QTest::addColumn<QString>("expected");
    // Each place is a black column beside a white one (mean 0.5). "p", the white column beside
    // the black one, has the same mean and is scored first: 1. "q" (all ink, mean 0) and "s"
    // (blank, mean 1) both score 0.5, exactly their distance from the place's mean, so they are
    // the farthest candidates the bound lets through, one on either side; the earlier wins.
    QTest::newRow("the lowest mean earlier") << QStringLiteral("pqs") << QStringLiteral("qq");
    QTest::newRow("the highest mean earlier") << QStringLiteral("psq") << QStringLiteral("ss");
}

void ConvTwoLevelTest::tiesAtTheEdgesOfTheBound() {
    QFETCH(QString, palette);
    QFETCH(QString, expected);
    HandGlyphs glyphs(2);
    glyphs.add(QStringLiteral("p"), rows(".#/.#"));
    glyphs.add(QStringLiteral("q"), rows("##/##"));
    glyphs.addBlank(QStringLiteral("s"), 2);
    RecordingServices services;
    run(settingsFor(palette, 1), pictureOf(rows("#.#../#.#..")), glyphs, services);
    QCOMPARE(services.text, expected);
}

void ConvTwoLevelTest::duplicatesChangeNothing() {
    const HandGlyphs glyphs = smallGlyphs();
    const QImage picture =
        pictureOf(rows("#..##.#...##.#/#..##..#..#..#/..#..#.#.##.../.##..#.#..##.."));
    RecordingServices once;
    run(settingsFor(QStringLiteral("ad#i "), 2), picture, glyphs, once);
    RecordingServices twice;
    run(settingsFor(QStringLiteral("ad#i #ad"), 2), picture, glyphs, twice);
    QVERIFY(once.handedOff);
    QCOMPARE(twice.text, once.text);
}

void ConvTwoLevelTest::shapes_data() {
    QTest::addColumn<QStringList>("picture");
    QTest::addColumn<QString>("expected");
    // Characters 3 wide, 10 columns: places at x = 0, 3, 6.
    QTest::newRow("vertical strokes")
        << rows(".#..#..#../.#..#..#../.#..#..#..") << QStringLiteral("|||");
    QTest::newRow("horizontal stroke")
        << rows("........../##########/..........") << QStringLiteral("---");
    QTest::newRow("mixed") << rows("....#...../###.#...../....#.....") << QStringLiteral("-| ");
}

void ConvTwoLevelTest::shapes() {
    QFETCH(QStringList, picture);
    QFETCH(QString, expected);
    HandGlyphs glyphs(3);
    glyphs.addBlank(QStringLiteral(" "), 3);
    glyphs.add(QStringLiteral("|"), rows(".#./.#./.#."));
    glyphs.add(QStringLiteral("-"), rows(".../###/..."));
    RecordingServices services;
    run(settingsFor(QStringLiteral(" |-"), 1), pictureOf(picture), glyphs, services);
    QCOMPARE(services.text, expected);
}

void ConvTwoLevelTest::rightEndStaysFree_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("expected");
    // The widest character (3) must fit with a pixel to spare: x + 3 < colsPx.
    QTest::newRow("colsPx below MaxWidth") << 2 << QStringLiteral("\r\n\r\n");
    QTest::newRow("colsPx equal to MaxWidth") << 3 << QStringLiteral("\r\n\r\n");
    QTest::newRow("one place") << 4
                               << lines({QStringLiteral("a"), QStringLiteral("a"),
                                         QStringLiteral("a")});
    QTest::newRow("three places") << 6
                                  << lines({QStringLiteral("aaa"), QStringLiteral("aaa"),
                                            QStringLiteral("aaa")});
}

void ConvTwoLevelTest::rightEndStaysFree() {
    QFETCH(int, width);
    QFETCH(QString, expected);
    HandGlyphs glyphs(1);
    glyphs.addBlank(QStringLiteral("a"), 1);
    glyphs.add(QStringLiteral("#"), rows("###"));
    RecordingServices services;
    const ConversionResult result =
        run(settingsFor(QStringLiteral("a#"), 3), plain(width, 3, false), glyphs, services);
    QCOMPARE(result.outcome, ConvOutcome::HandedOff);
    QCOMPARE(services.text, expected);
}

void ConvTwoLevelTest::unusablePalettes_data() {
    QTest::addColumn<QString>("palette");
    QTest::addColumn<QString>("expected"); // empty: the run ends with the message
    // z has no glyph at all: width 0, never a candidate.
    QTest::newRow("width 0 first") << QStringLiteral("za") << QStringLiteral("aaa");
    QTest::newRow("width 0 between") << QStringLiteral("#za") << QStringLiteral("aaa");
    QTest::newRow("only width 0") << QStringLiteral("zz") << QString();
    QTest::newRow("expands to nothing") << QStringLiteral("--") << QString();
}

void ConvTwoLevelTest::unusablePalettes() {
    QFETCH(QString, palette);
    QFETCH(QString, expected);
    HandGlyphs glyphs(1);
    glyphs.addBlank(QStringLiteral("a"), 1);
    glyphs.add(QStringLiteral("#"), rows("#"));
    RecordingServices services;
    const ConversionResult result =
        run(settingsFor(palette, 1), plain(4, 1, false), glyphs, services);
    if (expected.isEmpty()) {
        QCOMPARE(result.outcome, ConvOutcome::EmptyPalette);
        QCOMPARE(services.messages, QStringList{RunMessages::paletteHasNoUsableCharacter()});
        QVERIFY(!services.handedOff);
    } else {
        QCOMPARE(result.outcome, ConvOutcome::HandedOff);
        QCOMPARE(services.text, expected);
        QVERIFY(services.messages.isEmpty());
    }
}

void ConvTwoLevelTest::negativeLineSpace() {
    // Glyphs 4 high, line space -1.5 points = -2 pixels: rows of 2 raster rows, which compare
    // only the glyphs' top two rows. NitiGosa 0: T matches a black row over a white one exactly.
    HandGlyphs glyphs(4);
    glyphs.addBlank(QStringLiteral(" "), 2);
    glyphs.add(QStringLiteral("T"), rows("##/../../.."));
    glyphs.add(QStringLiteral("_"), rows("../../../##"));
    SettingsRecord settings = settingsFor(QStringLiteral(" _T"), 2);
    settings.LineSpace = -1.5;
    settings.NitiGosa = 0;
    const QImage picture = pictureOf(rows("########/......../########/........"));
    RecordingServices services;
    const ConversionResult result = run(settings, picture, glyphs, services);
    QCOMPARE(result.outcome, ConvOutcome::HandedOff);
    QCOMPARE(services.text, lines({QStringLiteral("TTT"), QStringLiteral("TTT")}));
}

void ConvTwoLevelTest::gapBelowGlyphIsInk_data() {
    QTest::addColumn<int>("lsConv");
    QTest::addColumn<double>("lineSpace");
    QTest::addColumn<int>("rowHeight");
    QTest::addColumn<double>("blankOnWhite");
    // Glyphs 3 high. Row h + 1 of a map is its border (paper); rows below it are ink.
    QTest::newRow("no line space") << 0 << 0.0 << 3 << 0.0;
    QTest::newRow("1 pixel: the border row") << 0 << 0.75 << 4 << 0.0;
    QTest::newRow("2 pixels: one row of ink") << 0 << 1.5 << 5 << 1.0 / 5;
    QTest::newRow("3 pixels: two rows of ink") << 0 << 2.25 << 6 << 2.0 / 6;
    QTest::newRow("interpolated line space") << 1 << 2.25 << 3 << 0.0;
}

void ConvTwoLevelTest::gapBelowGlyphIsInk() {
    QFETCH(int, lsConv);
    QFETCH(double, lineSpace);
    QFETCH(int, rowHeight);
    QFETCH(double, blankOnWhite);
    HandGlyphs glyphs(3);
    glyphs.addBlank(QStringLiteral("a"), 2);
    SettingsRecord settings = settingsFor(QStringLiteral("a"), 1);
    settings.LsConv = static_cast<qint16>(lsConv);
    settings.LineSpace = lineSpace;
    const QImage picture = plain(10, 10, false);
    const ConversionInput input{settings, &picture, SelectionState{}, glyphs, LevelPair{0, 255}};
    RecordingServices services;
    PreparedRun prepared;
    QVERIFY(!prepareRun(input, settings.TextTable2, services, prepared, 1));
    QCOMPARE(prepared.rowHeight, rowHeight);
    GlyphMaps maps(1, 2, 3, prepared.rowHeight);
    maps.fill(0, glyphs.drawCharacter(QStringLiteral("a"), 2, 3), false, 0.2);
    const std::vector<double> white(static_cast<size_t>(2 * rowHeight), 1.0);
    QCOMPARE(maps.score(0, 2, white.data(), 2, 0), blankOnWhite);
}

void ConvTwoLevelTest::cut999_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<int>("questions");
    QTest::addColumn<int>("lineLength"); // -1: the run ends without output
    // Widest character 1: a line of colsPx columns has colsPx - 1 places.
    QTest::newRow("999 places, no question") << 1000 << true << 0 << 999;
    QTest::newRow("1000 places, OK, asked once") << 1001 << true << 1 << 999;
    QTest::newRow("many places, OK, asked once") << 1500 << true << 1 << 999;
    QTest::newRow("1000 places, Cancel") << 1001 << false << 1 << -1;
}

void ConvTwoLevelTest::cut999() {
    QFETCH(int, width);
    QFETCH(bool, answer);
    QFETCH(int, questions);
    QFETCH(int, lineLength);
    HandGlyphs glyphs(1);
    glyphs.addBlank(QStringLiteral("a"), 1);
    RecordingServices services;
    services.answer999 = answer;
    const ConversionResult result =
        run(settingsFor(QStringLiteral("a"), 3), plain(width, 3, false), glyphs, services);
    QCOMPARE(services.questions999, questions);
    if (lineLength < 0) {
        QCOMPARE(result.outcome, ConvOutcome::Cancelled999);
        QVERIFY(!services.handedOff);
        return;
    }
    QCOMPARE(result.outcome, ConvOutcome::HandedOff);
    const QString line(lineLength, u'a');
    QCOMPARE(services.text, lines({line, line, line}));
}

void ConvTwoLevelTest::progressOnlyWhenItChanges() {
    // 2 lines, 4 columns, widest character 1: places at x = 0, 1, 2 on each line, so
    // pct = floor((x / 4 + r) / 2 x 100) = 0, 12, 25 and 50, 62, 75.
    HandGlyphs glyphs(1);
    glyphs.addBlank(QStringLiteral("a"), 1);
    RecordingServices services;
    run(settingsFor(QStringLiteral("a"), 2), plain(4, 2, false), glyphs, services);
    QCOMPARE(services.preparingShown, 1);
    QCOMPARE(services.percents, (QList<int>{0, 12, 25, 50, 62, 75}));
    QCOMPARE(services.yields, 1 + 6);

    // 1 line, 300 columns: 299 places but only the percentages 0..99 are shown, each once.
    RecordingServices many;
    run(settingsFor(QStringLiteral("a"), 1), plain(300, 1, false), glyphs, many);
    QCOMPARE(many.yields, 1 + 299);
    QCOMPARE(many.percents.size(), 100);
    for (int i = 0; i < 100; ++i)
        QCOMPARE(many.percents[i], i);
}

void ConvTwoLevelTest::abortBeforeACharacter() {
    HandGlyphs glyphs(1);
    glyphs.addBlank(QStringLiteral("a"), 1);
    RecordingServices services;
    services.abortAfterYields = 3; // "準備中", then two characters, then the abort
    const ConversionResult result =
        run(settingsFor(QStringLiteral("a"), 2), plain(4, 2, false), glyphs, services);
    QCOMPARE(result.outcome, ConvOutcome::Aborted);
    QCOMPARE(services.yields, 4);
    QVERIFY(!services.handedOff);
}

void ConvTwoLevelTest::noPicture() {
    HandGlyphs glyphs(1);
    glyphs.addBlank(QStringLiteral("a"), 1);
    const SettingsRecord settings = settingsFor(QStringLiteral("a"), 2);
    RecordingServices services;
    const ConversionInput input{settings, nullptr, SelectionState{}, glyphs, LevelPair{0, 255}};
    QCOMPARE(ConvTwoLevel(input, services).outcome, ConvOutcome::EmptyText);
    QVERIFY(services.handedOff);
    QCOMPARE(services.text, QString());
}

void ConvTwoLevelTest::tooLargeIsRefused() {
    // Eight characters 3000 pixels square would need 8 x 3003 x 3003 doubles of glyph maps.
    HandGlyphs glyphs(3000);
    const QString palette = QStringLiteral("abcdefgh");
    for (const QChar c : palette)
        glyphs.add(QString(c), {QString(3000, u'.')});
    RecordingServices services;
    const ConversionResult result =
        run(settingsFor(palette, 1), plain(10, 10, false), glyphs, services);
    QCOMPARE(result.outcome, ConvOutcome::TooLarge);
    QCOMPARE(services.messages, QStringList{RunMessages::glyphsTooLarge()});
    QVERIFY(!services.handedOff);
}

QTEST_APPLESS_MAIN(ConvTwoLevelTest)
#include "ConvTwoLevelTest.moc"

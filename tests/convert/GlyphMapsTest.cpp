// The softened glyph maps of the two-level converter and their scores, on hand-drawn glyphs.

#include "convert/GlyphMaps.h"
#include "common/HandGlyphs.h"

#include <QTest>

#include <vector>

namespace {

using Grid = QList<QList<double>>;

GlyphBitmap glyphOf(const char* drawn) {
    const QStringList glyphRows = rows(drawn);
    HandGlyphs glyphs(static_cast<int>(glyphRows.size()));
    glyphs.add(QStringLiteral("g"), glyphRows);
    return glyphs.drawCharacter(QStringLiteral("g"), static_cast<int>(glyphRows.first().size()),
                                static_cast<int>(glyphRows.size()));
}

// The whole grid of one character as rows of values, grid rows 0..h + 1, columns 0..w + 1.
Grid mapOf(const char* drawn, bool reversed, double nitiGosa) {
    const GlyphBitmap glyph = glyphOf(drawn);
    GlyphMaps maps(1, glyph.width, glyph.height, glyph.height);
    maps.fill(0, glyph, reversed, nitiGosa);
    Grid values(glyph.height + 2, QList<double>(glyph.width + 2));
    for (int y = 0; y <= glyph.height + 1; ++y)
        for (int x = 0; x <= glyph.width + 1; ++x)
            values[y][x] = maps.at(0, x, y);
    return values;
}

} // namespace

class GlyphMapsTest : public QObject {
    Q_OBJECT

private slots:
    void mapValues_data() {
        QTest::addColumn<QString>("glyph");
        QTest::addColumn<bool>("reversed");
        QTest::addColumn<double>("nitiGosa");
        QTest::addColumn<Grid>("expected");
        const QString dot = QStringLiteral(".../.#./...");
        const Grid white(5, QList<double>(5, 1.0));
        Grid dotAlone = white;
        dotAlone[2][2] = 0;
        QTest::newRow("one ink pixel, no softening") << dot << false << 0.0 << dotAlone;
        // Edge neighbours lose 0.2, corner neighbours 0.1; the border is untouched by a centre dot.
        QTest::newRow("one ink pixel, 0.2") << dot << false << 0.2
                                            << Grid{{1, 1, 1, 1, 1},
                                                    {1, 0.9, 0.8, 0.9, 1},
                                                    {1, 0.8, 0, 0.8, 1},
                                                    {1, 0.9, 0.8, 0.9, 1},
                                                    {1, 1, 1, 1, 1}};
        // Two ink pixels side by side: above the left one 1 - 0.2 (edge) - 0.1 (corner of the
        // right one) = 0.7; each ink pixel is 1 - 1 - 0.2, clamped to 0.
        QTest::newRow("strokes meet, 0.2") << QStringLiteral(".##./....") << false << 0.2
                                           << Grid{{1, 0.9, 0.7, 0.7, 0.9, 1},
                                                   {1, 0.8, 0, 0, 0.8, 1},
                                                   {1, 0.9, 0.7, 0.7, 0.9, 1},
                                                   {1, 1, 1, 1, 1, 1}};
        // A paper pixel ringed by ink: 1 - 4 x 0.1 - 4 x 0.05 = 0.4.
        const QString ring = QStringLiteral("###/#.#/###");
        const Grid ringed{{0.95, 0.85, 0.8, 0.85, 0.95},
                          {0.85, 0, 0, 0, 0.85},
                          {0.8, 0, 0.4, 0, 0.8},
                          {0.85, 0, 0, 0, 0.85},
                          {0.95, 0.85, 0.8, 0.85, 0.95}};
        QTest::newRow("ring, 0.1") << ring << false << 0.1 << ringed;
        // 1 - 4 x 0.2 - 4 x 0.1 = -0.2: clamped to 0 after all ink is counted.
        QTest::newRow("ring, 0.2") << ring << false << 0.2
                                   << Grid{{0.9, 0.7, 0.6, 0.7, 0.9},
                                           {0.7, 0, 0, 0, 0.7},
                                           {0.6, 0, 0, 0, 0.6},
                                           {0.7, 0, 0, 0, 0.7},
                                           {0.9, 0.7, 0.6, 0.7, 0.9}};
        // Reversed, the ground is ink and the stroke is paper: the lone stroke pixel is ringed by
        // ink.
        QTest::newRow("reversed dot, 0.1") << dot << true << 0.1 << ringed;
        QTest::newRow("blank, no softening")
            << QStringLiteral("../..") << false << 0.0 << Grid(4, QList<double>(4, 1.0));
        QTest::newRow("blank reversed, no softening")
            << QStringLiteral("../..") << true << 0.0
            << Grid{{1, 1, 1, 1}, {1, 0, 0, 1}, {1, 0, 0, 1}, {1, 1, 1, 1}};
    }

    void mapValues() {
        QFETCH(QString, glyph);
        QFETCH(bool, reversed);
        QFETCH(double, nitiGosa);
        QFETCH(Grid, expected);
        const Grid actual = mapOf(qPrintable(glyph), reversed, nitiGosa);
        QCOMPARE(actual.size(), expected.size());
        for (qsizetype y = 0; y < expected.size(); ++y) {
            QCOMPARE(actual[y].size(), expected[y].size());
            for (qsizetype x = 0; x < expected[y].size(); ++x)
                QVERIFY2(qAbs(actual[y][x] - expected[y][x]) <= 1e-12,
                         qPrintable(QStringLiteral("map value at (%1, %2) is %3, expected %4")
                                        .arg(x)
                                        .arg(y)
                                        .arg(actual[y][x])
                                        .arg(expected[y][x])));
        }
    }

    void clampedAtZeroNeverNegative() {
        // Full softening inside a solid block: every value would fall far below 0.
        const Grid grid = mapOf("###/###/###", false, 1.0);
        for (const QList<double>& row : grid)
            for (double v : row)
                QVERIFY(v >= 0.0 && v <= 1.0);
        QCOMPARE(grid[2][2], 0.0);
        QCOMPARE(grid[0][0], 0.5); // one corner neighbour: 1 - 1 / 2
    }

    void gridFitsGlyphAndRow() {
        // Glyphs 4 high in rows as tall (7 grid rows), 3 pixels taller (10), and 3 pixels shorter,
        // where the glyph and its border (rows 0..5) must still fit (6).
        for (const auto& [rowHeight, gridRows] : {std::pair{4, 7}, {7, 10}, {1, 6}}) {
            GlyphMaps maps(2, 3, 4, rowHeight);
            QCOMPARE(maps.rows(), gridRows);
            QCOMPARE(maps.columns(), 6);
            QCOMPARE(GlyphMaps::entriesFor(2, 3, 4, rowHeight), qint64{2} * 6 * gridRows);
            maps.fill(1, glyphOf("###/###/###/###"), false, 0.2);
            // The border under the block's middle column: one edge and two corner neighbours of
            // ink.
            QCOMPARE(maps.at(1, 2, 5), 0.6);
            QCOMPARE(maps.at(0, 1, 1), 0.0); // character 0 untouched
        }
    }

    void scores() {
        // Character 1 of width 2, NitiGosa 0.2, scored at raster column 3 of a band 7 columns wide
        // that holds the given value there and -5 elsewhere. (Rows below the glyph are scored in
        // ConvTwoLevelTest::gapBelowGlyphIsInk.)
        const auto score = [](const char* glyph, bool reversed, int rowHeight, double value) {
            const GlyphBitmap bitmap = glyphOf(glyph);
            GlyphMaps maps(2, 3, bitmap.height, rowHeight);
            maps.fill(1, bitmap, reversed, 0.2);
            std::vector<double> band(static_cast<size_t>(7 * rowHeight), -5.0);
            for (int y = 0; y < rowHeight; ++y)
                band[static_cast<size_t>(7 * y + 3)] = band[static_cast<size_t>(7 * y + 4)] = value;
            return maps.score(1, 2, band.data(), 7, 3);
        };
        const char* const blank = "../../..";
        QCOMPARE(score(blank, false, 3, 1.0), 0.0);   // on white
        QCOMPARE(score(blank, true, 3, 0.0), 0.0);    // reversed on black
        QCOMPARE(score(blank, false, 3, 0.0), 1.0);   // on black
        QCOMPARE(score(blank, false, 3, 0.25), 0.75); // on grey
        // A row shorter than the glyph compares only its first row: paper darkened by the ink below
        // it, 1 - 0.2 (edge) - 0.1 (corner) = 0.7 in both columns.
        QCOMPARE(score("../##/##", false, 1, 1.0), 0.3);
        // A solid 2 x 3 block: 6 ink pixels at 0 against white.
        QCOMPARE(score("##/##/##", false, 3, 1.0), 1.0);
    }
};

QTEST_APPLESS_MAIN(GlyphMapsTest)
#include "GlyphMapsTest.moc"

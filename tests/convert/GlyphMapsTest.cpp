// The softened glyph maps of the two-level converter and their scores, on hand-drawn glyphs.

#include "convert/GlyphMaps.h"
#include "common/HandGlyphs.h"

#include <QTest>

#include <vector>

namespace {

GlyphBitmap glyphOf(const QStringList& rows) {
    HandGlyphs glyphs(static_cast<int>(rows.size()));
    glyphs.add(QStringLiteral("g"), rows);
    return glyphs.drawCharacter(QStringLiteral("g"), static_cast<int>(rows.first().size()),
                                static_cast<int>(rows.size()));
}

// The whole grid of one character as rows of values, grid rows 0..h + 1, columns 0..w + 1.
QList<QList<double>> mapOf(const QStringList& rows, bool reversed, double nitiGosa) {
    const GlyphBitmap glyph = glyphOf(rows);
    GlyphMaps maps(1, glyph.width, glyph.height, glyph.height);
    maps.fill(0, glyph, reversed, nitiGosa);
    QList<QList<double>> values;
    for (int y = 0; y <= glyph.height + 1; ++y) {
        QList<double> row;
        for (int x = 0; x <= glyph.width + 1; ++x)
            row.append(maps.at(0, x, y));
        values.append(row);
    }
    return values;
}

void compareMaps(const QList<QList<double>>& actual, const QList<QList<double>>& expected) {
    QCOMPARE(actual.size(), expected.size());
    for (qsizetype y = 0; y < expected.size(); ++y) {
        QCOMPARE(actual[y].size(), expected[y].size());
        for (qsizetype x = 0; x < expected[y].size(); ++x) {
            if (qAbs(actual[y][x] - expected[y][x]) > 1e-12)
                QFAIL(qPrintable(QStringLiteral("map value at (%1, %2) is %3, expected %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(actual[y][x])
                                     .arg(expected[y][x])));
        }
    }
}

} // namespace

using Grid = QList<QList<double>>;

class GlyphMapsTest : public QObject {
    Q_OBJECT

private slots:
    void mapValues_data();
    void mapValues();
    void clampedAtZeroNeverNegative();
    void gridFitsGlyphAndRow_data();
    void gridFitsGlyphAndRow();
    void scores_data();
    void scores();
};

void GlyphMapsTest::mapValues_data() {
    QTest::addColumn<QStringList>("glyph");
    QTest::addColumn<bool>("reversed");
    QTest::addColumn<double>("nitiGosa");
    QTest::addColumn<Grid>("expected");

    const QStringList dot = rows(".../.#./...");
    QTest::newRow("one ink pixel, no softening")
        << dot << false << 0.0
        << Grid{
               {1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}, {1, 1, 0, 1, 1}, {1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}};
    // Edge neighbours lose 0.2, corner neighbours 0.1; the border is untouched by a centre dot.
    QTest::newRow("one ink pixel, 0.2") << dot << false << 0.2
                                        << Grid{{1, 1, 1, 1, 1},
                                                {1, 0.9, 0.8, 0.9, 1},
                                                {1, 0.8, 0, 0.8, 1},
                                                {1, 0.9, 0.8, 0.9, 1},
                                                {1, 1, 1, 1, 1}};
    // Two ink pixels side by side: above the left one 1 - 0.2 (edge) - 0.1 (corner of the
    // right one) = 0.7; each ink pixel is 1 - 1 - 0.2, clamped to 0.
    QTest::newRow("strokes meet, 0.2") << rows(".##./....") << false << 0.2
                                       << Grid{{1, 0.9, 0.7, 0.7, 0.9, 1},
                                               {1, 0.8, 0, 0, 0.8, 1},
                                               {1, 0.9, 0.7, 0.7, 0.9, 1},
                                               {1, 1, 1, 1, 1, 1}};
    // A paper pixel ringed by ink: 1 - 4 x 0.1 - 4 x 0.05 = 0.4.
    QTest::newRow("ring, 0.1") << rows("###/#.#/###") << false << 0.1
                               << Grid{{0.95, 0.85, 0.8, 0.85, 0.95},
                                       {0.85, 0, 0, 0, 0.85},
                                       {0.8, 0, 0.4, 0, 0.8},
                                       {0.85, 0, 0, 0, 0.85},
                                       {0.95, 0.85, 0.8, 0.85, 0.95}};
    // 1 - 4 x 0.2 - 4 x 0.1 = -0.2: clamped to 0 after all ink is counted.
    QTest::newRow("ring, 0.2") << rows("###/#.#/###") << false << 0.2
                               << Grid{{0.9, 0.7, 0.6, 0.7, 0.9},
                                       {0.7, 0, 0, 0, 0.7},
                                       {0.6, 0, 0, 0, 0.6},
                                       {0.7, 0, 0, 0, 0.7},
                                       {0.9, 0.7, 0.6, 0.7, 0.9}};
    // Reversed, the ground is ink and the stroke is paper: the lone stroke pixel is ringed by ink.
    QTest::newRow("reversed dot, 0.1") << dot << true << 0.1
                                       << Grid{{0.95, 0.85, 0.8, 0.85, 0.95},
                                               {0.85, 0, 0, 0, 0.85},
                                               {0.8, 0, 0.4, 0, 0.8},
                                               {0.85, 0, 0, 0, 0.85},
                                               {0.95, 0.85, 0.8, 0.85, 0.95}};
    QTest::newRow("blank, no softening")
        << rows("../..") << false << 0.0
        << Grid{{1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}};
    QTest::newRow("blank reversed, no softening")
        << rows("../..") << true << 0.0
        << Grid{{1, 1, 1, 1}, {1, 0, 0, 1}, {1, 0, 0, 1}, {1, 1, 1, 1}};
}

void GlyphMapsTest::mapValues() {
    QFETCH(QStringList, glyph);
    QFETCH(bool, reversed);
    QFETCH(double, nitiGosa);
    QFETCH(Grid, expected);
    compareMaps(mapOf(glyph, reversed, nitiGosa), expected);
}

void GlyphMapsTest::clampedAtZeroNeverNegative() {
    // Full softening inside a solid block: every value would fall far below 0.
    const Grid grid = mapOf(rows("###/###/###"), false, 1.0);
    for (const QList<double>& row : grid)
        for (double v : row)
            QVERIFY(v >= 0.0 && v <= 1.0);
    QCOMPARE(grid[2][2], 0.0);
    QCOMPARE(grid[0][0], 0.5); // one corner neighbour: 1 - 1 / 2
}

void GlyphMapsTest::gridFitsGlyphAndRow_data() {
    QTest::addColumn<int>("glyphHeight");
    QTest::addColumn<int>("rowHeight");
    QTest::addColumn<int>("rows");
    QTest::newRow("row as tall as the glyph") << 4 << 4 << 7;
    QTest::newRow("line space adds 3 pixels") << 4 << 7 << 10;
    // A negative line space: the glyph and its border (rows 0..5) must still fit.
    QTest::newRow("line space takes 3 pixels") << 4 << 1 << 6;
}

void GlyphMapsTest::gridFitsGlyphAndRow() {
    QFETCH(int, glyphHeight);
    QFETCH(int, rowHeight);
    QFETCH(int, rows);
    GlyphMaps maps(2, 3, glyphHeight, rowHeight);
    QCOMPARE(maps.rows(), rows);
    QCOMPARE(maps.columns(), 6);
    QCOMPARE(GlyphMaps::entriesFor(2, 3, glyphHeight, rowHeight), qint64{2} * 6 * rows);
    HandGlyphs glyphs(glyphHeight);
    glyphs.add(QStringLiteral("g"), QStringList(glyphHeight, QStringLiteral("###")));
    maps.fill(1, glyphs.drawCharacter(QStringLiteral("g"), 3, glyphHeight), false, 0.2);
    // The border under the block's middle column: one edge and two corner neighbours of ink.
    QCOMPARE(maps.at(1, 2, glyphHeight + 1), 0.6);
    QCOMPARE(maps.at(0, 1, 1), 0.0); // character 0 untouched
}

void GlyphMapsTest::scores_data() {
    QTest::addColumn<QStringList>("glyph");
    QTest::addColumn<bool>("reversed");
    QTest::addColumn<int>("rowHeight");
    QTest::addColumn<double>("bandValue");
    QTest::addColumn<double>("expected");

    const QStringList blank = rows("../../..");
    QTest::newRow("blank on white") << blank << false << 3 << 1.0 << 0.0;
    QTest::newRow("blank reversed on black") << blank << true << 3 << 0.0 << 0.0;
    QTest::newRow("blank on black") << blank << false << 3 << 0.0 << 1.0;
    QTest::newRow("blank on grey") << blank << false << 3 << 0.25 << 0.75;
    // Rows 1..3 glyph, row 4 border (paper), rows below never filled: ink.
    QTest::newRow("line space adds 1 pixel") << blank << false << 4 << 1.0 << 0.0;
    QTest::newRow("line space adds 2 pixels") << blank << false << 5 << 1.0 << 1.0 / 5;
    QTest::newRow("line space adds 3 pixels") << blank << false << 6 << 1.0 << 2.0 / 6;
    // Negative line space: only the glyph's first row is compared; it is paper darkened by the
    // ink below it, 1 - 0.2 (edge) - 0.1 (corner) = 0.7 in both columns.
    QTest::newRow("row shorter than the glyph") << rows("../##/##") << false << 1 << 1.0 << 0.3;
    // A 2 x 3 block with NitiGosa 0.2: 6 ink pixels at 0 against white.
    QTest::newRow("solid block on white") << rows("##/##/##") << false << 3 << 1.0 << 1.0;
}

void GlyphMapsTest::scores() {
    QFETCH(QStringList, glyph);
    QFETCH(bool, reversed);
    QFETCH(int, rowHeight);
    QFETCH(double, bandValue);
    QFETCH(double, expected);
    const GlyphBitmap bitmap = glyphOf(glyph);
    // Character 1 of width 2 scored at raster column 3 of a band 7 columns wide.
    GlyphMaps maps(2, 3, bitmap.height, rowHeight);
    maps.fill(1, bitmap, reversed, 0.2);
    const int colsPx = 7;
    std::vector<double> band(static_cast<size_t>(colsPx * rowHeight), -5.0);
    for (int y = 0; y < rowHeight; ++y)
        for (int k = 0; k < 2; ++k)
            band[static_cast<size_t>(colsPx * y + 3 + k)] = bandValue;
    QCOMPARE(maps.score(1, 2, band.data(), colsPx, 3), expected);
}

QTEST_APPLESS_MAIN(GlyphMapsTest)
#include "GlyphMapsTest.moc"

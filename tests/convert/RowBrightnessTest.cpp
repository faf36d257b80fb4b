// The brightness each text row of the normal converter sees per sampled source column: worked by
// hand on a small picture, and the same doubles whatever number of threads took in the lumas.

#include "convert/RowBrightness.h"
#include "convert/PictureBuffer.h"

#include <QImage>
#include <QTest>

#include <algorithm>

class RowBrightnessTest : public QObject {
    Q_OBJECT

private slots:
    void workedExample() {
        // Source rows of lumas (0, 1), (0.2, 0.4), (1, 1). Two lines of three raster rows over
        // three source rows: raster rows 0..5 sample source rows 0, 0, 1, 1, 2, 2, and the four
        // raster columns sample source columns 0, 0, 1, 1. Row 0 sums rows 0, 0, 1:
        // (0 + 0 + 0.2) / 3 and (1 + 1 + 0.4) / 3; row 1 sums rows 1, 2, 2: (0.2 + 1 + 1) / 3
        // and (0.4 + 1 + 1) / 3. Levels 51..204 map v to (v - 0.2) / 0.6, clamped to 0..1.
        QImage picture(2, 3, QImage::Format_RGB32);
        const int grey[3][2] = {{0, 255}, {51, 102}, {255, 255}};
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 2; ++x)
                picture.setPixel(x, y, qRgb(grey[y][x], grey[y][x], grey[y][x]));
        const PictureBuffer buffer = BufFromPic(picture);
        const RasterMapping raster = RasterMapping::make(2, 3, 2, 3, 0, 0);
        QCOMPARE(raster.colsPx, 4);
        // The levels, then row 0 columns 0, 1 and row 1 columns 0, 1.
        for (const auto& [levels, expected] :
             {std::pair{LevelPair{0, 255}, QList<double>{0.2 / 3, 0.8, 2.2 / 3, 0.8}},
              {LevelPair{51, 204}, QList<double>{0.0, 1.0, (2.2 / 3 - 0.2) / 0.6, 1.0}}}) {
            const RowBrightness brightness(buffer, raster, 2, 3, raster.colsPx, levels, {}, 1);
            QVERIFY(!brightness.stopped());
            QCOMPARE(brightness.width(), 2);
            QCOMPARE(brightness.columnOf(1), 0);
            QCOMPARE(brightness.columnOf(2), 1);
            ThreadOwnVector<double> scratch;
            for (int r = 0; r < 2; ++r) {
                const double* row = brightness.row(r, scratch);
                for (int u = 0; u < 2; ++u)
                    QVERIFY2(qAbs(row[u] - expected[r * 2 + u]) < 1e-12,
                             qPrintable(QStringLiteral("levels %1: row %2 column %3: %4")
                                            .arg(levels.lo)
                                            .arg(r)
                                            .arg(u)
                                            .arg(row[u], 0, 'g', 17)));
            }
        }
    }

    // Lumas taken in bands on several threads give the same doubles as on one; neighbouring rows
    // share source rows, and a row is wider than a block of columns summed at once.
    void sameOnEveryThreadCount() {
        QImage picture(900, 700, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, qRgb((x * 7 + y) % 256, (y * 3) % 256, (x ^ y) % 256));
        const PictureBuffer buffer = BufFromPic(picture);
        const LevelPair levels{30, 220};
        for (const int lines : {37, 999}) {
            const RasterMapping raster = RasterMapping::make(900, 700, lines, 16, 0, 0);
            const int columns = std::min(raster.colsPx, 5000);
            const RowBrightness one(buffer, raster, lines, 16, columns, levels, {}, 1);
            ThreadOwnVector<double> oneScratch;
            for (const int threads : {2, 3}) {
                const RowBrightness several(buffer, raster, lines, 16, columns, levels, {},
                                            threads);
                QCOMPARE(several.width(), one.width());
                ThreadOwnVector<double> scratch;
                for (int r = 0; r < lines; ++r) {
                    const double* expected = one.row(r, oneScratch);
                    QVERIFY(std::equal(expected, expected + one.width(), several.row(r, scratch)));
                }
            }
        }
    }
};

QTEST_APPLESS_MAIN(RowBrightnessTest)
#include "RowBrightnessTest.moc"

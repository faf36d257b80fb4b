// The 24-bit bottom-up picture buffer (rows padded to 4 bytes, bottom row first, blue, green,
// red), luma, the tone mapping through the level pair, and the raster of text pixels laid over
// the selection copy with its sampled rows and columns.

#include "convert/Sampling.h"

#include <QTest>

namespace {
struct Raster {
    int width, height, lines, rowHeight;
    double lineSpacePx;
    int lsConv, colsPx;
    double xScale, yScale;
};
} // namespace
Q_DECLARE_METATYPE(Raster)

class TestSampling : public QObject {
    Q_OBJECT

private slots:
    void stride() {
        // width and stride: 3 bytes a pixel, rounded up to a multiple of 4
        for (const auto& [width, stride] : {std::pair{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}}) {
            QCOMPARE(PictureBuffer::strideFor(width), stride);
            QImage image(width, 3, QImage::Format_RGB32);
            image.fill(Qt::white);
            const PictureBuffer buffer = BufFromPic(image);
            QCOMPARE(buffer.stride, stride);
            QCOMPARE(buffer.size(), qsizetype(3 * stride));
        }
        QCOMPARE(BufFromPic(QImage()).size(), qsizetype(0));
    }

    void layout() {
        QImage image(2, 2, QImage::Format_RGB32);
        image.setPixel(0, 0, qRgb(1, 2, 3));
        image.setPixel(1, 0, qRgb(4, 5, 6));
        image.setPixel(0, 1, qRgb(7, 8, 9));
        image.setPixel(1, 1, qRgb(10, 11, 12));
        const PictureBuffer buffer = BufFromPic(image);
        QCOMPARE(buffer.width, 2);
        QCOMPARE(buffer.height, 2);
        // Bottom row first, each pixel blue, green, red, two padding bytes per row.
        const QByteArray expected("\x09\x08\x07\x0C\x0B\x0A\x00\x00"
                                  "\x03\x02\x01\x06\x05\x04\x00\x00",
                                  16);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(buffer.data()), buffer.size()), expected);
        QCOMPARE(buffer.offset(1, 0), qsizetype(11));
        QCOMPARE(buffer.offset(0, 1), qsizetype(0));
    }

    void luma() {
        // blue, green, red and the luma: white, black, red, green, blue, grey 51
        const double cases[][4] = {{255, 255, 255, 1.0}, {0, 0, 0, 0.0},     {0, 0, 255, 0.299},
                                   {0, 255, 0, 0.587},   {255, 0, 0, 0.114}, {51, 51, 51, 0.2}};
        for (const auto& c : cases)
            QVERIFY(qAbs(Luma(uchar(c[0]), uchar(c[1]), uchar(c[2])) - c[3]) < 1e-12);
    }

    void toneMap() {
        // lo, hi, value and the mapped value; with 51..204 it is (v - 0.2) / 0.6.
        const double cases[][4] = {{0, 255, 0.3, 0.3},  {0, 255, 1.0, 1.0},
                                   {51, 204, 0.1, 0.0}, {51, 204, 0.2, 0.0},
                                   {51, 204, 0.5, 0.5}, {51, 204, 0.8, 1.0},
                                   {51, 204, 0.9, 1.0}, {100, 101, 100.5 / 255, 0.5}};
        for (const auto& c : cases) {
            const LevelPair levels{static_cast<qint16>(c[0]), static_cast<qint16>(c[1])};
            QVERIFY2(qAbs(ToneMap(c[2], levels) - c[3]) < 1e-12, qPrintable(QString::number(c[2])));
        }
    }

    void raster_data() {
        QTest::addColumn<Raster>("c");
        QTest::addColumn<QList<int>>("points"); // raster xv, yv, then the column, row sampled
        // rowsPx = 24; colsPx = 50 * 24 / 20 = 60
        QTest::newRow("ignore line space") << Raster{50, 20, 4, 6, 2.0, 0, 60, 50.0 / 60, 20.0 / 24}
                                           << QList<int>{0, 0, 0, 0, 59, 23, 49, 19, 13, 7, 10, 5};
        // colsPx = (2 + 6) * 4 * 50 / 20 = 80: the line space widens the raster, not the rows
        QTest::newRow("interpolate line space")
            << Raster{50, 20, 4, 6, 2.0, 1, 80, 0.625, 20.0 / 24}
            << QList<int>{0, 0, 0, 0, 79, 23, 49, 19, 3, 7, 1, 5, 8, 13, 5, 10};
        // 7 * 5 / 3 = 11.67 and 5.5 * 7 / 3 = 12.83: the two modes differ by rounding only
        QTest::newRow("rounding, ignore")
            << Raster{7, 3, 1, 5, 0.5, 0, 12, 7.0 / 12, 0.6} << QList<int>{11, 4, 6, 2};
        QTest::newRow("rounding, interpolate")
            << Raster{7, 3, 1, 5, 0.5, 1, 13, 7.0 / 13, 0.6} << QList<int>{12, 4, 6, 2};
        QTest::newRow("2.5 to even")
            << Raster{5, 2, 1, 1, 0.0, 0, 2, 2.5, 2.0} << QList<int>{0, 0, 0, 0, 1, 0, 2, 0};
        QTest::newRow("3.5 to even")
            << Raster{7, 2, 1, 1, 0.0, 1, 4, 1.75, 2.0} << QList<int>{3, 0, 5, 0};
        // 1 * 10 / 100 rounds to no column at all
        QTest::newRow("no column") << Raster{1, 100, 1, 10, 0.0, 0, 0, 0.0, 10.0} << QList<int>{};
    }

    void raster() {
        QFETCH(Raster, c);
        QFETCH(QList<int>, points);
        const RasterMapping mapping =
            RasterMapping::make(c.width, c.height, c.lines, c.rowHeight, c.lineSpacePx, c.lsConv);
        QCOMPARE(mapping.rowsPx, c.lines * c.rowHeight);
        QCOMPARE(mapping.colsPx, c.colsPx);
        QCOMPARE(mapping.xScale, c.xScale);
        QCOMPARE(mapping.yScale, c.yScale);
        for (qsizetype i = 0; i + 3 < points.size(); i += 4) {
            QCOMPARE(mapping.sourceColumn(points[i]), points[i + 2]);
            QCOMPARE(mapping.sourceRow(points[i + 1]), points[i + 3]);
        }
    }

    // Raster point (13, 7) of the 50 x 20 picture with 4 lines of 6 pixels samples pixel (10, 5).
    void sampledPixel() {
        QImage image(50, 20, QImage::Format_RGB32);
        image.fill(Qt::black);
        image.setPixel(10, 5, qRgb(255, 0, 0));
        const PictureBuffer buffer = BufFromPic(image);
        const RasterMapping mapping = RasterMapping::make(50, 20, 4, 6, 0, 0);
        QVERIFY(qAbs(sampleLuma(buffer, mapping, 13, 7) - 0.299) < 1e-12);
        QCOMPARE(sampleLuma(buffer, mapping, 14, 7), 0.0);
        QCOMPARE(sampleLuma(buffer, mapping, 13, 8), 0.0);
    }
};

QTEST_APPLESS_MAIN(TestSampling)
#include "TestSampling.moc"

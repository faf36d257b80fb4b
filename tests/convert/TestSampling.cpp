// Luma, the tone mapping through the level pair, and the raster of text pixels laid over the
// selection copy with its sampled rows and columns.

#include "convert/Sampling.h"

#include <QTest>

class TestSampling : public QObject {
    Q_OBJECT

private slots:
    void luma_data();
    void luma();
    void toneMap_data();
    void toneMap();
    void raster_data();
    void raster();
    void sampledPixel();
};

void TestSampling::luma_data() {
    QTest::addColumn<int>("blue");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("red");
    QTest::addColumn<double>("luma");
    QTest::newRow("white") << 255 << 255 << 255 << 1.0;
    QTest::newRow("black") << 0 << 0 << 0 << 0.0;
    QTest::newRow("red") << 0 << 0 << 255 << 0.299;
    QTest::newRow("green") << 0 << 255 << 0 << 0.587;
    QTest::newRow("blue") << 255 << 0 << 0 << 0.114;
    QTest::newRow("grey 51") << 51 << 51 << 51 << 0.2;
}

void TestSampling::luma() {
    QFETCH(int, blue);
    QFETCH(int, green);
    QFETCH(int, red);
    QFETCH(double, luma);
    QVERIFY(qAbs(Luma(uchar(blue), uchar(green), uchar(red)) - luma) < 1e-12);
}

void TestSampling::toneMap_data() {
    QTest::addColumn<int>("lo");
    QTest::addColumn<int>("hi");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("mapped");
    QTest::newRow("full range") << 0 << 255 << 0.3 << 0.3;
    QTest::newRow("full range, white") << 0 << 255 << 1.0 << 1.0;
    // (v - 0.2) / 0.6
    QTest::newRow("below lo") << 51 << 204 << 0.1 << 0.0;
    QTest::newRow("at lo") << 51 << 204 << 0.2 << 0.0;
    QTest::newRow("middle") << 51 << 204 << 0.5 << 0.5;
    QTest::newRow("at hi") << 51 << 204 << 0.8 << 1.0;
    QTest::newRow("above hi") << 51 << 204 << 0.9 << 1.0;
    QTest::newRow("one level wide") << 100 << 101 << 100.5 / 255 << 0.5;
}

void TestSampling::toneMap() {
    QFETCH(int, lo);
    QFETCH(int, hi);
    QFETCH(double, value);
    QFETCH(double, mapped);
    const LevelPair levels{static_cast<qint16>(lo), static_cast<qint16>(hi)};
    QVERIFY(qAbs(ToneMap(value, levels) - mapped) < 1e-12);
}

void TestSampling::raster_data() {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("rowHeight");
    QTest::addColumn<double>("lineSpacePx");
    QTest::addColumn<int>("lsConv");
    QTest::addColumn<int>("colsPx");
    QTest::addColumn<double>("xScale");
    QTest::addColumn<double>("yScale");
    QTest::addColumn<QList<int>>("raster"); // xv, yv pairs
    QTest::addColumn<QList<int>>("source"); // column, row pairs

    // rowsPx = 24; colsPx = 50 * 24 / 20 = 60
    QTest::newRow("ignore line space")
        << QSize(50, 20) << 4 << 6 << 2.0 << 0 << 60 << 50.0 / 60 << 20.0 / 24
        << QList<int>{0, 0, 59, 23, 13, 7} << QList<int>{0, 0, 49, 19, 10, 5};
    // colsPx = (2 + 6) * 4 * 50 / 20 = 80: the line space widens the raster, not the rows
    QTest::newRow("interpolate line space")
        << QSize(50, 20) << 4 << 6 << 2.0 << 1 << 80 << 0.625 << 20.0 / 24
        << QList<int>{0, 0, 79, 23, 3, 7, 8, 13} << QList<int>{0, 0, 49, 19, 1, 5, 5, 10};
    // 7 * 5 / 3 = 11.67 and 5.5 * 7 / 3 = 12.83: the two modes differ by rounding only
    QTest::newRow("rounding, ignore") << QSize(7, 3) << 1 << 5 << 0.5 << 0 << 12 << 7.0 / 12 << 0.6
                                      << QList<int>{11, 4} << QList<int>{6, 2};
    QTest::newRow("rounding, interpolate") << QSize(7, 3) << 1 << 5 << 0.5 << 1 << 13 << 7.0 / 13
                                           << 0.6 << QList<int>{12, 4} << QList<int>{6, 2};
    QTest::newRow("2.5 to even") << QSize(5, 2) << 1 << 1 << 0.0 << 0 << 2 << 2.5 << 2.0
                                 << QList<int>{0, 0, 1, 0} << QList<int>{0, 0, 2, 0};
    QTest::newRow("3.5 to even") << QSize(7, 2) << 1 << 1 << 0.0 << 1 << 4 << 1.75 << 2.0
                                 << QList<int>{3, 0} << QList<int>{5, 0};
    // 1 * 10 / 100 rounds to no column at all
    QTest::newRow("no column") << QSize(1, 100) << 1 << 10 << 0.0 << 0 << 0 << 0.0 << 10.0
                               << QList<int>{} << QList<int>{};
}

void TestSampling::raster() {
    QFETCH(QSize, picture);
    QFETCH(int, lines);
    QFETCH(int, rowHeight);
    QFETCH(double, lineSpacePx);
    QFETCH(int, lsConv);
    QFETCH(int, colsPx);
    QFETCH(double, xScale);
    QFETCH(double, yScale);
    QFETCH(QList<int>, raster);
    QFETCH(QList<int>, source);
    const RasterMapping mapping = RasterMapping::make(picture.width(), picture.height(), lines,
                                                      rowHeight, lineSpacePx, lsConv);
    QCOMPARE(mapping.rowsPx, lines * rowHeight);
    QCOMPARE(mapping.colsPx, colsPx);
    QCOMPARE(mapping.xScale, xScale);
    QCOMPARE(mapping.yScale, yScale);
    for (qsizetype i = 0; i + 1 < raster.size(); i += 2) {
        QCOMPARE(mapping.sourceColumn(raster[i]), source[i]);
        QCOMPARE(mapping.sourceRow(raster[i + 1]), source[i + 1]);
    }
}

// Raster point (13, 7) of the 50 x 20 picture with 4 lines of 6 pixels samples pixel (10, 5).
void TestSampling::sampledPixel() {
    QImage image(50, 20, QImage::Format_RGB32);
    image.fill(Qt::black);
    image.setPixel(10, 5, qRgb(255, 0, 0));
    const PictureBuffer buffer = BufFromPic(image);
    const RasterMapping mapping = RasterMapping::make(50, 20, 4, 6, 0, 0);
    QVERIFY(qAbs(sampleLuma(buffer, mapping, 13, 7) - 0.299) < 1e-12);
    QCOMPARE(sampleLuma(buffer, mapping, 14, 7), 0.0);
    QCOMPARE(sampleLuma(buffer, mapping, 13, 8), 0.0);
}

QTEST_APPLESS_MAIN(TestSampling)
#include "TestSampling.moc"

// The 24-bit bottom-up buffer: rows padded to 4 bytes, bottom row first, blue, green, red.

#include "convert/PictureBuffer.h"

#include <QTest>

class TestPictureBuffer : public QObject {
    Q_OBJECT

private slots:
    void stride_data();
    void stride();
    void layout();
    void emptyImage();
};

void TestPictureBuffer::stride_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("stride");
    QTest::newRow("1") << 1 << 4;
    QTest::newRow("2") << 2 << 8;
    QTest::newRow("3") << 3 << 12;
    QTest::newRow("4") << 4 << 12;
    QTest::newRow("5") << 5 << 16;
    QTest::newRow("8") << 8 << 24;
}

void TestPictureBuffer::stride() {
    QFETCH(int, width);
    QFETCH(int, stride);
    QCOMPARE(PictureBuffer::strideFor(width), stride);
    QImage image(width, 3, QImage::Format_RGB32);
    image.fill(Qt::white);
    const PictureBuffer buffer = BufFromPic(image);
    QCOMPARE(buffer.stride, stride);
    QCOMPARE(buffer.size(), qsizetype(3 * stride));
}

void TestPictureBuffer::layout() {
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

void TestPictureBuffer::emptyImage() {
    QCOMPARE(BufFromPic(QImage()).size(), qsizetype(0));
}

QTEST_APPLESS_MAIN(TestPictureBuffer)
#include "TestPictureBuffer.moc"

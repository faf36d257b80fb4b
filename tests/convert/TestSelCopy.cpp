// The selection copy: cut at every edge of the picture, refused when it lies off the picture,
// the whole picture without a selection.

#include "convert/SelCopy.h"

#include <QTest>

class TestSelCopy : public QObject {
    Q_OBJECT

private slots:
    void copy_data();
    void copy();
    void invalidLeavesTarget();
    void everyFormatCopiesPixelForPixel_data();
    void everyFormatCopiesPixelForPixel();
};

// A 10 x 8 picture whose every pixel tells its own position.
static QImage numberedPicture() {
    QImage image(10, 8, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 20, y * 20, 100));
    return image;
}

void TestSelCopy::copy_data() {
    QTest::addColumn<bool>("visible");
    QTest::addColumn<QRect>("corners"); // x1, y1 as the top-left; x2, y2 as width, height
    QTest::addColumn<int>("result");
    QTest::addColumn<QRect>("copied"); // the part of the picture in the target

    const auto row = [](const char* name, bool visible, int x1, int y1, int x2, int y2, int result,
                        QRect copied) {
        QTest::newRow(name) << visible << QRect(x1, y1, x2, y2) << result << copied;
    };
    row("no selection", false, 3, 3, 5, 5, 0, QRect(0, 0, 10, 8));
    row("inside", true, 2, 3, 6, 7, 0, QRect(2, 3, 4, 4));
    row("corners reversed", true, 6, 7, 2, 3, 0, QRect(2, 3, 4, 4));
    row("beyond left", true, -3, 1, 4, 5, 0, QRect(0, 1, 4, 4));
    row("beyond top", true, 1, -2, 5, 3, 0, QRect(1, 0, 4, 3));
    row("beyond right", true, 7, 1, 15, 4, 0, QRect(7, 1, 3, 3));
    row("beyond bottom", true, 1, 5, 3, 12, 0, QRect(1, 5, 2, 3));
    row("beyond every edge", true, 20, 20, -5, -5, 0, QRect(0, 0, 10, 8));
    row("origin beyond right", true, 11, 0, 12, 5, -1, QRect());
    row("origin beyond bottom", true, 0, 9, 5, 12, -1, QRect());
    row("wholly left", true, -8, 0, -2, 5, -1, QRect());
    row("wholly above", true, 0, -9, 5, -1, -1, QRect());
    row("origin on right edge", true, 10, 0, 12, 5, 0, QRect());
    row("ending on left edge", true, -4, 0, 0, 5, 0, QRect());
    row("a point", true, 3, 3, 3, 3, 0, QRect());
}

void TestSelCopy::copy() {
    QFETCH(bool, visible);
    QFETCH(QRect, corners);
    QFETCH(int, result);
    QFETCH(QRect, copied);
    SelectionState selection;
    selection.AiraVisible = visible;
    selection.AiraX1 = static_cast<qint16>(corners.x());
    selection.AiraY1 = static_cast<qint16>(corners.y());
    selection.AiraX2 = static_cast<qint16>(corners.width());
    selection.AiraY2 = static_cast<qint16>(corners.height());
    const QImage picture = numberedPicture();
    QImage target;
    QCOMPARE(int(SelCopy(picture, selection, target)), result);
    if (result != 0)
        return;
    QCOMPARE(target.size(), copied.size());
    if (copied.isEmpty())
        return;
    QCOMPARE(target.format(), QImage::Format_RGB32);
    QCOMPARE(target.pixel(0, 0), picture.pixel(copied.topLeft()));
    QCOMPARE(target.pixel(copied.width() - 1, copied.height() - 1),
             picture.pixel(copied.bottomRight()));
}

void TestSelCopy::invalidLeavesTarget() {
    SelectionState selection{true, 11, 0, 12, 5};
    QImage target(1, 1, QImage::Format_RGB32);
    target.fill(Qt::red);
    QCOMPARE(int(SelCopy(numberedPicture(), selection, target)), -1);
    QCOMPARE(target.size(), QSize(1, 1));
    QCOMPARE(target.pixel(0, 0), qRgb(255, 0, 0));
}

void TestSelCopy::everyFormatCopiesPixelForPixel_data() {
    QTest::addColumn<int>("format");
    QTest::newRow("RGB32") << int(QImage::Format_RGB32);
    QTest::newRow("ARGB32") << int(QImage::Format_ARGB32);
    QTest::newRow("ARGB32 premultiplied") << int(QImage::Format_ARGB32_Premultiplied);
    QTest::newRow("RGB888") << int(QImage::Format_RGB888);
    QTest::newRow("Grayscale8") << int(QImage::Format_Grayscale8);
    QTest::newRow("Indexed8") << int(QImage::Format_Indexed8);
}

// The copy is made a band of rows at a time (a few hundred rows for a picture this wide): it is
// the same as converting the selected part in one piece.
void TestSelCopy::everyFormatCopiesPixelForPixel() {
    QFETCH(int, format);
    QImage picture(700, 300, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgba(x & 255, y & 255, (x * y) & 255, (x + y) & 255));
    picture = picture.convertToFormat(static_cast<QImage::Format>(format));
    const SelectionState selection{true, 13, 7, 690, 299};
    QImage target;
    QCOMPARE(int(SelCopy(picture, selection, target)), 0);
    const QImage expected = picture.copy(13, 7, 677, 292).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(target.format(), QImage::Format_RGB32);
    QCOMPARE(target, expected);
}

QTEST_APPLESS_MAIN(TestSelCopy)
#include "TestSelCopy.moc"

// The selection copy: cut at every edge of the picture, refused when it lies off the picture,
// the whole picture without a selection.

#include "convert/SelCopy.h"

#include <QTest>

Q_DECLARE_METATYPE(SelectionState)

class TestSelCopy : public QObject {
    Q_OBJECT

private slots:
    void copy_data() {
        QTest::addColumn<SelectionState>("selection");
        QTest::addColumn<int>("result");
        QTest::addColumn<QRect>("copied"); // the part of the picture in the target
        const auto row = [](const char* name, bool visible, int x1, int y1, int x2, int y2,
                            int result, QRect copied) {
            QTest::newRow(name) << SelectionState{visible, qint16(x1), qint16(y1), qint16(x2),
                                                  qint16(y2)}
                                << result << copied;
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

    void copy() {
        QFETCH(SelectionState, selection);
        QFETCH(int, result);
        QFETCH(QRect, copied);
        // A 10 x 8 picture whose every pixel tells its own position.
        QImage picture(10, 8, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, qRgb(x * 20, y * 20, 100));
        QImage target(1, 1, QImage::Format_RGB32);
        target.fill(Qt::red);
        QCOMPARE(int(SelCopy(picture, selection, target)), result);
        if (result != 0) { // refused: the target is left as it was
            QCOMPARE(target.size(), QSize(1, 1));
            QCOMPARE(target.pixel(0, 0), qRgb(255, 0, 0));
            return;
        }
        QCOMPARE(target.size(), copied.size());
        if (copied.isEmpty())
            return;
        QCOMPARE(target.format(), QImage::Format_RGB32);
        QCOMPARE(target.pixel(0, 0), picture.pixel(copied.topLeft()));
        QCOMPARE(target.pixel(copied.width() - 1, copied.height() - 1),
                 picture.pixel(copied.bottomRight()));
    }

    // The copy is made a band of rows at a time (a few hundred rows for a picture this wide): it
    // is the same as converting the selected part in one piece, whatever the picture's format.
    void everyFormatCopiesPixelForPixel() {
        QImage argb(700, 300, QImage::Format_ARGB32);
        for (int y = 0; y < argb.height(); ++y)
            for (int x = 0; x < argb.width(); ++x)
                argb.setPixel(x, y, qRgba(x & 255, y & 255, (x * y) & 255, (x + y) & 255));
        for (const QImage::Format format :
             {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied,
              QImage::Format_RGB888, QImage::Format_Grayscale8, QImage::Format_Indexed8}) {
            const QImage picture = argb.convertToFormat(format);
            QImage target;
            QCOMPARE(int(SelCopy(picture, {true, 13, 7, 690, 299}, target)), 0);
            QCOMPARE(target.format(), QImage::Format_RGB32);
            QVERIFY2(target == picture.copy(13, 7, 677, 292).convertToFormat(QImage::Format_RGB32),
                     qPrintable(QString::number(format)));
        }
    }
};

QTEST_APPLESS_MAIN(TestSelCopy)
#include "TestSelCopy.moc"

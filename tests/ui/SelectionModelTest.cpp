// The selection rectangle's rules: the drag, the ordering of corners, the clipped bars, the
// pulling of a side and the auto-scroll speeds.

#include "app/SelectionModel.h"

#include <QTest>

namespace {

SelectionModel dragged(int x1, int y1, int x2, int y2, QSize picture = QSize(200, 200),
                       Qt::MouseButton button = Qt::LeftButton) {
    SelectionModel m;
    m.setPictureSize(picture);
    m.pictureDown(qint16(x1), qint16(y1), button);
    m.pictureMove(qint16((x1 + x2) / 2 + 1), qint16((y1 + y2) / 2 + 1), button);
    m.pictureMove(qint16(x2), qint16(y2), button);
    m.pictureUp(qint16(x2), qint16(y2), button);
    return m;
}

// The stored corners (x1, y1)-(x2, y2) as a rectangle's top left and bottom right.
QRect corners(const SelectionModel& m) {
    const SelectionState& s = m.state();
    return QRect(QPoint(s.AiraX1, s.AiraY1), QPoint(s.AiraX2, s.AiraY2));
}

} // namespace

class SelectionModelTest : public QObject {
    Q_OBJECT
private slots:
    void dragStoresOrderedCorners() {
        const SelectionModel m = dragged(50, 40, 10, 90);
        QVERIFY(m.state().AiraVisible);
        QCOMPARE(corners(m), QRect(QPoint(10, 40), QPoint(50, 90)));
        QVERIFY(!m.AiraDrag());
        QVERIFY(m.barsVisible());
        QVERIFY(m.timerEnabled());
        // The bars lie inside the outline.
        QCOMPARE(m.bars()[0], QRect(10, 40, 40, 3));
        QCOMPARE(m.bars()[1], QRect(10, 87, 40, 3));
        QCOMPARE(m.bars()[2], QRect(10, 40, 3, 50));
        QCOMPARE(m.bars()[3], QRect(47, 40, 3, 50));
    }

    void nothingShown_data() {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<int>("button");
        QTest::newRow("click") << QPoint(30, 30) << QPoint(30, 30) << int(Qt::LeftButton);
        QTest::newRow("straight drag") << QPoint(30, 10) << QPoint(30, 60) << int(Qt::LeftButton);
        QTest::newRow("right button") << QPoint(10, 10) << QPoint(40, 40) << int(Qt::RightButton);
    }
    void nothingShown() {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(int, button);
        const SelectionModel m = dragged(from.x(), from.y(), to.x(), to.y(), QSize(100, 100),
                                         static_cast<Qt::MouseButton>(button));
        QVERIFY(!m.state().AiraVisible);
        QVERIFY(!m.barsVisible());
        QVERIFY(!m.timerEnabled());
        QVERIFY(!m.AiraDrag());
    }

    void barsAreClippedToThePicture() {
        const SelectionModel m = dragged(-10, -5, 130, 50, QSize(100, 60));
        QCOMPARE(corners(m), QRect(QPoint(-10, -5), QPoint(130, 50))); // stored as dragged
        QCOMPARE(m.bars()[0], QRect(0, 0, 100, 3));
        QCOMPARE(m.bars()[1], QRect(0, 47, 100, 3));
        QCOMPARE(m.bars()[3], QRect(97, 0, 3, 50));
    }

    void rectangleBeyondThePictureKeepsTheBars() {
        SelectionModel m = dragged(10, 10, 40, 40, QSize(100, 100));
        const auto before = m.bars();
        m.pictureDown(150, 10, Qt::LeftButton);
        m.pictureMove(170, 30, Qt::LeftButton);
        QVERIFY(m.state().AiraVisible);
        QCOMPARE(m.bars(), before);
    }

    void pullingStopsOnePixelShort_data() {
        QTest::addColumn<int>("bar");
        QTest::addColumn<QPoint>("by");
        QTest::addColumn<QRect>("corners");
        // Rectangle (10, 20)-(50, 80); T, B, L, R name the bar pulled.
        QTest::newRow("T below B") << 0 << QPoint(0, 100) << QRect(QPoint(10, 79), QPoint(50, 80));
        QTest::newRow("B above T") << 1 << QPoint(0, -100) << QRect(QPoint(10, 20), QPoint(50, 21));
        QTest::newRow("L past R") << 2 << QPoint(100, 0) << QRect(QPoint(49, 20), QPoint(50, 80));
        QTest::newRow("R past L") << 3 << QPoint(-100, 0) << QRect(QPoint(10, 20), QPoint(11, 80));
        QTest::newRow("T up outside")
            << 0 << QPoint(0, -30) << QRect(QPoint(10, -10), QPoint(50, 80));
    }
    void pullingStopsOnePixelShort() {
        QFETCH(int, bar);
        QFETCH(QPoint, by);
        SelectionModel m = dragged(10, 20, 50, 80);
        m.barDown(bar, 1, 1);
        m.barPull(bar, 1 + by.x(), 1 + by.y());
        QTEST(corners(m), "corners");
    }

    void pullFollowsThePointer() {
        SelectionModel m = dragged(10, 20, 50, 80);
        m.barDown(3, 1, 30);
        m.barPull(3, 6.5, 30); // 5.5 rounds to 6 (halves to even)
        QCOMPARE(m.state().AiraX2, qint16(56));
        QCOMPARE(m.bars()[3], QRect(53, 20, 3, 60));
        QCOMPARE(m.bars()[0].width(), 46);
    }

    void newPressHidesTheRectangle() {
        SelectionModel m = dragged(10, 20, 50, 80);
        m.pictureDown(5, 5, Qt::LeftButton);
        QVERIFY(!m.state().AiraVisible);
        QVERIFY(!m.barsVisible());
        QVERIFY(m.AiraDrag());
    }

    void autoScrollSteps_data() {
        QTest::addColumn<int>("p"); // the point's place in a view of 100 pixels
        QTest::addColumn<int>("step");
        QTest::newRow("inside") << 50 << 0;
        QTest::newRow("on the far edge") << 100 << 0;
        QTest::newRow("1 past") << 101 << 1;
        QTest::newRow("5 past") << 105 << 1;
        QTest::newRow("6 past") << 106 << 2;
        QTest::newRow("10 past") << 110 << 2;
        QTest::newRow("11 past") << 111 << 3;
        QTest::newRow("1 above") << -1 << 0;
        QTest::newRow("4 above") << -4 << 0;
        QTest::newRow("5 above") << -5 << -1;
        QTest::newRow("9 above") << -9 << -1;
        QTest::newRow("10 above") << -10 << -2;
    }
    void autoScrollSteps() {
        QFETCH(int, p);
        QTEST(SelectionModel::autoScrollStep(p, 100), "step");
    }
};

QTEST_APPLESS_MAIN(SelectionModelTest)
#include "SelectionModelTest.moc"

// The selection rectangle's rules: the drag, the ordering of corners, the clipped bars, the
// pulling of a side and the auto-scroll speeds.

#include "app/SelectionModel.h"

#include <QTest>

class SelectionModelTest : public QObject {
    Q_OBJECT
private slots:
    void dragStoresOrderedCorners();
    void clickLeavesItHidden();
    void straightDragShowsNothing();
    void barsLieInsideTheOutline();
    void barsAreClippedToThePicture();
    void rectangleBeyondThePictureKeepsTheBars();
    void pullingStopsOnePixelShort_data();
    void pullingStopsOnePixelShort();
    void pullFollowsThePointer();
    void newPressHidesTheRectangle();
    void otherButtonsDoNotDrag();
    void autoScrollSteps_data();
    void autoScrollSteps();
};

static SelectionModel dragged(int x1, int y1, int x2, int y2, QSize picture = QSize(200, 200)) {
    SelectionModel m;
    m.setPictureSize(picture);
    m.pictureDown(qint16(x1), qint16(y1), Qt::LeftButton);
    m.pictureMove(qint16((x1 + x2) / 2 + 1), qint16((y1 + y2) / 2 + 1), Qt::LeftButton);
    m.pictureMove(qint16(x2), qint16(y2), Qt::LeftButton);
    m.pictureUp(qint16(x2), qint16(y2), Qt::LeftButton);
    return m;
}

void SelectionModelTest::dragStoresOrderedCorners() {
    const SelectionModel m = dragged(50, 40, 10, 90);
    QVERIFY(m.state().AiraVisible);
    QCOMPARE(m.state().AiraX1, qint16(10));
    QCOMPARE(m.state().AiraY1, qint16(40));
    QCOMPARE(m.state().AiraX2, qint16(50));
    QCOMPARE(m.state().AiraY2, qint16(90));
    QVERIFY(!m.AiraDrag());
    QVERIFY(m.barsVisible());
    QVERIFY(m.timerEnabled());
}

void SelectionModelTest::clickLeavesItHidden() {
    SelectionModel m;
    m.setPictureSize(QSize(100, 100));
    m.pictureDown(30, 30, Qt::LeftButton);
    m.pictureUp(30, 30, Qt::LeftButton);
    QVERIFY(!m.state().AiraVisible);
    QVERIFY(!m.barsVisible());
    QVERIFY(!m.timerEnabled());
}

void SelectionModelTest::straightDragShowsNothing() {
    SelectionModel m;
    m.setPictureSize(QSize(100, 100));
    m.pictureDown(30, 10, Qt::LeftButton);
    m.pictureMove(30, 60, Qt::LeftButton);
    QVERIFY(!m.state().AiraVisible);
    m.pictureUp(30, 60, Qt::LeftButton);
    QVERIFY(!m.state().AiraVisible);
}

void SelectionModelTest::barsLieInsideTheOutline() {
    const SelectionModel m = dragged(10, 20, 50, 80);
    QCOMPARE(m.bars()[0], QRect(10, 20, 40, 3));
    QCOMPARE(m.bars()[1], QRect(10, 77, 40, 3));
    QCOMPARE(m.bars()[2], QRect(10, 20, 3, 60));
    QCOMPARE(m.bars()[3], QRect(47, 20, 3, 60));
}

void SelectionModelTest::barsAreClippedToThePicture() {
    // Picture 100 x 60; rectangle from (-10, -5) to (130, 50).
    const SelectionModel m = dragged(-10, -5, 130, 50, QSize(100, 60));
    QCOMPARE(m.state().AiraX1, qint16(-10));
    QCOMPARE(m.state().AiraX2, qint16(130)); // stored corners are not clipped
    QCOMPARE(m.bars()[0], QRect(0, 0, 100, 3));
    QCOMPARE(m.bars()[1], QRect(0, 47, 100, 3));
    QCOMPARE(m.bars()[3], QRect(97, 0, 3, 50));
}

void SelectionModelTest::rectangleBeyondThePictureKeepsTheBars() {
    SelectionModel m = dragged(10, 10, 40, 40, QSize(100, 100));
    const auto before = m.bars();
    m.pictureDown(150, 10, Qt::LeftButton);
    m.pictureMove(170, 30, Qt::LeftButton);
    QVERIFY(m.state().AiraVisible);
    QCOMPARE(m.bars(), before);
}

void SelectionModelTest::pullingStopsOnePixelShort_data() {
    QTest::addColumn<int>("bar");
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("dy");
    QTest::addColumn<QRect>("corners"); // x1, y1, x2, y2 as left, top, right, bottom
    // Rectangle (10, 20)-(50, 80).
    QTest::newRow("top below bottom") << 0 << 0 << 100 << QRect(QPoint(10, 79), QPoint(50, 80));
    QTest::newRow("bottom above top") << 1 << 0 << -100 << QRect(QPoint(10, 20), QPoint(50, 21));
    QTest::newRow("left past right") << 2 << 100 << 0 << QRect(QPoint(49, 20), QPoint(50, 80));
    QTest::newRow("right past left") << 3 << -100 << 0 << QRect(QPoint(10, 20), QPoint(11, 80));
    QTest::newRow("top up outside") << 0 << 0 << -30 << QRect(QPoint(10, -10), QPoint(50, 80));
}

void SelectionModelTest::pullingStopsOnePixelShort() {
    QFETCH(int, bar);
    QFETCH(int, dx);
    QFETCH(int, dy);
    QFETCH(QRect, corners);
    SelectionModel m = dragged(10, 20, 50, 80);
    m.barDown(bar, 1, 1);
    m.barPull(bar, 1 + dx, 1 + dy);
    QCOMPARE(m.state().AiraX1, qint16(corners.left()));
    QCOMPARE(m.state().AiraY1, qint16(corners.top()));
    QCOMPARE(m.state().AiraX2, qint16(corners.right()));
    QCOMPARE(m.state().AiraY2, qint16(corners.bottom()));
}

void SelectionModelTest::pullFollowsThePointer() {
    SelectionModel m = dragged(10, 20, 50, 80);
    m.barDown(3, 1, 30);
    m.barPull(3, 6.5, 30); // 5.5 rounds to 6 (halves to even)
    QCOMPARE(m.state().AiraX2, qint16(56));
    QCOMPARE(m.bars()[3], QRect(53, 20, 3, 60));
    QCOMPARE(m.bars()[0].width(), 46);
}

void SelectionModelTest::newPressHidesTheRectangle() {
    SelectionModel m = dragged(10, 20, 50, 80);
    m.pictureDown(5, 5, Qt::LeftButton);
    QVERIFY(!m.state().AiraVisible);
    QVERIFY(!m.barsVisible());
    QVERIFY(m.AiraDrag());
}

void SelectionModelTest::otherButtonsDoNotDrag() {
    SelectionModel m;
    m.setPictureSize(QSize(100, 100));
    m.pictureDown(10, 10, Qt::RightButton);
    QVERIFY(!m.AiraDrag());
    m.pictureMove(40, 40, Qt::RightButton);
    QVERIFY(!m.state().AiraVisible);
}

void SelectionModelTest::autoScrollSteps_data() {
    QTest::addColumn<int>("p");
    QTest::addColumn<int>("step");
    // View 100 pixels; p is the point's place in the view.
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

void SelectionModelTest::autoScrollSteps() {
    QFETCH(int, p);
    QFETCH(int, step);
    QCOMPARE(SelectionModel::autoScrollStep(p, 100), step);
}

QTEST_APPLESS_MAIN(SelectionModelTest)
#include "SelectionModelTest.moc"

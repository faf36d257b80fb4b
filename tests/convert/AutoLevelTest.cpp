// The automatic tone range: the grey scan and the knob positions it gives.

#include "convert/AutoLevel.h"
#include "convert/SliderModel.h"

#include <QTest>

class AutoLevelTest : public QObject {
    Q_OBJECT
private slots:
    void noPictureGoesToBothEnds();
    void knobPositions_data();
    void knobPositions();
    void scanUsesTheWeightedGrey();
    void invalidSelectionKeepsTheKnobs();
    void selectionLimitsTheScan();
    void uniformGreyLeavesTheKnobsTouching();
};

static QImage filled(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

void AutoLevelTest::noPictureGoesToBothEnds() {
    qint16 low = 500;
    qint16 high = 900;
    QCOMPARE(AutoLevel::AutoLevel(nullptr, SelectionState(), low, high), AutoLevel::Outcome::Set);
    QCOMPARE(low, qint16(0));
    QCOMPARE(high, qint16(2054));
    const QImage none;
    low = 500;
    QCOMPARE(AutoLevel::AutoLevel(&none, SelectionState(), low, high), AutoLevel::Outcome::Set);
    QCOMPARE(low, qint16(0));
}

void AutoLevelTest::knobPositions_data() {
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");
    // u = 1695 / 256 = 6.62109375 twips a level.
    QTest::newRow("black and white") << 0 << 255 << 0 << 1868;   // 255u + 180 = 1868.38
    QTest::newRow("grey 128") << 128 << 128 << 848 << 1028;      // 847.5 and 1027.5, even
    QTest::newRow("all black") << 0 << 0 << 0 << 180;            // the knob width
    QTest::newRow("all white") << 255 << 255 << 1688 << 1868;    // 1688.38
    QTest::newRow("grey 100..200") << 100 << 200 << 662 << 1504; // 662.1, 1324.2 + 180
}

void AutoLevelTest::knobPositions() {
    QFETCH(int, min);
    QFETCH(int, max);
    AutoLevel::GreyRange range;
    range.min = static_cast<qint16>(min);
    range.max = static_cast<qint16>(max);
    QFETCH(int, low);
    QFETCH(int, high);
    qint16 gotLow = -1;
    qint16 gotHigh = -1;
    AutoLevel::positionsFor(range, gotLow, gotHigh);
    QCOMPARE(int(gotLow), low);
    QCOMPARE(int(gotHigh), high);
}

void AutoLevelTest::scanUsesTheWeightedGrey() {
    QImage image(2, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(10, 20, 30));   // 0.587*20 + 0.299*10 + 0.114*30 = 18.15
    image.setPixel(1, 0, qRgb(200, 100, 50)); // 58.7 + 59.8 + 5.7 = 124.2
    const AutoLevel::GreyRange range = AutoLevel::scan(BufFromPic(image));
    QCOMPARE(range.min, qint16(18));
    QCOMPARE(range.max, qint16(124));
}

void AutoLevelTest::invalidSelectionKeepsTheKnobs() {
    const QImage image = filled(10, 10, qRgb(0, 0, 0));
    SelectionState selection;
    selection.AiraVisible = true;
    selection.AiraX1 = 20;
    selection.AiraY1 = 20;
    selection.AiraX2 = 30;
    selection.AiraY2 = 30;
    qint16 low = 300;
    qint16 high = 700;
    QCOMPARE(AutoLevel::AutoLevel(&image, selection, low, high),
             AutoLevel::Outcome::InvalidSelection);
    QCOMPARE(low, qint16(300));
    QCOMPARE(high, qint16(700));
}

void AutoLevelTest::selectionLimitsTheScan() {
    QImage image = filled(20, 10, qRgb(255, 255, 255));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            image.setPixel(x, y, qRgb(128, 128, 128));
    SelectionState selection;
    selection.AiraVisible = true;
    selection.AiraX1 = 2;
    selection.AiraY1 = 2;
    selection.AiraX2 = 8;
    selection.AiraY2 = 8;
    qint16 low = 0;
    qint16 high = 0;
    QCOMPARE(AutoLevel::AutoLevel(&image, selection, low, high), AutoLevel::Outcome::Set);
    QCOMPARE(low, qint16(848));
    QCOMPARE(high, qint16(1028));
}

void AutoLevelTest::uniformGreyLeavesTheKnobsTouching() {
    const QImage image = filled(4, 4, qRgb(128, 128, 128));
    qint16 low = 0;
    qint16 high = 0;
    AutoLevel::AutoLevel(&image, SelectionState(), low, high);
    SliderModel slider;
    slider.placeStored(low, high);
    QCOMPARE(slider.left(0), 848.0f);
    QCOMPARE(slider.left(1), 848.0f + 180.0f);
    // 848 / 16.95 = 50.03 and 848 / 16.95 + 1 = 51.03: one apart.
    QCOMPARE(slider.lowText(), QStringLiteral("50"));
    QCOMPARE(slider.highText(), QStringLiteral("51"));
    const LevelPair levels = SliderModel::levelPair(slider.storedLow(), slider.storedHigh());
    QCOMPARE(levels.hi - levels.lo, 1);
}

QTEST_APPLESS_MAIN(AutoLevelTest)
#include "AutoLevelTest.moc"

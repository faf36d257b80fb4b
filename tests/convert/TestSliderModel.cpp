// The level pair from the knob positions: a level is (2055 - 180 - 180) / 256 = 6.62109375
// twips; lo = floor(Low / unit), hi = floor((High - 180) / unit), hi always above lo.

#include "convert/SliderModel.h"

#include <QTest>

class TestSliderModel : public QObject {
    Q_OBJECT

private slots:
    void initialKnobs();
    void levelPair_data();
    void levelPair();
};

void TestSliderModel::initialKnobs() {
    const SliderModel slider;
    QCOMPARE(SliderModel::LevelUnit(), 6.62109375);
    QCOMPARE(slider.storedLow(), qint16(0));
    QCOMPARE(slider.storedHigh(), qint16(1874));
}

void TestSliderModel::levelPair_data() {
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");
    QTest::addColumn<int>("lo");
    QTest::addColumn<int>("hi");
    // 1694 / 6.62109375 = 255.85
    QTest::newRow("knobs at the ends") << 0 << 1874 << 0 << 255;
    // 331 / unit = 49.99; (842 - 180) / unit = 99.98
    QTest::newRow("middle") << 331 << 842 << 49 << 99;
    QTest::newRow("touching at the left end") << 0 << 180 << 0 << 1;
    // 1324 / unit = 199.97 for both knobs
    QTest::newRow("touching") << 1324 << 1504 << 199 << 200;
    QTest::newRow("touching at the top") << 1694 << 1874 << 254 << 255;
    QTest::newRow("low left of the track") << -10 << 1874 << 0 << 255;
}

void TestSliderModel::levelPair() {
    QFETCH(int, low);
    QFETCH(int, high);
    QFETCH(int, lo);
    QFETCH(int, hi);
    const LevelPair pair =
        SliderModel::levelPair(static_cast<qint16>(low), static_cast<qint16>(high));
    QCOMPARE(int(pair.lo), lo);
    QCOMPARE(int(pair.hi), hi);
}

QTEST_APPLESS_MAIN(TestSliderModel)
#include "TestSliderModel.moc"

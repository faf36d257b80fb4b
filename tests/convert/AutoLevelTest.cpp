// The level slider and the automatic tone range. A level is (2055 - 180 - 180) / 256 = 6.62109375
// twips; the pair is lo = floor(Low / unit), hi = floor((High - 180) / unit), hi always above lo.
// The automatic range scans the greys and places the knobs on them.

#include "convert/AutoLevel.h"
#include "convert/SliderModel.h"

#include <QTest>

static QImage filled(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

class AutoLevelTest : public QObject {
    Q_OBJECT
private slots:
    void levelPair() {
        // Low, High and the levels lo, hi they give.
        const int cases[][4] = {
            {0, 1874, 0, 255},      // the ends: 1694 / unit = 255.85
            {331, 842, 49, 99},     // 331 / unit = 49.99; (842 - 180) / unit = 99.98
            {0, 180, 0, 1},         // touching at the left end
            {1324, 1504, 199, 200}, // touching: 1324 / unit = 199.97 for both knobs
            {1694, 1874, 254, 255}, // touching at the top
            {-10, 1874, 0, 255},    // low left of the track
        };
        for (const auto& c : cases) {
            const LevelPair pair =
                SliderModel::levelPair(static_cast<qint16>(c[0]), static_cast<qint16>(c[1]));
            QCOMPARE(int(pair.lo), c[2]);
            QCOMPARE(int(pair.hi), c[3]);
        }
    }

    void noPictureGoesToBothEnds() {
        const QImage none;
        for (const QImage* picture : {static_cast<const QImage*>(nullptr), &none}) {
            qint16 low = 500;
            qint16 high = 900;
            QCOMPARE(AutoLevel::AutoLevel(picture, {}, low, high), AutoLevel::Outcome::Set);
            QCOMPARE(low, qint16(0));
            QCOMPARE(high, qint16(2054));
        }
    }

    void knobPositions() {
        // Grey min, max and the knobs: u = 1695 / 256 = 6.62109375 twips a level.
        const int cases[][4] = {
            {0, 255, 0, 1868},      // black and white: 255u + 180 = 1868.38
            {128, 128, 848, 1028},  // 847.5 and 1027.5, to even
            {0, 0, 0, 180},         // all black: the knob width
            {255, 255, 1688, 1868}, // all white: 1688.38
            {100, 200, 662, 1504},  // 662.1, 1324.2 + 180
        };
        for (const auto& c : cases) {
            qint16 low = -1;
            qint16 high = -1;
            AutoLevel::positionsFor({qint16(c[0]), qint16(c[1])}, low, high);
            QCOMPARE(int(low), c[2]);
            QCOMPARE(int(high), c[3]);
        }
    }

    void scanUsesTheWeightedGrey() {
        QImage image(2, 1, QImage::Format_RGB32);
        image.setPixel(0, 0, qRgb(10, 20, 30));   // 0.587*20 + 0.299*10 + 0.114*30 = 18.15
        image.setPixel(1, 0, qRgb(200, 100, 50)); // 58.7 + 59.8 + 5.7 = 124.2
        const AutoLevel::GreyRange range = AutoLevel::scan(BufFromPic(image));
        QCOMPARE(range.min, qint16(18));
        QCOMPARE(range.max, qint16(124));
    }

    void invalidSelectionKeepsTheKnobs() {
        const QImage image = filled(10, 10, qRgb(0, 0, 0));
        qint16 low = 300;
        qint16 high = 700;
        QCOMPARE(AutoLevel::AutoLevel(&image, {true, 20, 20, 30, 30}, low, high),
                 AutoLevel::Outcome::InvalidSelection);
        QCOMPARE(low, qint16(300));
        QCOMPARE(high, qint16(700));
    }

    // Grey 128 inside the selection, white beyond it.
    void selectionLimitsTheScan() {
        QImage image = filled(20, 10, qRgb(255, 255, 255));
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                image.setPixel(x, y, qRgb(128, 128, 128));
        qint16 low = 0;
        qint16 high = 0;
        QCOMPARE(AutoLevel::AutoLevel(&image, {true, 2, 2, 8, 8}, low, high),
                 AutoLevel::Outcome::Set);
        QCOMPARE(low, qint16(848));
        QCOMPARE(high, qint16(1028));
    }
};

QTEST_APPLESS_MAIN(AutoLevelTest)
#include "AutoLevelTest.moc"

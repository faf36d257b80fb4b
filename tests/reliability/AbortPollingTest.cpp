// An abort requested while a run still measures and draws its palette ends the run there: the
// glyph source stops asking for glyphs, nothing is handed off, and the outcome is an abort. The
// same for an abort while the run walks the whole picture before its first character (the
// selection copy, the pixel buffer and the brightness plane): each looks at the request once per
// band of rows, so a picture of millions of pixels stops within a band.

#include "common/HandGlyphs.h"
#include "common/RecordingServices.h"
#include "convert/AbortPoll.h"
#include "convert/BandWork.h"
#include "convert/ConvDispatch.h"
#include "convert/PictureBuffer.h"
#include "convert/SelCopy.h"
#include "convert/SourcePlane.h"

#include <QImage>
#include <QTest>

#include <algorithm>
#include <vector>

namespace {

// Counts every glyph call and asks for the abort once a number of them were made.
class CountingGlyphs : public HandGlyphs {
public:
    CountingGlyphs() : HandGlyphs(2) {}
    mutable int calls = 0;
    double textWidth(const QString& text) const override {
        ++calls;
        return HandGlyphs::textWidth(text);
    }
    GlyphBitmap drawCharacter(const QString& c, int width, int height) const override {
        ++calls;
        return HandGlyphs::drawCharacter(c, width, height);
    }
};

class AbortingServices : public RecordingServices {
public:
    const CountingGlyphs* glyphs = nullptr;
    int abortAtCalls = 0;
    bool abortRequested() override { return glyphs->calls >= abortAtCalls; }
};

// 400 characters, each a 2 x 2 checker: a palette that takes many glyph calls to measure.
QString checkerPalette(CountingGlyphs& glyphs) {
    QString palette;
    for (char16_t c = u'A'; c < u'A' + 400; ++c) {
        glyphs.add(QString(QChar(c)), {QStringLiteral("#."), QStringLiteral(".#")});
        palette += QChar(c);
    }
    return palette;
}

// Counts the looks at the abort request and says yes from the stopAt-th look on.
class LookCountingServices : public RecordingServices {
public:
    int looks = 0;
    int stopAt = 1 << 30;
    bool abortRequested() override { return ++looks >= stopAt; }
};

// A poll that counts its looks and says stop from the stopAt-th on.
AbortPoll countingPoll(int& looks, int stopAt) {
    return [&looks, stopAt] { return ++looks >= stopAt; };
}

QImage grey(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(qRgb(90, 120, 150));
    return picture;
}

// Every row and column different, so that a band written to the wrong place shows.
QImage varied(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb((x * 7 + y) % 256, (y * 3) % 256, (x ^ y) % 256));
    return picture;
}

} // namespace

class AbortPollingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void abortWhileMeasuring_data();
    void abortWhileMeasuring();
    void oneLookPerBand_data();
    void oneLookPerBand();
    void abortWhileWalkingThePicture_data();
    void abortWhileWalkingThePicture();
    void bandsOnSeveralThreads();
    void abortWhileMeasuringOnTwoThreads();
};

// The looks are counted as one thread makes them: a run on several threads looks only before the
// bands its calling thread takes (see bandsOnSeveralThreads).
void AbortPollingTest::initTestCase() {
    qputenv("CHARLOOM_THREADS", "1");
}

void AbortPollingTest::abortWhileMeasuring_data() {
    QTest::addColumn<int>("mode");
    QTest::newRow("normal") << 0;
    QTest::newRow("two-level") << 1;
}

void AbortPollingTest::abortWhileMeasuring() {
    QFETCH(int, mode);
    CountingGlyphs glyphs;
    const QString palette = checkerPalette(glyphs);
    SettingsRecord settings;
    settings.ConvMode = static_cast<qint16>(mode);
    settings.TextTable1 = palette;
    settings.TextTable2 = palette;
    settings.TextLines = 2;
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    AbortingServices services;
    services.glyphs = &glyphs;
    services.abortAtCalls = 100;
    const ConversionInput input{settings, &picture, SelectionState{}, glyphs, LevelPair{0, 255}};
    QCOMPARE(ConvDispatch(input, services).outcome, ConvOutcome::Aborted);
    QVERIFY(!services.handedOff);
    // Stopped within a few calls of the request, long before all 400 glyphs were measured.
    QVERIFY2(glyphs.calls < 100 + 16, qPrintable(QString::number(glyphs.calls)));
    // Without the request the same run finishes.
    services.abortAtCalls = 1 << 30;
    glyphs.calls = 0;
    QCOMPARE(ConvDispatch(input, services).outcome, ConvOutcome::HandedOff);
    QVERIFY(glyphs.calls > 400);
}

void AbortPollingTest::oneLookPerBand_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("rowsPerLook");
    // 65536 pixels a band: floor(65536 / width) rows, at least one.
    QTest::newRow("4000 x 3000") << 4000 << 3000 << 16;
    QTest::newRow("1000 x 1000") << 1000 << 1000 << 65;
    QTest::newRow("70000 wide") << 70000 << 3 << 1;
    QTest::newRow("1 x 200000") << 1 << 200000 << 65536;
}

// Each step looks once before every band, so a band of about 65536 pixels is the most it does
// between two looks; stopped, it returns at once with nothing.
void AbortPollingTest::oneLookPerBand() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, rowsPerLook);
    QCOMPARE(AbortPolling::rowsPerLook(width), rowsPerLook);
    const int bands = (height + rowsPerLook - 1) / rowsPerLook;
    const QImage picture = grey(width, height);

    // A whole picture already in the copy's format is shared at once; any other is copied.
    int looks = 0;
    QImage copy;
    QCOMPARE(int(SelCopy(picture, SelectionState{}, copy, countingPoll(looks, 1 << 30))), 0);
    QCOMPARE(looks, 0);
    QCOMPARE(copy.constBits(), picture.constBits());
    const QImage packed = picture.convertToFormat(QImage::Format_RGB888);
    QCOMPARE(int(SelCopy(packed, SelectionState{}, copy, countingPoll(looks, 1 << 30))), 0);
    QCOMPARE(looks, bands);
    QCOMPARE(copy, picture);
    looks = 0;
    const PictureBuffer buffer = BufFromPic(copy, countingPoll(looks, 1 << 30));
    QCOMPARE(looks, bands);
    QCOMPARE(buffer.size(), qsizetype(height) * PictureBuffer::strideFor(width));
    looks = 0;
    const RasterMapping raster = RasterMapping::make(width, height, height, 1, 0, 0);
    const SourcePlane plane(buffer, raster, LevelPair{}, raster.colsPx,
                            countingPoll(looks, 1 << 30));
    QVERIFY(!plane.stopped());
    QCOMPARE(looks, bands);

    // Stopped at the last band.
    looks = 0;
    QImage stoppedCopy;
    QCOMPARE(int(SelCopy(packed, SelectionState{}, stoppedCopy, countingPoll(looks, bands))),
             int(SelCopyStopped));
    QVERIFY(stoppedCopy.isNull());
    looks = 0;
    QCOMPARE(BufFromPic(copy, countingPoll(looks, bands)).size(), qsizetype(0));
    QCOMPARE(looks, bands);
    looks = 0;
    const SourcePlane stoppedPlane(buffer, raster, LevelPair{}, raster.colsPx,
                                   countingPoll(looks, bands));
    QVERIFY(stoppedPlane.stopped());
    QCOMPARE(looks, bands);
}

void AbortPollingTest::abortWhileWalkingThePicture_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("stopAt");
    // 1000 x 1000 at 500 lines of 2-pixel rows: each of the three steps looks 16 times (65
    // rows a band), in the order copy, buffer, plane.
    for (const int mode : {0, 1}) {
        const char* name = mode == 0 ? "normal" : "two-level";
        QTest::addRow("%s, first look of the copy", name) << mode << 1;
        QTest::addRow("%s, in the copy", name) << mode << 9;
        QTest::addRow("%s, in the pixel buffer", name) << mode << 17 + 7;
        QTest::addRow("%s, in the brightness plane", name) << mode << 33 + 11;
    }
}

void AbortPollingTest::abortWhileWalkingThePicture() {
    QFETCH(int, mode);
    QFETCH(int, stopAt);
    HandGlyphs glyphs(2);
    glyphs.addBlank(QStringLiteral(" "), 1);
    glyphs.add(QStringLiteral("#"), {QStringLiteral("#"), QStringLiteral("#")});
    SettingsRecord settings;
    settings.ConvMode = static_cast<qint16>(mode);
    settings.TextTable1 = QStringLiteral(" #");
    settings.TextTable2 = QStringLiteral(" #");
    settings.TextLines = 500;
    settings.LineSpace = 0;
    // Packed pixels, so that the selection is copied (a whole picture in the copy's format is
    // shared without a look).
    const QImage picture = grey(1000, 1000).convertToFormat(QImage::Format_RGB888);
    const ConversionInput input{settings, &picture, SelectionState{}, glyphs, LevelPair{0, 255}};

    LookCountingServices services;
    services.stopAt = stopAt;
    QCOMPARE(ConvDispatch(input, services).outcome, ConvOutcome::Aborted);
    QVERIFY(!services.handedOff);
    QVERIFY(services.percents.isEmpty());
    // It stopped at the look that saw the request and took the request.
    QCOMPARE(services.looks, stopAt);
    QVERIFY(services.yields >= 1);

    // Without the request the same run looks 3 x 16 times and finishes (once per mode).
    if (stopAt != 1)
        return;
    LookCountingServices finishing;
    QCOMPARE(ConvDispatch(input, finishing).outcome, ConvOutcome::HandedOff);
    QVERIFY2(finishing.looks >= 3 * 16, qPrintable(QString::number(finishing.looks)));
}

// Spread over threads, every band is done exactly once and the result is the one thread's; only
// the calling thread looks at the poll, and a stop there ends the walk with nothing.
void AbortPollingTest::bandsOnSeveralThreads() {
    for (const int threads : {2, 3, 5}) {
        for (const qint64 rows : {qint64(1), qint64(7), qint64(1000)}) {
            std::vector<int> done(static_cast<size_t>(rows), 0);
            int looks = 0;
            QVERIFY(BandWork::run(rows, 3, threads, countingPoll(looks, 1 << 30),
                                  [&](qint64 first, qint64 last) {
                                      for (qint64 r = first; r < last; ++r)
                                          ++done[static_cast<size_t>(r)];
                                  }));
            QVERIFY(std::all_of(done.begin(), done.end(), [](int n) { return n == 1; }));
            QVERIFY(looks >= 1 && looks <= (rows + 2) / 3);
        }
    }

    const QImage copy = varied(1000, 1000);
    const PictureBuffer one = BufFromPic(copy);
    const RasterMapping raster = RasterMapping::make(1000, 1000, 700, 1, 0, 0);
    const LevelPair tone{20, 230};
    const SourcePlane onePlane(one, raster, tone, raster.colsPx);
    for (const int threads : {2, 3}) {
        int looks = 0;
        const PictureBuffer spread = BufFromPic(copy, countingPoll(looks, 1 << 30), threads);
        QVERIFY(spread.bytes == one.bytes);
        QVERIFY(looks >= 1 && looks <= 16);
        const SourcePlane plane(one, raster, tone, raster.colsPx, {}, threads);
        QCOMPARE(plane.width(), onePlane.width());
        for (qint32 yv = 0; yv < raster.rowsPx; ++yv)
            QVERIFY(std::equal(plane.row(yv), plane.row(yv) + plane.width(), onePlane.row(yv)));

        looks = 0;
        QCOMPARE(BufFromPic(copy, countingPoll(looks, 1), threads).size(), qsizetype(0));
        QCOMPARE(looks, 1);
        looks = 0;
        QVERIFY(SourcePlane(one, raster, tone, raster.colsPx, countingPoll(looks, 1), threads)
                    .stopped());
        QCOMPARE(looks, 1);
    }
}

// A run on two threads measures its palette on both: an abort seen while measuring still ends
// the run at once, with nothing handed off.
void AbortPollingTest::abortWhileMeasuringOnTwoThreads() {
    qputenv("CHARLOOM_THREADS", "2");
    CountingGlyphs glyphs;
    const QString palette = checkerPalette(glyphs);
    SettingsRecord settings;
    settings.TextTable1 = palette;
    settings.TextLines = 500;
    settings.LineSpace = 0;
    const QImage picture = varied(1000, 1000);
    AbortingServices services;
    services.glyphs = &glyphs;
    services.abortAtCalls = 500;
    const ConversionInput input{settings, &picture, SelectionState{}, glyphs, LevelPair{0, 255}};
    const ConvOutcome outcome = ConvDispatch(input, services).outcome;
    qputenv("CHARLOOM_THREADS", "1");
    QCOMPARE(outcome, ConvOutcome::Aborted);
    QVERIFY(!services.handedOff);
    QVERIFY2(glyphs.calls < 500 + 16, qPrintable(QString::number(glyphs.calls)));
}

QTEST_APPLESS_MAIN(AbortPollingTest)
#include "AbortPollingTest.moc"

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

// Counts the looks at the abort request and says yes from the stopAt-th look on.
class LookCountingServices : public RecordingServices {
public:
    int looks = 0;
    int stopAt = 1 << 30;
    bool abortRequested() override { return ++looks >= stopAt; }
};

constexpr int never = 1 << 30;

// A poll that counts its looks and says stop from the stopAt-th on.
AbortPoll countingPoll(int& looks, int stopAt) {
    return [&looks, stopAt] { return ++looks >= stopAt; };
}

// Every row and column different, so that a band written to the wrong place shows.
QImage varied(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb((x * 7 + y) % 256, (y * 3) % 256, (x ^ y) % 256));
    return picture;
}

SettingsRecord settingsFor(int mode, const QString& palette, int lines) {
    SettingsRecord settings;
    settings.ConvMode = static_cast<qint16>(mode);
    settings.TextTable1 = palette;
    settings.TextTable2 = palette;
    settings.TextLines = static_cast<qint16>(lines);
    settings.LineSpace = 0;
    return settings;
}

} // namespace

class AbortPollingTest : public QObject {
    Q_OBJECT

private slots:
    // The looks are counted as one thread makes them: a run on several threads looks only before
    // the bands its calling thread takes (see bandsOnSeveralThreads).
    void init() { qputenv("CHARLOOM_THREADS", "1"); }

    void abortWhileMeasuring_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("threads");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("abortAt");
        QTest::newRow("normal") << 0 << 1 << 40 << 2 << 100;
        QTest::newRow("two-level") << 1 << 1 << 40 << 2 << 100;
        // On two threads the calling thread measures while the other takes in the picture.
        QTest::newRow("normal, two threads") << 0 << 2 << 1000 << 500 << 500;
    }

    void abortWhileMeasuring() {
        QFETCH(int, mode);
        QFETCH(int, threads);
        QFETCH(int, size);
        QFETCH(int, lines);
        QFETCH(int, abortAt);
        qputenv("CHARLOOM_THREADS", QByteArray::number(threads));
        // 400 characters, each a 2 x 2 checker: a palette that takes many glyph calls to measure.
        CountingGlyphs glyphs;
        QString palette;
        for (char16_t c = u'A'; c < u'A' + 400; ++c) {
            glyphs.add(QString(QChar(c)), {QStringLiteral("#."), QStringLiteral(".#")});
            palette += QChar(c);
        }
        const SettingsRecord settings = settingsFor(mode, palette, lines);
        const QImage picture = varied(size, size);
        AbortingServices services;
        services.glyphs = &glyphs;
        services.abortAtCalls = abortAt;
        const ConversionInput input{settings, &picture, SelectionState{}, glyphs,
                                    LevelPair{0, 255}};
        QCOMPARE(ConvDispatch(input, services).outcome, ConvOutcome::Aborted);
        QVERIFY(!services.handedOff);
        // Stopped within a few calls of the request, long before all 400 glyphs were measured.
        QVERIFY2(glyphs.calls < abortAt + 16, qPrintable(QString::number(glyphs.calls)));
        // Without the request the same run finishes.
        services.abortAtCalls = never;
        glyphs.calls = 0;
        QCOMPARE(ConvDispatch(input, services).outcome, ConvOutcome::HandedOff);
        QVERIFY(glyphs.calls > 400);
    }

    void oneLookPerBand_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("rowsPerLook");
        // 65536 pixels a band: floor(65536 / width) rows, at least one.
        QTest::newRow("4000 x 3000") << 4000 << 3000 << 16;
        QTest::newRow("1000 x 1000") << 1000 << 1000 << 65;
        QTest::newRow("70000 wide") << 70000 << 3 << 1;
        QTest::newRow("1 x 200000") << 1 << 200000 << 65536;
    }

    // Each step looks once before every band, so a band of about 65536 pixels is the most it
    // does between two looks; stopped at the last band, it returns at once with nothing.
    void oneLookPerBand() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, rowsPerLook);
        QCOMPARE(AbortPolling::rowsPerLook(width), rowsPerLook);
        const int bands = (height + rowsPerLook - 1) / rowsPerLook;
        QImage picture(width, height, QImage::Format_RGB32);
        picture.fill(qRgb(90, 120, 150));

        // A whole picture already in the copy's format is shared at once; any other is copied.
        int looks = 0;
        QImage copy;
        QCOMPARE(int(SelCopy(picture, SelectionState{}, copy, countingPoll(looks, never))), 0);
        QCOMPARE(looks, 0);
        QCOMPARE(copy.constBits(), picture.constBits());
        const QImage packed = picture.convertToFormat(QImage::Format_RGB888);
        QCOMPARE(int(SelCopy(packed, SelectionState{}, copy, countingPoll(looks, never))), 0);
        QCOMPARE(looks, bands);
        QCOMPARE(copy, picture);
        looks = 0;
        const PictureBuffer buffer = BufFromPic(copy, countingPoll(looks, never));
        QCOMPARE(looks, bands);
        QCOMPARE(buffer.size(), qsizetype(height) * PictureBuffer::strideFor(width));
        looks = 0;
        const RasterMapping raster = RasterMapping::make(width, height, height, 1, 0, 0);
        QVERIFY(!SourcePlane(buffer, raster, LevelPair{}, raster.colsPx, countingPoll(looks, never))
                     .stopped());
        QCOMPARE(looks, bands);

        looks = 0;
        QImage stoppedCopy;
        QCOMPARE(int(SelCopy(packed, SelectionState{}, stoppedCopy, countingPoll(looks, bands))),
                 int(SelCopyStopped));
        QVERIFY(stoppedCopy.isNull());
        looks = 0;
        QCOMPARE(BufFromPic(copy, countingPoll(looks, bands)).size(), qsizetype(0));
        QCOMPARE(looks, bands);
        looks = 0;
        QVERIFY(SourcePlane(buffer, raster, LevelPair{}, raster.colsPx, countingPoll(looks, bands))
                    .stopped());
        QCOMPARE(looks, bands);
    }

    void abortWhileWalkingThePicture_data() {
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

    void abortWhileWalkingThePicture() {
        QFETCH(int, mode);
        QFETCH(int, stopAt);
        HandGlyphs glyphs(2);
        glyphs.addBlank(QStringLiteral(" "), 1);
        glyphs.add(QStringLiteral("#"), {QStringLiteral("#"), QStringLiteral("#")});
        const SettingsRecord settings = settingsFor(mode, QStringLiteral(" #"), 500);
        // Packed pixels, so that the selection is copied rather than shared without a look.
        QImage picture(1000, 1000, QImage::Format_RGB888);
        picture.fill(qRgb(90, 120, 150));
        const ConversionInput input{settings, &picture, SelectionState{}, glyphs,
                                    LevelPair{0, 255}};

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

    // Spread over threads, every band is done exactly once and the result is the one thread's;
    // only the calling thread looks at the poll, and a stop there ends the walk with nothing.
    void bandsOnSeveralThreads() {
        for (const int threads : {2, 3, 5}) {
            for (const qint64 rows : {qint64(1), qint64(7), qint64(1000)}) {
                std::vector<int> done(static_cast<size_t>(rows), 0);
                int looks = 0;
                QVERIFY(BandWork::run(rows, 3, threads, countingPoll(looks, never),
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
            const PictureBuffer spread = BufFromPic(copy, countingPoll(looks, never), threads);
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
};

QTEST_APPLESS_MAIN(AbortPollingTest)
#include "AbortPollingTest.moc"

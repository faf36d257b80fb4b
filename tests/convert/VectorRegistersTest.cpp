// Qt's raster fills may leave the upper halves of the AVX registers in use, which slows every
// later SSE instruction of the converters several times over on some processors. The glyph
// drawing clears them, and so does the start of every band and every row, on every thread.

#include "platform/VectorRegisters.h"
#include "convert/BandWork.h"
#include "convert/FontGlyphs.h"
#include "convert/FontSetup.h"
#include "convert/RowRunner.h"

#include "common/RecordingServices.h"

#include <QTest>

#include <atomic>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>

namespace {

// Whether the processor reports which register states are in use (XGETBV with ECX = 1).
bool canTellUse() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    return __builtin_cpu_supports("avx") && __get_cpuid_count(0xD, 1, &a, &b, &c, &d) &&
           (a & (1u << 2)) != 0;
}

bool upperHalvesInUse() {
    unsigned low = 0, high = 0;
    asm volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(1));
    return (low & (1u << 2)) != 0;
}

// What a library routine built for AVX that returns without clearing does. (Only for processors
// with AVX; built without the AVX target, so that the compiler adds no clearing of its own.)
void leaveUpperHalvesInUse() {
    asm volatile("vpcmpeqd %%ymm1, %%ymm1, %%ymm1" ::: "xmm1");
}

} // namespace
#else
namespace {
bool canTellUse() {
    return false;
}
bool upperHalvesInUse() {
    return false;
}
void leaveUpperHalvesInUse() {}
} // namespace
#endif

class VectorRegistersTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        if (!canTellUse())
            QSKIP("the processor does not report which of its register states are in use");
    }

    void clearingMarksThemUnused() {
        leaveUpperHalvesInUse();
        QVERIFY(upperHalvesInUse());
        VectorRegisters::clearUpperHalves();
        QVERIFY(!upperHalvesInUse());
    }

    void glyphDrawingLeavesThemUnused() {
        FontSetup::installSubstitutions();
        const FontGlyphs glyphs(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 12));
        // Drawn again, a glyph comes from Qt's glyph cache by another path than the first time.
        for (int round = 0; round < 3; ++round) {
            for (const QString& c : {u"亜"_qs, u"A"_qs, u"■"_qs}) {
                QVERIFY(glyphs.strokeCount(c, 16, 16) > 0);
                QVERIFY2(!upperHalvesInUse(), qPrintable(c));
            }
        }
    }

    // Each band and row leaves the registers in use, for the next to find them so.
    void everyBandStartsWithThemUnused() {
        std::atomic<int> bands{0};
        std::atomic<int> dirtyStarts{0};
        leaveUpperHalvesInUse();
        QVERIFY(BandWork::run(64, 4, 2, {}, [&](qint64, qint64) {
            dirtyStarts += upperHalvesInUse() ? 1 : 0;
            ++bands;
            leaveUpperHalvesInUse();
        }));
        QCOMPARE(bands.load(), 16);
        QCOMPARE(dirtyStarts.load(), 0);
    }

    void everyRowStartsWithThemUnused() {
        for (const int threads : {1, 2}) {
            std::atomic<int> rows{0};
            std::atomic<int> dirtyStarts{0};
            RecordingServices services;
            QString out;
            leaveUpperHalvesInUse();
            const ConvOutcome outcome = RowRunner(16, 100, threads, 1e12)
                                            .run(
                                                services,
                                                [&](int, int, RowTicker&, QString& line) {
                                                    dirtyStarts += upperHalvesInUse() ? 1 : 0;
                                                    ++rows;
                                                    line += u'a';
                                                    leaveUpperHalvesInUse();
                                                    return RowEnd::Done;
                                                },
                                                out);
            QCOMPARE(outcome, ConvOutcome::HandedOff);
            QCOMPARE(rows.load(), 16);
            QVERIFY2(dirtyStarts.load() == 0, qPrintable(QString::number(threads)));
        }
    }
};

QTEST_MAIN(VectorRegistersTest)
#include "VectorRegistersTest.moc"

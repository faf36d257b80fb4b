// Long palettes are measured and drawn on several threads: every character exactly once, the
// helpers only through copies of the measuring box (one box must not draw on two threads), and
// an abort thrown on the calling thread ends the helpers and reaches the caller. Each thread has
// a share of the palette of its own and helps with the others' from their far end when through,
// whichever thread is the slow one.

#include "convert/GlyphThreads.h"

#include <QTest>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

struct Shared {
    std::atomic<int> calls{0};
    std::atomic<int> copies{0};
    std::atomic<bool> thrown{false};
    std::atomic<int> callsAfterThrow{0};
};

// A measuring box that notes which thread uses it; the original may throw at a given call.
class NotingGlyphs : public GlyphSource {
public:
    NotingGlyphs(Shared& shared, bool copyable) : m_shared(shared), m_copyable(copyable) {}

    double textHeight(const QString&) const override { return 1; }
    double textWidth(const QString&) const override { return note(); }
    GlyphBitmap drawCharacter(const QString&, int, int) const override {
        note();
        return {};
    }
    std::unique_ptr<GlyphSource> copyForThread() const override {
        if (!m_copyable)
            return nullptr;
        ++m_shared.copies;
        return std::make_unique<NotingGlyphs>(m_shared, true);
    }

    int throwAtCall = -1; // of this source's own calls
    // Every call's thread, noted safely even when the source is (wrongly) shared.
    mutable std::mutex noting;
    mutable std::vector<std::thread::id> threads;

private:
    double note() const {
        size_t call = 0;
        {
            const std::lock_guard lock(noting);
            threads.push_back(std::this_thread::get_id());
            call = threads.size();
        }
        if (static_cast<int>(call) == throwAtCall) {
            m_shared.thrown = true;
            throw std::runtime_error("stop");
        }
        if (m_shared.thrown)
            ++m_shared.callsAfterThrow;
        ++m_shared.calls;
        // Long enough that the helpers take part before the caller is through.
        std::this_thread::sleep_for(std::chrono::microseconds(20));
        return 1;
    }

    Shared& m_shared;
    bool m_copyable;
};

using Counts = std::vector<std::atomic<int>>;

GlyphThreads::MakeWorker countInto(Counts& done) {
    return [&done](const GlyphSource& source) {
        return [&done, &source](size_t k) {
            source.textWidth(QString());
            ++done[k];
        };
    };
}

} // namespace

class GlyphThreadsTest : public QObject {
    Q_OBJECT

private slots:
    void everyCharacterOnce() {
        // Characters, threads, whether the box can be copied, and the copies made: a long palette
        // on two threads, an odd count on three, a short palette that stays on one thread, a box
        // that cannot be copied, one thread.
        for (const auto& [count, threads, copyable, copies] : {std::tuple{1000, 2, true, 1},
                                                               {1001, 3, true, 2},
                                                               {255, 3, true, 0},
                                                               {1000, 3, false, 0},
                                                               {1000, 1, true, 0}}) {
            Shared shared;
            NotingGlyphs own(shared, copyable);
            Counts done(static_cast<size_t>(count));
            GlyphThreads::forEach(own, done.size(), threads, countInto(done));
            for (const std::atomic<int>& k : done)
                QCOMPARE(k.load(), 1);
            QCOMPARE(shared.calls.load(), count);
            QCOMPARE(shared.copies.load(), copies);
            // The original box never left the calling thread.
            for (const std::thread::id id : own.threads)
                QCOMPARE(id, std::this_thread::get_id());
        }
    }

    void throwOnTheCallingThreadStopsTheHelpers() {
        Shared shared;
        NotingGlyphs own(shared, true);
        own.throwAtCall = 40;
        Counts done(5000);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 GlyphThreads::forEach(own, done.size(), 2, countInto(done)));
        // The helper finished at most the batch it had (16 characters) and perhaps one it took
        // while the exception was leaving, and no more.
        QVERIFY2(shared.callsAfterThrow.load() <= 2 * 16,
                 qPrintable(QString::number(shared.callsAfterThrow)));
        QVERIFY(shared.calls.load() < 5000);
        int handled = 0;
        for (const std::atomic<int>& k : done) {
            QVERIFY(k.load() <= 1);
            handled += k.load();
        }
        QCOMPARE(handled, shared.calls.load());
    }

    void batchesFromOwnShareThenTheOthers() {
        for (const bool slowCaller : {false, true}) {
            Shared shared;
            const NotingGlyphs own(shared, true);
            const size_t count = 1000;
            Counts byCaller(count);
            Counts byHelper(count);
            std::atomic<int> badBatches{0};
            const auto callerId = std::this_thread::get_id();
            GlyphThreads::forEachBatch(
                own, count, 2, [&](const GlyphSource&) -> GlyphThreads::BatchWorker {
                    const bool caller = std::this_thread::get_id() == callerId;
                    return [&, caller](size_t first, size_t last) {
                        // A batch lies within one share: [0, 500) or [500, 1000).
                        if (last <= first || last - first > 16 ||
                            (first < count / 2) != (last <= count / 2))
                            ++badBatches;
                        for (size_t k = first; k < last; ++k)
                            ++(caller ? byCaller : byHelper)[k];
                        if (caller == slowCaller)
                            std::this_thread::sleep_for(std::chrono::milliseconds(2));
                    };
                });
            QCOMPARE(badBatches.load(), 0);
            for (size_t k = 0; k < count; ++k)
                QCOMPARE(byCaller[k].load() + byHelper[k].load(), 1);
            // The slow thread kept to the front of its own share; the fast one did all of its own
            // and took the rest of the slow one's share from its end.
            const size_t slowStart = slowCaller ? 0 : count / 2;
            const Counts& slow = slowCaller ? byCaller : byHelper;
            const Counts& fast = slowCaller ? byHelper : byCaller;
            const size_t fastStart = count / 2 - slowStart;
            for (size_t k = fastStart; k < fastStart + count / 2; ++k)
                QCOMPARE(fast[k].load(), 1);
            size_t slowDid = 0;
            while (slowDid < count / 2 && slow[slowStart + slowDid].load() == 1)
                ++slowDid;
            QVERIFY2(slowDid < count / 4, qPrintable(QString::number(slowDid)));
            for (size_t k = slowStart + slowDid; k < slowStart + count / 2; ++k)
                QCOMPARE(fast[k].load(), 1);
        }
    }
};

QTEST_APPLESS_MAIN(GlyphThreadsTest)
#include "GlyphThreadsTest.moc"

// Long palettes are measured and drawn on several threads: every character exactly once, the
// helpers only through copies of the measuring box (one box must not draw on two threads), and
// an abort thrown on the calling thread ends the helpers and reaches the caller.

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
    void everyCharacterOnce_data();
    void everyCharacterOnce();
    void throwOnTheCallingThreadStopsTheHelpers();
};

void GlyphThreadsTest::everyCharacterOnce_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("threads");
    QTest::addColumn<bool>("copyable");
    QTest::addColumn<int>("copies");
    QTest::newRow("long, two threads") << 1000 << 2 << true << 1;
    QTest::newRow("long, three threads, odd count") << 1001 << 3 << true << 2;
    QTest::newRow("short palette stays on one thread") << 255 << 3 << true << 0;
    QTest::newRow("a box that cannot be copied") << 1000 << 3 << false << 0;
    QTest::newRow("one thread") << 1000 << 1 << true << 0;
}

void GlyphThreadsTest::everyCharacterOnce() {
    QFETCH(int, count);
    QFETCH(int, threads);
    QFETCH(bool, copyable);
    QFETCH(int, copies);
    Shared shared;
    NotingGlyphs own(shared, copyable);
    Counts done(static_cast<size_t>(count));
    GlyphThreads::forEach(own, done.size(), threads, countInto(done));
    for (size_t k = 0; k < done.size(); ++k)
        QCOMPARE(done[k].load(), 1);
    QCOMPARE(shared.calls.load(), count);
    QCOMPARE(shared.copies.load(), copies);
    // The original box never left the calling thread.
    for (const std::thread::id id : own.threads)
        QCOMPARE(id, std::this_thread::get_id());
}

void GlyphThreadsTest::throwOnTheCallingThreadStopsTheHelpers() {
    Shared shared;
    NotingGlyphs own(shared, true);
    own.throwAtCall = 40;
    Counts done(5000);
    QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                             GlyphThreads::forEach(own, done.size(), 2, countInto(done)));
    // The helper finished at most the batch it had (16 characters) and perhaps one it took while
    // the exception was leaving, and no more.
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

QTEST_APPLESS_MAIN(GlyphThreadsTest)
#include "GlyphThreadsTest.moc"

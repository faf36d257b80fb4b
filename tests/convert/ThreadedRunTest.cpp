// Conversions off the calling thread, which alone talks to the services: a run on a worker
// thread (its services act on the calling thread, the question waits for its answer, the abort
// request reaches the worker), and rows on several threads, where the calling thread converts
// rows too yet still looks at the services every few milliseconds in the middle of its own long
// rows. (Line order and the single 999 question are checked against the plain converters in
// ConvDifferentialTest.)

#include "convert/ThreadedRun.h"
#include "convert/RowRunner.h"

#include "common/RecordingServices.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <thread>
#include <vector>

namespace {

// Records whether every service ran on the thread that made this object, and requests an abort
// once abortAfterMs have passed.
class CallingThreadServices : public RecordingServices {
public:
    std::thread::id caller = std::this_thread::get_id();
    bool allOnCaller = true;
    qint64 abortAfterMs = -1;
    QElapsedTimer clock;

    CallingThreadServices() { clock.start(); }
    void check() { allOnCaller = allOnCaller && std::this_thread::get_id() == caller; }
    void showPreparing() override {
        check();
        RecordingServices::showPreparing();
    }
    void showPercent(int percent) override {
        check();
        RecordingServices::showPercent(percent);
    }
    bool yieldAndCheckAbort() override {
        check();
        const bool recorded = RecordingServices::yieldAndCheckAbort();
        return recorded || (abortAfterMs >= 0 && clock.elapsed() >= abortAfterMs);
    }
    bool confirmCut999() override {
        check();
        return RecordingServices::confirmCut999();
    }
    void showMessage(const QString& message) override {
        check();
        RecordingServices::showMessage(message);
    }
    void handOff(const QString& handed) override {
        check();
        RecordingServices::handOff(handed);
    }
};

} // namespace

class ThreadedRunTest : public QObject {
    Q_OBJECT
private slots:
    void servicesRunOnTheCallingThread() {
        CallingThreadServices ui;
        ui.answer999 = false;
        std::atomic<bool> abortReq{false};
        QObject context;
        bool workerOffMain = false;
        const ConversionResult result = ThreadedRun::run(
            [&](RunServices& services) {
                workerOffMain = QThread::currentThread() != QCoreApplication::instance()->thread();
                services.showPreparing();
                services.showPercent(50);
                services.showPercent(100);
                ConversionResult r;
                r.outcome =
                    services.confirmCut999() ? ConvOutcome::HandedOff : ConvOutcome::Cancelled999;
                services.showMessage(QStringLiteral("msg"));
                services.handOff(QStringLiteral("a\r\nb"));
                return r;
            },
            &context, ui, abortReq);
        QVERIFY(workerOffMain);
        QVERIFY(ui.allOnCaller);
        QCOMPARE(result.outcome, ConvOutcome::Cancelled999);
        QCOMPARE(ui.preparingShown, 1);
        QCOMPARE(ui.percents, (QList<int>{50, 100}));
        QCOMPARE(ui.questions999, 1);
        QCOMPARE(ui.messages, QStringList{QStringLiteral("msg")});
        QCOMPARE(ui.text, QStringLiteral("a\r\nb"));
    }

    void abortReachesTheWorker() {
        RecordingServices ui;
        std::atomic<bool> abortReq{false};
        QObject context;
        // The request is set by the calling thread's event loop while the worker runs.
        QTimer::singleShot(0, &context, [&] { abortReq.store(true); });
        const ConversionResult result = ThreadedRun::run(
            [](RunServices& services) {
                while (!services.yieldAndCheckAbort())
                    QThread::yieldCurrentThread();
                return ConversionResult{ConvOutcome::Aborted, {}};
            },
            &context, ui, abortReq);
        QCOMPARE(result.outcome, ConvOutcome::Aborted);
        QVERIFY(!abortReq.load()); // the check took the request
    }

    // The glyphs a run draws stay in Qt's caches of the thread that drew them, so the next run goes
    // to a thread that is still there rather than to a new one.
    void workerKeptFromRunToRun() {
        RecordingServices ui;
        std::atomic<bool> abortReq{false};
        QObject context;
        // Counted per thread: a new thread would count from 1 again (its address, even its system
        // id, may be an ended one's).
        std::vector<int> runsSeenByWorker;
        for (int run = 0; run < 3; ++run) {
            ThreadedRun::run(
                [&](RunServices&) {
                    thread_local int runsOnThisThread = 0;
                    runsSeenByWorker.push_back(++runsOnThisThread);
                    return ConversionResult{};
                },
                &context, ui, abortReq);
        }
        QCOMPARE(runsSeenByWorker, (std::vector<int>{1, 2, 3}));
    }

    void callingThreadLooksInItsOwnRow() {
        // Two rows of a second each on two threads; the abort comes after 20 ms. Had the calling
        // thread looked only between its rows, the run would last a whole row.
        constexpr int colsPx = 20'000;
        CallingThreadServices services;
        services.abortAfterMs = 20;
        const RowRunner runner(2, colsPx, 2, 1e12);
        QCOMPARE(runner.threads(), 2);
        std::atomic<bool> slotZeroOnCaller{false};
        QString out;
        const ConvOutcome outcome = runner.run(
            services,
            [&](int, int slot, RowTicker& ticker, QString& line) {
                if (slot == 0)
                    slotZeroOnCaller = std::this_thread::get_id() == services.caller;
                for (int x = 0; x < colsPx; ++x) {
                    if (!ticker.beforeCharacter(x))
                        return RowEnd::Aborted;
                    QElapsedTimer character;
                    character.start();
                    while (character.nsecsElapsed() < 50'000) {
                    }
                    line += u'a';
                }
                return RowEnd::Done;
            },
            out);
        QCOMPARE(outcome, ConvOutcome::Aborted);
        QVERIFY2(services.clock.elapsed() < 300,
                 qPrintable(QString::number(services.clock.elapsed())));
        QVERIFY(slotZeroOnCaller.load());
        QVERIFY(services.allOnCaller);
        QVERIFY(out.isEmpty());
    }
};

QTEST_GUILESS_MAIN(ThreadedRunTest)
#include "ThreadedRunTest.moc"

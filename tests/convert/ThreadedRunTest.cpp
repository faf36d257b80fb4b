// A conversion off the user-interface thread: its services act on the calling thread, the
// question waits for its answer, and the abort request reaches the worker.

#include "convert/ThreadedRun.h"

#include "common/RecordingServices.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <vector>

namespace {

// Records on which thread each service ran.
class ThreadCheckingServices : public RecordingServices {
public:
    bool allOnMainThread = true;
    void check() {
        if (QThread::currentThread() != QCoreApplication::instance()->thread())
            allOnMainThread = false;
    }
    void showPreparing() override {
        check();
        RecordingServices::showPreparing();
    }
    void showPercent(int percent) override {
        check();
        RecordingServices::showPercent(percent);
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
    void servicesRunOnTheCallingThread();
    void abortReachesTheWorker();
    void workerKeptFromRunToRun();
};

void ThreadedRunTest::servicesRunOnTheCallingThread() {
    ThreadCheckingServices ui;
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
    QVERIFY(ui.allOnMainThread);
    QCOMPARE(result.outcome, ConvOutcome::Cancelled999);
    QCOMPARE(ui.preparingShown, 1);
    QCOMPARE(ui.percents, (QList<int>{50, 100}));
    QCOMPARE(ui.questions999, 1);
    QCOMPARE(ui.messages, QStringList{QStringLiteral("msg")});
    QCOMPARE(ui.text, QStringLiteral("a\r\nb"));
}

void ThreadedRunTest::abortReachesTheWorker() {
    RecordingServices ui;
    std::atomic<bool> abortReq{false};
    QObject context;
    // The request is set by the calling thread's event loop while the worker runs.
    QTimer::singleShot(0, &context, [&] { abortReq.store(true); });
    const ConversionResult result = ThreadedRun::run(
        [](RunServices& services) {
            ConversionResult r;
            while (!services.yieldAndCheckAbort())
                QThread::yieldCurrentThread();
            r.outcome = ConvOutcome::Aborted;
            return r;
        },
        &context, ui, abortReq);
    QCOMPARE(result.outcome, ConvOutcome::Aborted);
    QVERIFY(!abortReq.load()); // the check took the request
}

// The glyphs a run draws stay in Qt's caches of the thread that drew them, so the next run goes
// to a thread that is still there rather than to a new one.
void ThreadedRunTest::workerKeptFromRunToRun() {
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

QTEST_GUILESS_MAIN(ThreadedRunTest)
#include "ThreadedRunTest.moc"

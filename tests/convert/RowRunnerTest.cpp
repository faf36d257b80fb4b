// Rows on several threads: the thread that starts the run converts rows too, yet it alone talks
// to the services, and it still looks at them every few milliseconds in the middle of its own
// long rows. (Line order and the single 999 question are checked against the plain converters in
// ConvDifferentialTest.)

#include "convert/RowRunner.h"

#include "common/RecordingServices.h"

#include <QElapsedTimer>
#include <QTest>

#include <thread>

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
    void check() {
        if (std::this_thread::get_id() != caller)
            allOnCaller = false;
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
};

} // namespace

class RowRunnerTest : public QObject {
    Q_OBJECT
private slots:
    void callingThreadLooksInItsOwnRow();
};

void RowRunnerTest::callingThreadLooksInItsOwnRow() {
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
    QVERIFY2(services.clock.elapsed() < 300, qPrintable(QString::number(services.clock.elapsed())));
    QVERIFY(slotZeroOnCaller.load());
    QVERIFY(services.allOnCaller);
    QVERIFY(out.isEmpty());
}

QTEST_GUILESS_MAIN(RowRunnerTest)
#include "RowRunnerTest.moc"

// Rows on several threads: the thread that starts the run converts rows too, yet it alone talks
// to the services, and it still looks at them every few milliseconds in the middle of its own
// long rows.

#include "convert/RowRunner.h"

#include "common/RecordingServices.h"

#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
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
    bool confirmCut999() override {
        check();
        return RecordingServices::confirmCut999();
    }
};

} // namespace

class RowRunnerTest : public QObject {
    Q_OBJECT
private slots:
    void callingThreadLooksInItsOwnRow();
    void linesInOrderAndOneQuestion();
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

void RowRunnerTest::linesInOrderAndOneQuestion() {
    // Every third row reaches 999 characters; rows take different times so that they finish out
    // of order.
    constexpr int lines = 60;
    CallingThreadServices services;
    const RowRunner runner(lines, 1000, 3, 1e12);
    QString out;
    const ConvOutcome outcome = runner.run(
        services,
        [](int r, int, RowTicker& ticker, QString& line) {
            const int length = r % 3 == 0 ? 999 : r % 7 + 1;
            for (int x = 0; x < length; ++x) {
                if (!ticker.beforeCharacter(x))
                    return RowEnd::Aborted;
                line += QChar(u'A' + r % 26);
            }
            std::this_thread::sleep_for(std::chrono::microseconds((r * 37) % 500));
            return r % 3 == 0 ? RowEnd::Reached999 : RowEnd::Done;
        },
        out);
    QCOMPARE(outcome, ConvOutcome::HandedOff);
    const QStringList got = out.split(QStringLiteral("\r\n"));
    QCOMPARE(got.size(), lines);
    for (int r = 0; r < lines; ++r)
        QCOMPARE(got[r], QString(r % 3 == 0 ? 999 : r % 7 + 1, QChar(u'A' + r % 26)));
    QCOMPARE(services.questions999, 1);
    QVERIFY(services.allOnCaller);
    QVERIFY(std::is_sorted(services.percents.begin(), services.percents.end()));
}

QTEST_GUILESS_MAIN(RowRunnerTest)
#include "RowRunnerTest.moc"

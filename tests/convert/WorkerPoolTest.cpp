// The process's worker threads: every task runs once, a run finds the threads of the runs before
// it free again, and work handed while other work is busy never waits for it.

#include "convert/WorkerPool.h"

#include <QTest>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

class WorkerPoolTest : public QObject {
    Q_OBJECT

private slots:
    void runsAfterOneAnotherShareTheThreads() {
        std::mutex mutex;
        std::set<std::thread::id> seen;
        std::vector<int> runs(3, 0);
        for (int round = 0; round < 200; ++round) {
            WorkerPool::Crew crew(round % 2 == 0 ? 2 : 3, [&](int task) {
                const std::lock_guard lock(mutex);
                ++runs[static_cast<size_t>(task)];
                seen.insert(std::this_thread::get_id());
            });
            crew.join();
        }
        QCOMPARE(runs, (std::vector<int>{200, 200, 100}));
        // Three at the most at any one time: the pool never needs a fourth thread.
        QVERIFY(seen.size() <= 3);
        QVERIFY(seen.count(std::this_thread::get_id()) == 0);
    }

    void busyWorkNeverHoldsUpNewWork() {
        std::mutex mutex;
        std::condition_variable changed;
        bool released = false;
        int waitedInVain = 0;
        // The first crew's tasks wait for the second crew, handed after it: that one must get
        // threads of its own. A bounded wait reports a failure instead of hanging.
        WorkerPool::Crew waiting(2, [&](int) {
            std::unique_lock lock(mutex);
            if (!changed.wait_for(lock, std::chrono::seconds(20), [&] { return released; }))
                ++waitedInVain;
        });
        WorkerPool::Crew releasing(1, [&](int) {
            const std::lock_guard lock(mutex);
            released = true;
            changed.notify_all();
        });
        waiting.join();
        releasing.join();
        QCOMPARE(waitedInVain, 0);
    }
};

QTEST_APPLESS_MAIN(WorkerPoolTest)
#include "WorkerPoolTest.moc"

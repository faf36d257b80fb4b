#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>

// Threads kept for the whole process. A run hands its helpers' work to them instead of starting
// threads of its own: a thread that already runs takes work at once (a new one may first wait
// for the scheduler for milliseconds), and it keeps what Qt caches per thread, such as the font
// engines of the glyphs it drew, from one run to the next. The pool grows to the most work
// handed to it at one time, so that work never waits for other work. A thread that has finished
// its work stays awake a few milliseconds before it sleeps, since a run hands out work several
// times in a row. Its threads end with the application object, or at the end of a process that
// has none.
namespace WorkerPool {

// The number of threads that "automatic" stands for: all processors, or CHARLOOM_THREADS when
// set.
int defaultThreads();

// Work handed to the pool: work(0) ... work(count - 1), each on a pool thread of its own, run
// while the caller goes on. The destructor waits for them, as join does.
class Crew {
public:
    // work must not throw.
    Crew(int count, std::function<void(int task)> work);
    ~Crew();
    Crew(const Crew&) = delete;
    Crew& operator=(const Crew&) = delete;

    // Waits until every task has returned.
    void join();

    // For the pool's threads: runs one task; then, separately, counts it done.
    void runTask(int task) { m_work(task); }
    void finishTask();

private:
    std::function<void(int)> m_work;
    std::mutex m_mutex;
    std::condition_variable m_done;
    int m_running;
};

} // namespace WorkerPool

#include "convert/WorkerPool.h"

#include <QCoreApplication>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <thread>
#include <vector>

namespace WorkerPool {

namespace {

struct Task {
    Crew* crew;
    int index;
};

class Pool {
public:
    static Pool& instance() {
        static Pool pool;
        return pool;
    }

    ~Pool() { close(); }

    void hand(Crew& crew, int count) {
        std::lock_guard lock(m_mutex);
        // Registered again after every close: the routines run once, as the application
        // object goes, and a later one may come.
        if (m_threads.empty() && QCoreApplication::instance() != nullptr)
            qAddPostRoutine(closeInstance);
        // Idle threads not yet claimed by waiting tasks take the new ones; the rest get new
        // threads, which then stay. A new thread counts as idle from here, before it runs.
        const int free = m_idle - static_cast<int>(m_waiting.size());
        for (int i = 0; i < count; ++i)
            m_waiting.push_back(Task{&crew, i});
        for (int i = std::max(free, 0); i < count; ++i) {
            m_threads.emplace_back([this] { serve(); });
            ++m_idle;
        }
        ++m_handed;
        m_wake.notify_all();
    }

private:
    Pool() = default;

    static void closeInstance() { instance().close(); }

    // Ends every thread (they are idle: all crews have been joined by then). Threads that
    // hold Qt's per-thread data must end while the application object still exists.
    void close() {
        std::vector<std::thread> threads;
        {
            std::lock_guard lock(m_mutex);
            m_closing = true;
            ++m_handed;
            threads.swap(m_threads);
        }
        m_wake.notify_all();
        for (std::thread& thread : threads)
            thread.join();
        std::lock_guard lock(m_mutex);
        m_closing = false;
        m_idle = 0;
    }

    // Runs as an idle thread, counted as one by the thread that started it.
    void serve() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            if (m_waiting.empty() && !m_closing)
                awaitWork(lock);
            m_wake.wait(lock, [this] { return !m_waiting.empty() || m_closing; });
            --m_idle;
            if (m_waiting.empty())
                return;
            const Task task = m_waiting.front();
            m_waiting.pop_front();
            lock.unlock();
            task.crew->runTask(task.index);
            // Idle again before the task counts as done (under the same lock), so a caller
            // that hands new work right after its join finds this thread free.
            lock.lock();
            ++m_idle;
            task.crew->finishTask();
        }
    }

    // A run hands its threads work several times in a few milliseconds (the picture's bands,
    // the glyphs, the rows). A thread that has just finished stays awake that long before it
    // sleeps, so that it takes the next work at once on the processor it runs on: woken from
    // sleep, it may first wait for the scheduler, or be put beside the thread that woke it.
    void awaitWork(std::unique_lock<std::mutex>& lock) {
        const unsigned seen = m_handed.load();
        lock.unlock();
        const auto until = std::chrono::steady_clock::now() + awakeAfterWork;
        while (m_handed.load() == seen && std::chrono::steady_clock::now() < until)
            std::this_thread::yield();
        lock.lock();
    }

    static constexpr std::chrono::milliseconds awakeAfterWork{5};

    std::mutex m_mutex;
    std::atomic<unsigned> m_handed{0}; // counts the hand-outs (and the close), for awake threads
    std::condition_variable m_wake;
    std::deque<Task> m_waiting;
    std::vector<std::thread> m_threads;
    int m_idle = 0;
    bool m_closing = false;
};

} // namespace

int defaultThreads() {
    bool ok = false;
    const int forced = qEnvironmentVariableIntValue("CHARLOOM_THREADS", &ok);
    if (ok && forced > 0)
        return forced;
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

Crew::Crew(int count, std::function<void(int task)> work)
    : m_work(std::move(work)), m_running(std::max(count, 0)) {
    if (m_running > 0)
        Pool::instance().hand(*this, m_running);
}

Crew::~Crew() {
    join();
}

void Crew::join() {
    std::unique_lock lock(m_mutex);
    m_done.wait(lock, [this] { return m_running == 0; });
}

void Crew::finishTask() {
    std::lock_guard lock(m_mutex);
    if (--m_running == 0)
        m_done.notify_all();
}

} // namespace WorkerPool

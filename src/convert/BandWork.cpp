#include "convert/BandWork.h"

#include "convert/WorkerPool.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace BandWork {

namespace {

// Fewer bands than this stay on the calling thread.
constexpr qint64 bandsForThreads = 4;

} // namespace

bool run(qint64 rows, qint64 bandRows, int threads, const AbortPoll& poll,
         const std::function<void(qint64 first, qint64 last)>& work) {
    return runBeside(rows, bandRows, threads, poll, work, Beside{});
}

bool runBeside(qint64 rows, qint64 bandRows, int threads, const AbortPoll& poll,
               const std::function<void(qint64 first, qint64 last)>& work, const Beside& beside) {
    const qint64 bands = (rows + bandRows - 1) / bandRows;
    const auto bandWork = [&](qint64 band) {
        const qint64 first = band * bandRows;
        work(first, std::min(rows, first + bandRows));
    };
    // The first look comes before any thread starts, so a run stopped already starts none, and
    // the calling thread always looks at least once. Without work of its own, the first band is
    // the calling thread's, so on one thread this is a look before every band.
    if (bands > 0 && AbortPolling::stop(poll))
        return false;
    // Spare work can keep threads busy that the bands alone would not.
    const qint64 helperCount = beside.own && beside.spare
                                   ? std::max(threads, 1) - 1
                                   : std::clamp<qint64>(threads, 1, std::max<qint64>(bands, 1)) - 1;
    const bool ownFirst = beside.own && helperCount > 0;
    std::atomic<qint64> next{ownFirst ? 0 : 1};
    std::atomic<qint64> bandsDone{0};
    std::atomic<bool> ownDone{!ownFirst};
    std::atomic<bool> halt{false};
    const auto spareStop = [&] { return ownDone.load() || halt.load(); };
    WorkerPool::Crew helpers(static_cast<int>(helperCount), [&](int) {
        for (qint64 band = next++; band < bands; band = next++) {
            if (halt.load(std::memory_order_relaxed))
                return;
            bandWork(band);
            ++bandsDone;
        }
        if (!beside.spare)
            return;
        // The last bands may still be under way on other threads.
        while (bandsDone.load() < bands && !spareStop())
            std::this_thread::yield();
        if (!spareStop())
            beside.spare(spareStop);
    });
    if (ownFirst) {
        try {
            beside.own();
        } catch (...) {
            halt = true;
            throw;
        }
    }
    ownDone = true;
    if (!ownFirst && bands > 0) {
        bandWork(0);
        ++bandsDone;
    }
    bool stopped = false;
    for (qint64 band = next++; band < bands; band = next++) {
        if (AbortPolling::stop(poll)) {
            stopped = true;
            halt = true;
            break;
        }
        bandWork(band);
        ++bandsDone;
    }
    helpers.join();
    if (stopped)
        return false;
    if (beside.own && !ownFirst)
        beside.own();
    return true;
}

int threadsFor(qint64 pixels, int requested) {
    if (requested > 0)
        return requested;
    return pixels < bandsForThreads * AbortPolling::pixelsPerLook ? 1
                                                                  : WorkerPool::defaultThreads();
}

} // namespace BandWork

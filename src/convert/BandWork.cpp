#include "convert/BandWork.h"

#include "convert/WorkerPool.h"
#include "platform/VectorRegisters.h"

#include <algorithm>
#include <atomic>

namespace BandWork {

namespace {

// Fewer bands than this stay on the calling thread.
constexpr qint64 bandsForThreads = 4;

} // namespace

bool run(qint64 rows, qint64 bandRows, int threads, const AbortPoll& poll,
         const std::function<void(qint64 first, qint64 last)>& work) {
    const qint64 bands = (rows + bandRows - 1) / bandRows;
    const auto bandWork = [&](qint64 band) {
        VectorRegisters::clearUpperHalves();
        const qint64 first = band * bandRows;
        work(first, std::min(rows, first + bandRows));
    };
    if (bands == 0)
        return true;
    // The first band's look comes before any thread starts, so a run stopped already starts
    // none, and the calling thread always looks at least once; that band is its own. On one
    // thread this is a look before every band.
    if (AbortPolling::stop(poll))
        return false;
    std::atomic<qint64> next{1};
    std::atomic<bool> stopped{false};
    const qint64 helperCount = std::min<qint64>(std::max(threads, 1), bands) - 1;
    WorkerPool::Crew helpers(static_cast<int>(helperCount), [&](int) {
        for (qint64 band = next++; band < bands; band = next++) {
            if (stopped.load(std::memory_order_relaxed))
                return;
            bandWork(band);
        }
    });
    bandWork(0);
    for (qint64 band = next++; band < bands; band = next++) {
        if (AbortPolling::stop(poll)) {
            stopped = true;
            break;
        }
        bandWork(band);
    }
    helpers.join();
    return !stopped.load();
}

int threadsFor(qint64 pixels, int requested) {
    if (requested > 0)
        return requested;
    return pixels < bandsForThreads * AbortPolling::pixelsPerLook ? 1
                                                                  : WorkerPool::defaultThreads();
}

} // namespace BandWork

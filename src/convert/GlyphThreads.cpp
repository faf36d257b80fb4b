#include "convert/GlyphThreads.h"

#include "convert/WorkerPool.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

namespace {

// Palettes shorter than this stay on the calling thread: a thread costs more than they do.
constexpr size_t charactersForThreads = 256;

constexpr size_t batch = 16;

// Tells the helpers to stop however the calling thread leaves, an abort included.
struct StopOnLeave {
    std::atomic<bool>& stop;
    ~StopOnLeave() { stop.store(true); }
};

} // namespace

void GlyphThreads::forEach(const GlyphSource& own, size_t count, int threads,
                           const MakeWorker& makeWorker) {
    forEachBatch(own, count, threads, [&](const GlyphSource& source) -> BatchWorker {
        return [work = makeWorker(source)](size_t first, size_t last) {
            for (size_t k = first; k < last; ++k)
                work(k);
        };
    });
}

void GlyphThreads::forEachBatch(const GlyphSource& own, size_t count, int threads,
                                const MakeBatchWorker& makeWorker) {
    const int wanted = threads > 0 ? threads : WorkerPool::defaultThreads();
    std::vector<std::unique_ptr<GlyphSource>> copies;
    if (count >= charactersForThreads) {
        for (int t = 1; t < wanted; ++t) {
            std::unique_ptr<GlyphSource> copy = own.copyForThread();
            if (!copy)
                break;
            copies.push_back(std::move(copy));
        }
    }

    std::atomic<size_t> next{0};
    std::atomic<bool> stop{false};
    const auto take = [&](const GlyphSource& source) {
        const BatchWorker work = makeWorker(source);
        for (;;) {
            const size_t first = next.fetch_add(batch);
            if (first >= count || stop.load())
                return;
            work(first, std::min(count, first + batch));
        }
    };

    const WorkerPool::Crew helpers(static_cast<int>(copies.size()),
                                   [&](int task) { take(*copies[static_cast<size_t>(task)]); });
    const StopOnLeave leave{stop};
    take(own);
}

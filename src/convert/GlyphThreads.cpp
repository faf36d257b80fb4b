#include "convert/GlyphThreads.h"

#include "convert/WorkerPool.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

// Palettes shorter than this stay on the calling thread: a thread costs more than they do.
constexpr size_t charactersForThreads = 256;

constexpr size_t batch = 16;

// The characters of one thread's share not yet taken, [front, back): its owner takes batches
// from the front, threads through with their own share from the back. So the characters a thread
// draws stay much the same from run to run even where it helps another, and its glyph cache has
// them from the runs before. Both ends are kept in one word (palettes are far shorter than 2^32).
class Share {
public:
    void assign(size_t front, size_t back) { m_range.store(pack(front, back)); }

    // The next batch of at most 16 from the front or the back; false when none is left.
    bool take(bool fromFront, size_t& first, size_t& last) {
        std::uint64_t range = m_range.load();
        for (;;) {
            const size_t front = range & 0xffffffffu;
            const size_t back = range >> 32;
            if (front >= back)
                return false;
            const size_t size = std::min(back - front, batch);
            first = fromFront ? front : back - size;
            last = first + size;
            const std::uint64_t rest = fromFront ? pack(last, back) : pack(front, first);
            if (m_range.compare_exchange_weak(range, rest))
                return true;
        }
    }

private:
    static std::uint64_t pack(size_t front, size_t back) {
        return static_cast<std::uint64_t>(back) << 32 | static_cast<std::uint64_t>(front);
    }

    std::atomic<std::uint64_t> m_range{0};
};

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

    // Each thread starts on a share of its own, the same part of the palette run after run, so
    // that it finds those glyphs in its own glyph cache (a cache per thread); a thread through
    // with its share helps with the others'.
    const size_t parts = copies.size() + 1;
    std::vector<Share> shares(parts);
    for (size_t p = 0; p < parts; ++p)
        shares[p].assign(count * p / parts, count * (p + 1) / parts);
    std::atomic<bool> stop{false};
    const auto take = [&](const GlyphSource& source, size_t part) {
        const BatchWorker work = makeWorker(source);
        size_t first = 0;
        size_t last = 0;
        for (size_t s = 0; s < parts; ++s) {
            Share& share = shares[(part + s) % parts];
            while (!stop.load() && share.take(s == 0, first, last))
                work(first, last);
        }
    };

    const WorkerPool::Crew helpers(static_cast<int>(copies.size()), [&](int task) {
        const auto t = static_cast<size_t>(task);
        take(*copies[t], t + 1);
    });
    const StopOnLeave leave{stop};
    take(own, 0);
}

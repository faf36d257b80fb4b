#pragma once

#include "convert/GlyphSource.h"

#include <cstddef>
#include <functional>

// Measuring and drawing the characters of a long palette (thousands of kanji) on several threads.
namespace GlyphThreads {

// What one thread does with character k, with memory of its own.
using Worker = std::function<void(size_t k)>;
// Makes a thread's worker, on that thread, for the glyph source it draws with.
using MakeWorker = std::function<Worker(const GlyphSource& source)>;
// What one thread does with the characters [first, last) of one batch, taken together.
using BatchWorker = std::function<void(size_t first, size_t last)>;
using MakeBatchWorker = std::function<BatchWorker(const GlyphSource& source)>;

// Hands every k in [0, count) exactly once to a worker. The calling thread's worker draws
// through own, which may stop the run by throwing; with at least 256 characters, threads - 1
// helpers (threads: 0 for all processors) draw through copies of own, as far as own can be
// copied. Each thread has a share of the characters, the same from call to call for the same
// count, taken a batch at a time; a thread through with its share takes batches from the far
// end of another's, so that all finish at about the same moment. When the calling thread's
// worker throws, the helpers stop after their batch and the exception leaves this function.
void forEach(const GlyphSource& own, size_t count, int threads, const MakeWorker& makeWorker);

// The same, handing each worker a batch of consecutive characters (at most 16) at a time.
void forEachBatch(const GlyphSource& own, size_t count, int threads,
                  const MakeBatchWorker& makeWorker);

} // namespace GlyphThreads

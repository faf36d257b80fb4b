#pragma once

#include "convert/GlyphSource.h"

#include <cstddef>
#include <functional>

// Measuring and drawing the characters of a long palette (thousands of kanji) on several threads.
namespace GlyphThreads {

// The most threads forEach uses for this request (threads: 0 for all processors).
int workers(int threads);

// Calls work(source, worker, k) exactly once for every k in [0, count); worker tells the thread
// (0 the calling one, below workers(threads)) for memory of its own. The calling thread takes its
// share through own, which may stop the run by throwing; with at least 256 characters, threads - 1
// helpers take theirs through copies of own, as far as own can
// be copied. The characters are taken a batch at a time, so that all finish at about the same
// moment. When the calling thread's work throws, the helpers stop after their batch and the
// exception leaves this function.
void forEach(const GlyphSource& own, size_t count, int threads,
             const std::function<void(const GlyphSource& source, int worker, size_t k)>& work);

} // namespace GlyphThreads

#pragma once

#include "convert/AbortPoll.h"

#include <QtGlobal>

#include <functional>

// Work over the rows of a whole picture (the pixel buffer, the brightness plane), split into
// bands of rows that are independent of each other, so that they can be spread over threads.
namespace BandWork {

// Runs work(first, last) on every band [first, last) of bandRows rows in [0, rows), on up to
// threads threads. The calling thread looks at poll before each band it takes, as one thread
// looks before every band; on a stop the other threads end before their next band. Returns
// false when stopped: some bands are then left undone.
bool run(qint64 rows, qint64 bandRows, int threads, const AbortPoll& poll,
         const std::function<void(qint64 first, qint64 last)>& work);

// Work beside the bands. own: the calling thread's (measuring a palette with the text font,
// say), done while the other threads start on the bands; the calling thread then takes bands
// too. spare: what the other threads do once every band is done while own still runs; it must
// return soon after its argument answers true.
struct Beside {
    std::function<void()> own;
    std::function<void(const std::function<bool()>& stop)> spare;
};

// run with work beside. On one thread own comes after the bands (not at all when the poll stops
// them) and spare is never called. When own throws, the other threads stop (before their next
// band, or spare as told) and the exception goes on to the caller.
bool runBeside(qint64 rows, qint64 bandRows, int threads, const AbortPoll& poll,
               const std::function<void(qint64 first, qint64 last)>& work, const Beside& beside);

// The threads for a walk over this many pixels: requested when positive; otherwise one for a
// picture of a few bands (starting a thread would cost more than it saves), all processors
// for a larger one.
int threadsFor(qint64 pixels, int requested);

} // namespace BandWork

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

// The threads for a walk over this many pixels: requested when positive; otherwise one for a
// picture of a few bands (starting a thread would cost more than it saves), all processors
// for a larger one.
int threadsFor(qint64 pixels, int requested);

} // namespace BandWork

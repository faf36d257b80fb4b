#pragma once

#include "convert/ConversionInput.h"
#include "convert/RunServices.h"

#include <QObject>

#include <atomic>
#include <functional>

// Runs a conversion on a worker thread while the calling (user-interface) thread keeps serving
// its event loop, so the window paints, resizes and answers close requests during the run. The
// worker is a thread of WorkerPool, kept from one run to the next with the glyphs it drew.
// The worker's services forward to the window's: progress is posted, the 999 question, messages
// and the hand-off are asked on the user-interface thread while the worker waits, and the abort
// check reads the atomic request directly.
namespace ThreadedRun {

using Job = std::function<ConversionResult(RunServices& services)>;

// Returns when the job has ended. context is an object of the calling thread; ui the services
// that act there; abortReq the request the job's abort check takes.
ConversionResult run(const Job& job, QObject* context, RunServices& ui,
                     std::atomic<bool>& abortReq);

} // namespace ThreadedRun

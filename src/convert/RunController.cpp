#include "convert/RunController.h"

namespace {

// Runs the closing steps on every way out of the run, an exception included.
class RunEnd {
public:
    RunEnd(const RunController::Steps& steps, bool& busy) : m_steps(steps), m_busy(busy) {}
    ~RunEnd() {
        m_steps.restoreCaption();
        m_steps.AllEnabled(true);
        m_busy = false;
    }
    RunEnd(const RunEnd&) = delete;
    RunEnd& operator=(const RunEnd&) = delete;

private:
    const RunController::Steps& m_steps;
    bool& m_busy;
};

} // namespace

bool RunController::cmdWrite(const Steps& steps) {
    const bool valid = steps.InputCheck();
    if (!valid || m_busy)
        return false;
    m_busy = true;
    m_abortReq.store(false);
    RunEnd end(steps, m_busy);
    steps.AllEnabled(false);
    steps.CtrlToSet();
    steps.ConvDispatch();
    return true;
}

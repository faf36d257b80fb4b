#pragma once

#include <QtGlobal>

#include <atomic>
#include <functional>

// The life of one Convert command around its converter: the input check, the locking of the
// window, the copy of the controls into the settings, the dispatch, and the caption, enabled
// state and Busy flag restored however the converter ends. Busy and AbortReq are the hand-over
// between a running conversion and the main window's close request; AbortReq is atomic because
// the converter reads it on its own thread.
class RunController {
public:
    struct Steps {
        std::function<bool()> InputCheck;
        std::function<void(bool)> AllEnabled;
        std::function<void()> CtrlToSet;
        std::function<void()> ConvDispatch;
        std::function<void()> restoreCaption; // the Convert button reads "変換" again
    };

    bool Busy() const { return m_busy; }
    bool AbortReq() const { return m_abortReq.load(); }
    void requestAbort() { m_abortReq.store(true); }
    // The converter's check before every character: true ends the run, clearing the request.
    bool takeAbortRequest() { return m_abortReq.exchange(false); }
    std::atomic<bool>& abortFlag() { return m_abortReq; }

    // The Convert command after the busy pointer is shown. Returns true when a run took place.
    bool cmdWrite(const Steps& steps);

private:
    bool m_busy = false;
    std::atomic<bool> m_abortReq{false};
};

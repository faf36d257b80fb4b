#pragma once

#include <QString>

// What a conversion run needs from its surroundings: the progress caption, the abort check, the
// 999-column question, messages and the hand-off of the finished text. The window, the CLI and
// the tests each provide one.
//
// Threads: every call comes from the thread that called the converter, never from the threads
// that the converter spreads its rows over, so an implementation need not be thread-safe. A
// window that runs the converter on a worker thread must therefore make each call cheap there:
// yieldAndCheckAbort reads an atomic flag (nothing per character beyond that), showPercent posts
// the caption to the user-interface thread without waiting for it, and only confirmCut999 and
// showMessage wait for the user-interface thread.
class RunServices {
public:
    virtual ~RunServices() = default;
    // "準備中" on the Convert button.
    virtual void showPreparing() = 0;
    // The whole-number percentage; called only when it changes.
    virtual void showPercent(int percent) = 0;
    // True ends the run without output (the request is cleared). A run on one thread calls it
    // before every character; a run spread over several threads calls it at least every 10 ms
    // while the rows are converted, so an abort ends the run within 0.1 s either way.
    virtual bool yieldAndCheckAbort() = 0;
    // A look at the abort request without yielding, made every few glyphs while a run measures and
    // draws its palette (thousands of characters take a while) and once per band of rows while it
    // copies the picture and builds its buffers (millions of pixels take a while); true ends the
    // run as an abort. Must be cheap. The default never aborts.
    virtual bool abortRequested() { return false; }
    // "桁数が最大(999)に達しました。続行しますか？": true for OK, false for Cancel. Asked at most
    // once a run, for the first line (in line order) that reaches 999 characters.
    virtual bool confirmCut999() = 0;
    // A message for the user (OK box with the program's title).
    virtual void showMessage(const QString& text) = 0;
    // The finished text, lines separated by CR LF.
    virtual void handOff(const QString& text) = 0;
};

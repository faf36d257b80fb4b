#pragma once

#include "convert/RunServices.h"

#include <QString>

#include <atomic>

// The run services of the headless converter: a progress bar on standard error when that is a
// terminal, Ctrl+C as the abort request, the 999-column question answered "go on" with a warning,
// messages on standard error, and the finished text kept for the caller.
class CliRunServices : public RunServices {
public:
    explicit CliRunServices(bool showProgressBar);
    ~CliRunServices() override;

    void showPreparing() override;
    void showPercent(int percent) override;
    bool yieldAndCheckAbort() override;
    bool abortRequested() override;
    bool confirmCut999() override;
    void showMessage(const QString& text) override;
    void handOff(const QString& text) override;

    const QString& text() const { return m_text; }
    bool handedOff() const { return m_handedOff; }
    bool messageShown() const { return m_messageShown; }

    // Ctrl+C sets this; the run ends at its next character or while it measures its palette.
    static std::atomic<bool> interrupted;
    static void installInterruptHandler();

private:
    void clearProgressLine();

    bool m_showProgressBar;
    bool m_progressShown = false;
    bool m_handedOff = false;
    bool m_messageShown = false;
    QString m_text;
};

// One line on standard error, prefixed with the program's name.
void printError(const QString& text);

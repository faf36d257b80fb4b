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

    // Ctrl+C sets this; the run ends at its next check (a character, a few glyphs or a band of
    // picture rows).
    static std::atomic<bool> interrupted;

    // What Ctrl+C (or SIGTERM) does depends on what the program is doing. Before the run nothing
    // has been written and decoding a picture cannot be interrupted, so the program ends at once
    // with status 130. During the run the first signal asks the run to stop at its next check;
    // a second one ends the program at once. While the result is written the signal is only
    // noted, so no output is ever left half written.
    enum class Stage { BeforeRun, Running, Writing };
    static void installInterruptHandler();
    static void enterStage(Stage stage);

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

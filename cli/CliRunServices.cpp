#include "CliRunServices.h"

#include <QByteArray>

#include <csignal>
#include <cstdio>
#include <unistd.h>

std::atomic<bool> CliRunServices::interrupted{false};

namespace {

std::atomic<int> g_stage{static_cast<int>(CliRunServices::Stage::BeforeRun)};
// The progress line is on standard error: an exit from the handler clears it first.
std::atomic<bool> g_progressShown{false};

// What printError would write for the interruption, ready for write(2) in the handler.
constexpr char interruptedLine[] = "charloom-cli: 中断しました。\n";
constexpr char clearLine[] = "\r\033[K";

} // namespace

extern "C" void charloomCliOnInterrupt(int) {
    const auto stage = static_cast<CliRunServices::Stage>(g_stage.load());
    const bool repeated = CliRunServices::interrupted.exchange(true);
    if (stage == CliRunServices::Stage::Writing ||
        (stage == CliRunServices::Stage::Running && !repeated))
        return;
    // Only async-signal-safe calls from here on.
    if (g_progressShown.load()) {
        [[maybe_unused]] const ssize_t cleared =
            ::write(STDERR_FILENO, clearLine, sizeof clearLine - 1);
    }
    [[maybe_unused]] const ssize_t written =
        ::write(STDERR_FILENO, interruptedLine, sizeof interruptedLine - 1);
    ::_exit(130);
}

void CliRunServices::enterStage(Stage stage) {
    g_stage.store(static_cast<int>(stage));
}

void CliRunServices::installInterruptHandler() {
    struct sigaction action = {};
    action.sa_handler = charloomCliOnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void printError(const QString& text) {
    const QByteArray bytes = (QStringLiteral("charloom-cli: ") + text + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

CliRunServices::CliRunServices(bool showProgressBar) : m_showProgressBar(showProgressBar) {}

CliRunServices::~CliRunServices() {
    clearProgressLine();
}

void CliRunServices::clearProgressLine() {
    if (m_progressShown) {
        std::fputs(clearLine, stderr);
        std::fflush(stderr);
        m_progressShown = false;
        g_progressShown.store(false);
    }
}

void CliRunServices::showPreparing() {
    if (!m_showProgressBar)
        return;
    std::fputs("\r準備中", stderr);
    std::fflush(stderr);
    m_progressShown = true;
    g_progressShown.store(true);
}

void CliRunServices::showPercent(int percent) {
    if (!m_showProgressBar)
        return;
    const int width = 40;
    const int filled = qBound(0, percent, 100) * width / 100;
    const QByteArray bar = QByteArray(filled, '#') + QByteArray(width - filled, '-');
    std::fprintf(stderr, "\r\033[K[%s] %3d %%", bar.constData(), percent);
    std::fflush(stderr);
    m_progressShown = true;
    g_progressShown.store(true);
}

bool CliRunServices::yieldAndCheckAbort() {
    return interrupted.load(std::memory_order_relaxed);
}

bool CliRunServices::abortRequested() {
    return interrupted.load(std::memory_order_relaxed);
}

bool CliRunServices::confirmCut999() {
    clearProgressLine();
    printError(QStringLiteral("警告: 999 文字に達した行は 999 文字で切りました。"));
    return true;
}

void CliRunServices::showMessage(const QString& text) {
    clearProgressLine();
    printError(text);
    m_messageShown = true;
}

void CliRunServices::handOff(const QString& text) {
    clearProgressLine();
    m_text = text;
    m_handedOff = true;
}

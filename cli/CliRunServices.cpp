#include "CliRunServices.h"

#include <QByteArray>

#include <csignal>
#include <cstdio>

std::atomic<bool> CliRunServices::interrupted{false};

extern "C" void charloomCliOnInterrupt(int) {
    CliRunServices::interrupted.store(true);
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
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
        m_progressShown = false;
    }
}

void CliRunServices::showPreparing() {
    if (!m_showProgressBar)
        return;
    std::fputs("\r準備中", stderr);
    std::fflush(stderr);
    m_progressShown = true;
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

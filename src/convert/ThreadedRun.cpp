#include "convert/ThreadedRun.h"

#include "convert/WorkerPool.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace {

class ForwardingServices : public RunServices {
public:
    ForwardingServices(QObject* context, RunServices& ui, std::atomic<bool>& abortReq)
        : m_context(context), m_ui(ui), m_abortReq(abortReq) {}

    void showPreparing() override {
        RunServices* ui = &m_ui;
        QMetaObject::invokeMethod(
            m_context, [ui] { ui->showPreparing(); }, Qt::QueuedConnection);
    }
    void showPercent(int percent) override {
        RunServices* ui = &m_ui;
        QMetaObject::invokeMethod(
            m_context, [ui, percent] { ui->showPercent(percent); }, Qt::QueuedConnection);
    }
    bool yieldAndCheckAbort() override { return m_abortReq.exchange(false); }
    bool abortRequested() override { return m_abortReq.load(); }
    bool confirmCut999() override {
        bool answer = false;
        QMetaObject::invokeMethod(
            m_context, [this, &answer] { answer = m_ui.confirmCut999(); },
            Qt::BlockingQueuedConnection);
        return answer;
    }
    void showMessage(const QString& text) override {
        QMetaObject::invokeMethod(
            m_context, [this, &text] { m_ui.showMessage(text); }, Qt::BlockingQueuedConnection);
    }
    void handOff(const QString& text) override {
        QMetaObject::invokeMethod(
            m_context, [this, &text] { m_ui.handOff(text); }, Qt::BlockingQueuedConnection);
    }

private:
    QObject* m_context;
    RunServices& m_ui;
    std::atomic<bool>& m_abortReq;
};

} // namespace

namespace ThreadedRun {

ConversionResult run(const Job& job, QObject* context, RunServices& ui,
                     std::atomic<bool>& abortReq) {
    ForwardingServices services(context, ui, abortReq);
    ConversionResult result;
    QEventLoop loop;
    bool ended = false;
    // A thread of the pool, kept from one run to the next: the glyphs it draws stay in Qt's
    // caches of that thread, where a new thread would draw every glyph of a large palette anew.
    WorkerPool::Crew worker(1, [&](int) {
        result = job(services);
        QMetaObject::invokeMethod(
            &loop,
            [&] {
                ended = true;
                loop.quit();
            },
            Qt::QueuedConnection);
    });
    loop.exec();
    // The loop also ends when the application is told to exit during the run. The worker may be
    // waiting for an answer from this thread, so keep serving events, and stop the run.
    while (!ended) {
        abortReq.store(true);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    worker.join();
    return result;
}

} // namespace ThreadedRun

#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

// Turns SIGTERM, SIGINT and SIGHUP into a signal on the event loop, so the program closes the
// same way as when its window is closed, settings included. The handler only writes a byte to a
// socket pair; everything else happens on the user-interface thread.
class SignalCloser : public QObject {
    Q_OBJECT
public:
    explicit SignalCloser(QObject* parent = nullptr);
    ~SignalCloser() override;

signals:
    void closeRequested();

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
};

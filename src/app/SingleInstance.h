#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

// One copy of the program per user: the first copy listens on a local socket named for the
// user; a second copy asks it to come forward and then ends without touching the settings.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name, QObject* parent = nullptr);

    // The socket name for this user.
    static QString nameForThisUser();

    // True when a running copy answered and was asked to come forward.
    bool askRunningCopyToRaise();
    // Starts answering later copies; false when the socket cannot be opened (the program then
    // runs without the test).
    bool listen();

signals:
    void raiseRequested();

private:
    QString m_name;
    QLocalServer m_server;
};

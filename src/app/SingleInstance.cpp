#include "app/SingleInstance.h"

#include <QLocalSocket>

#include <unistd.h>

static const QByteArray RaiseRequest = QByteArrayLiteral("raise\n");

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), m_name(std::move(name)) {
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(RaiseRequest))
                    emit raiseRequested();
            });
        }
    });
}

QString SingleInstance::nameForThisUser() {
    return QStringLiteral("charloom-%1").arg(getuid());
}

bool SingleInstance::askRunningCopyToRaise() {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(1000))
        return false;
    socket.write(RaiseRequest);
    socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen() {
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (m_server.listen(m_name))
        return true;
    // A socket left behind by a copy that did not end cleanly: nobody answered on it.
    QLocalServer::removeServer(m_name);
    return m_server.listen(m_name);
}

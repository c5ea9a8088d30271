#include "gui/main/instanceguard.h"

#include <unistd.h>

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace tessaly {
namespace {

constexpr int kWaitMs = 1000;
const QByteArray kRaise = QByteArrayLiteral("raise\n");

QString userKey(const QString& name) {
    return name + QLatin1Char('-') + QString::number(static_cast<qulonglong>(::getuid()));
}

}  // namespace

InstanceGuard::InstanceGuard(const QString& name)
    : key_(userKey(name)), lock_(QDir::temp().filePath(key_ + QStringLiteral(".lock"))) {
    lock_.setStaleLockTime(0);  // a lock is stale only when its process has gone
}

InstanceGuard::~InstanceGuard() {
    if (server_) server_->close();
    if (first_) lock_.unlock();
}

bool InstanceGuard::acquire() {
    if (first_) return true;
    if (lock_.tryLock(0)) {
        first_ = true;
        listen();
        return true;
    }
    notifyFirst();
    return false;
}

void InstanceGuard::listen() {
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(key_);  // left behind by a copy that crashed
    if (!server_->listen(key_)) return;
    connect(server_.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            auto readRequest = [this, socket] {
                if (socket->readAll().contains("raise")) emit activationRequested();
            };
            connect(socket, &QLocalSocket::readyRead, this, readRequest);
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            if (socket->bytesAvailable() > 0) readRequest();
        }
    });
}

bool InstanceGuard::notifyFirst() const {
    QLocalSocket socket;
    socket.connectToServer(key_);
    if (!socket.waitForConnected(kWaitMs)) return false;
    socket.write(kRaise);
    const bool sent = socket.waitForBytesWritten(kWaitMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kWaitMs);
    return sent;
}

}  // namespace tessaly

#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

namespace tessaly {

// Makes sure one copy of the program runs per user. The first copy holds a lock file and
// listens on a local socket of the same name; a later copy finds the lock taken, asks the
// first copy through the socket to bring its window forward, and ends quietly.
class InstanceGuard : public QObject {
    Q_OBJECT
public:
    explicit InstanceGuard(const QString& name = QStringLiteral("QUVLX"));
    ~InstanceGuard() override;

    // True when this is the first copy (the name is now held until the guard is destroyed);
    // false when another copy holds it, which has then been asked to come forward.
    bool acquire();
    bool isFirst() const { return first_; }
    // The per-user key of the lock file and socket.
    QString key() const { return key_; }

signals:
    // A later copy asked this one to bring its window forward.
    void activationRequested();

private:
    void listen();
    bool notifyFirst() const;

    QString key_;
    QLockFile lock_;
    std::unique_ptr<QLocalServer> server_;
    bool first_ = false;
};

}  // namespace tessaly

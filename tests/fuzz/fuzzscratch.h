#pragma once

#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

namespace tessaly::fuzz {

// A scratch folder of this process, reused by every input.
inline QString scratchFolder() {
    static const QString folder = [] {
        const QString path =
            QDir::tempPath() + QStringLiteral("/tessaly-fuzz-") + QString::number(::getpid());
        QDir().mkpath(path);
        return path;
    }();
    return folder;
}

inline QString writeScratch(const QString& name, const uint8_t* data, size_t size) {
    const QString path = scratchFolder() + QLatin1Char('/') + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    return path;
}

}  // namespace tessaly::fuzz

#include "support/tempdir.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <stdexcept>

#include "core/text/sjis.h"

namespace tessaly::test {

TempDir::TempDir() : dir_(QDir::tempPath() + QStringLiteral("/tessaly-test-XXXXXX")) {
    if (!dir_.isValid()) throw std::runtime_error("cannot create a temporary folder");
}

QString TempDir::path() const { return dir_.path(); }

QString TempDir::file(const QString& name) const { return dir_.path() + QLatin1Char('/') + name; }

void TempDir::write(const QString& name, const QByteArray& bytes) const {
    writeFile(file(name), bytes);
}

QByteArray TempDir::read(const QString& name) const { return readFile(file(name)); }

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        throw std::runtime_error("cannot write test file " + path.toStdString());
    }
}

QByteArray sjisBytes(const QString& text) { return sjis::encode(text, sjis::Unmappable::Refuse); }

QStringList sjisLines(const QByteArray& bytes) {
    QStringList lines = sjis::decode(bytes).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

QString projectFolder() {
    const QString given = qEnvironmentVariable("TESSALY_SOURCE_DIR");
    return given.isEmpty() ? QStringLiteral(TESSALY_TEST_SOURCE_DIR) : given;
}

QString bmpSuiteFolder() {
    QString data = qEnvironmentVariable("TESSALY_TESTDATA");
    if (data.isEmpty()) data = QStringLiteral(TESSALY_TESTDATA_DIR);
    return QDir::cleanPath(data + QStringLiteral("/bmpsuite"));
}

}  // namespace tessaly::test

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace tessaly::test {

// A temporary folder removed after the test, with small file helpers.
class TempDir {
public:
    TempDir();
    QString path() const;                     // without a trailing "/"
    QString file(const QString& name) const;  // path + "/" + name
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;

private:
    QTemporaryDir dir_;
};

// Reads a whole file; empty when it cannot be read.
QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);

// Shift-JIS bytes of a UTF-8 text (the test's expected file content).
QByteArray sjisBytes(const QString& text);

// Lines of a CR LF file decoded from Shift-JIS; the final empty element after the last
// CR LF is dropped.
QStringList sjisLines(const QByteArray& bytes);

}  // namespace tessaly::test

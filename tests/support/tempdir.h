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

// The project folder: TESSALY_SOURCE_DIR when set, else the folder the build was configured
// from. (Not taken from __FILE__, which a compiler cache may make relative.)
QString projectFolder();

// The public BMP conformance suite: bmpsuite in $TESSALY_TESTDATA, else in the folder the
// build was configured with (TESSALY_TESTDATA_DIR, by default ../shared/testdata beside the
// project). It may be absent.
QString bmpSuiteFolder();

// Shift-JIS bytes of a UTF-8 text (the test's expected file content).
QByteArray sjisBytes(const QString& text);

// Lines of a CR LF file decoded from Shift-JIS; the final empty element after the last
// CR LF is dropped.
QStringList sjisLines(const QByteArray& bytes);

}  // namespace tessaly::test

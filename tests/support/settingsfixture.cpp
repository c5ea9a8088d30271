#include "support/settingsfixture.h"

#include <stdexcept>

#include "support/tempdir.h"

namespace tessaly::test {
namespace {

QStringList everyOtherLine(int first) {
    const QStringList lines = defaultSettingsLines();
    QStringList picked;
    for (int i = first; i < lines.size(); i += 2) picked << lines[i];
    return picked;
}

}  // namespace

QByteArray defaultSettingsFile() {
    const QString path = projectFolder() + QStringLiteral("/tests/data/settings/default.ini");
    const QByteArray bytes = readFile(path);
    if (bytes.isEmpty()) throw std::runtime_error("cannot read " + path.toStdString());
    return bytes;
}

QStringList defaultSettingsLines() { return sjisLines(defaultSettingsFile()); }
QStringList defaultSettingsKeys() { return everyOtherLine(1); }
QStringList defaultSettingsValues() { return everyOtherLine(2); }

}  // namespace tessaly::test

#include "gui/common/desktopshell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace tessaly {

void DesktopShell::openDocument(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void DesktopShell::startProgram(const QString& program, const QString& parameter,
                                const QString& workingFolder) {
    QProcess::startDetached(program, {parameter}, workingFolder);
}

}  // namespace tessaly

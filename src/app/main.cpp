#include <QApplication>
#include <cstdio>

#include "core/settings/catalogsettings.h"
#include "gui/common/desktopshell.h"
#include "gui/common/qtjapanese.h"
#include "gui/common/qtprompts.h"
#include "gui/main/instanceguard.h"
#include "gui/main/mainwindow.h"
#include "gui/main/windowset.h"

namespace {

// True when a window system can be reached (or a platform was chosen explicitly).
bool displayAvailable() {
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY") ||
           qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!displayAvailable()) {
        std::fputs(
            "tessaly: no display found. Tessaly is a window program; on a machine without "
            "a display use tessaly-batch (tessaly-batch --help).\n",
            stderr);
        return 1;
    }
    QApplication app(argc, argv);
    tessaly::QtJapanese japanese;
    if (!japanese.install()) {
        std::fputs(
            "tessaly: Qt's Japanese translation (qtbase_ja) was not found; the standard "
            "dialogs stay in English.\n",
            stderr);
    }
    // One copy per user: a second copy brings the first one forward and ends quietly.
    tessaly::InstanceGuard guard;
    if (!guard.acquire()) return 0;

    QApplication::setApplicationName(QStringLiteral("Tessaly"));
    tessaly::QtPrompts prompts;
    tessaly::DesktopShell shell(prompts);
    // Settings beside the program when a Quorvel.ini is there, else in the user's folder.
    const QString program = QCoreApplication::applicationDirPath();
    tessaly::MainWindow window(program, tessaly::settingsFolderFor(program), prompts, shell);
    QApplication::setWindowIcon(window.windowIcon());
    tessaly::WindowSet windows(window);
    QObject::connect(&guard, &tessaly::InstanceGuard::activationRequested, &window, [&window] {
        if (window.isMinimized()) window.showNormal();
        QWidget* active = QApplication::activeModalWidget();
        QWidget* target = active ? active : &window;
        target->raise();
        target->activateWindow();
    });
    window.show();
    return QApplication::exec();
}

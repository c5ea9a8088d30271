#include "gui/main/windowsounds.h"

#include <QProcess>
#include <QStandardPaths>

namespace tessaly {
namespace {

// The freedesktop sound theme's names for the window events.
QString themeName(const QString& event) {
    if (event == QLatin1String("Minimize")) return QStringLiteral("window-minimized");
    if (event == QLatin1String("RestoreUp")) return QStringLiteral("window-unminimized");
    return QString();
}

}  // namespace

WindowSounds::WindowSounds(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("WindowSounds"));
}

void WindowSounds::play(const QString& event) {
    last_ = event;
    const QString name = themeName(event);
    if (name.isEmpty()) return;
    const QString player = QStandardPaths::findExecutable(QStringLiteral("canberra-gtk-play"));
    if (!player.isEmpty()) QProcess::startDetached(player, {QStringLiteral("-i"), name});
}

}  // namespace tessaly

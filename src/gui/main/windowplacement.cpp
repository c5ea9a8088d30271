#include "gui/main/windowplacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QWidget>
#include <algorithm>

#include "core/settings/catalogsettings.h"
#include "core/text/errors.h"

namespace tessaly {
namespace {

// Comfortable on a 1366 x 768 screen: the folder list shows a dozen folders.
constexpr int kFirstWidth = 800;
constexpr int kFirstHeight = 560;

// Within [low, high]; low when the range is empty.
int limited(int value, int low, int high) { return std::max(low, std::min(value, high)); }

}  // namespace

void WindowPlacement::restore(QWidget& window, const CatalogSettings& settings) {
    QRect place = fromText(settings.mainWindowPlace);
    const QSize least = window.minimumSizeHint().expandedTo(window.minimumSize());
    QScreen* screen = QGuiApplication::screenAt(place.topLeft());
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    if (place.isEmpty())
        place = QRect(QPoint(settings.windowLeft, settings.windowTop), firstSize(least, room));
    place = fitted(place, least, room);
    window.resize(place.size());
    window.move(place.topLeft());
}

void WindowPlacement::store(const QWidget& window, CatalogSettings& settings) {
    const bool normal = !(window.windowState() &
                          (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    settings.mainWindowPlace =
        toText(normal ? QRect(window.pos(), window.size()) : window.normalGeometry());
    try {
        saveSetting(settings, &CatalogSettings::mainWindowPlace);
    } catch (const Error&) {
    }
}

QString WindowPlacement::toText(const QRect& place) {
    return QStringLiteral("%1,%2,%3,%4")
        .arg(place.left())
        .arg(place.top())
        .arg(place.width())
        .arg(place.height());
}

QRect WindowPlacement::fromText(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4) return QRect();
    int numbers[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        numbers[i] = parts.at(i).trimmed().toInt(&ok);
        if (!ok) return QRect();
    }
    if (numbers[2] <= 0 || numbers[3] <= 0) return QRect();
    return QRect(numbers[0], numbers[1], numbers[2], numbers[3]);
}

QSize WindowPlacement::firstSize(const QSize& minimum, const QRect& screen) {
    const QSize roomy(std::min(kFirstWidth, screen.width() * 9 / 10),
                      std::min(kFirstHeight, screen.height() * 9 / 10));
    return roomy.expandedTo(minimum);
}

QRect WindowPlacement::fitted(const QRect& place, const QSize& minimum, const QRect& screen) {
    const QSize size = place.size().boundedTo(screen.size()).expandedTo(minimum);
    const int left =
        limited(place.left(), screen.left(), screen.left() + screen.width() - size.width());
    const int top =
        limited(place.top(), screen.top(), screen.top() + screen.height() - size.height());
    return QRect(QPoint(left, top), size);
}

}  // namespace tessaly

#include "gui/main/programicon.h"

#include <QPainter>
#include <QPainterPath>

namespace tessaly {

QPixmap ProgramIcon::pixmap(int size) {
    QPixmap picture(64, 64);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    // The page of thumbnails behind.
    painter.setPen(QPen(QColor(90, 90, 90), 1.5));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(22, 4, 38, 46));
    painter.setBrush(QColor(170, 200, 230));
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column)
            painter.drawRect(QRectF(26 + column * 11, 8 + row * 13, 8, 9));
    }
    // The photograph in front.
    const QRectF photo(4, 22, 40, 36);
    painter.setPen(QPen(QColor(60, 60, 60), 2));
    painter.setBrush(QColor(250, 250, 245));
    painter.drawRect(photo);
    const QRectF sky = photo.adjusted(4, 4, -4, -4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(110, 170, 235));
    painter.drawRect(sky);
    painter.setBrush(QColor(255, 200, 40));
    painter.drawEllipse(QPointF(sky.right() - 8, sky.top() + 7), 4, 4);
    QPainterPath hills;
    hills.moveTo(sky.bottomLeft());
    hills.lineTo(sky.left() + 10, sky.top() + 14);
    hills.lineTo(sky.left() + 18, sky.top() + 20);
    hills.lineTo(sky.left() + 26, sky.top() + 11);
    hills.lineTo(sky.right(), sky.bottom() - 6);
    hills.lineTo(sky.bottomRight());
    hills.closeSubpath();
    painter.setBrush(QColor(60, 150, 70));
    painter.drawPath(hills);
    painter.end();
    return picture.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QIcon ProgramIcon::icon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) icon.addPixmap(pixmap(size));
    return icon;
}

}  // namespace tessaly

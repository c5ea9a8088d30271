#include "gui/common/elidedlabel.h"

#include <QPainter>
#include <QStyle>

namespace tessaly {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) { setTextFormat(Qt::PlainText); }

QRect ElidedLabel::textArea() const {
    const int inset = margin() + qMax(0, indent());
    return contentsRect().adjusted(inset, margin(), -inset, -margin());
}

QString ElidedLabel::shownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, textArea().width());
}

QSize ElidedLabel::minimumSizeHint() const {
    const QSize full = QLabel::minimumSizeHint();
    const int least = fontMetrics().horizontalAdvance(QStringLiteral("…")) * 3;
    return QSize(qMin(full.width(), least + width() - textArea().width()), full.height());
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrame(&painter);
    style()->drawItemText(&painter, textArea(),
                          QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                          isEnabled(), shownText(), foregroundRole());
}

}  // namespace tessaly

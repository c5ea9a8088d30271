#include "gui/options/stepbuttons.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace tessaly {

StepButtons::StepButtons(QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* button : {up_, down_}) {
        button->setAutoRepeat(true);
        button->setFixedSize(18, 12);
        button->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(button);
    }
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    up_->setObjectName(QStringLiteral("up"));
    down_->setObjectName(QStringLiteral("down"));
    up_->setAccessibleName(QStringLiteral("1 増やす"));
    down_->setAccessibleName(QStringLiteral("1 減らす"));
    connect(up_, &QToolButton::clicked, this, [this] { step(1); });
    connect(down_, &QToolButton::clicked, this, [this] { step(-1); });
}

void StepButtons::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = qMax(minimum, maximum);
    setPosition(position_);
}

void StepButtons::setPosition(int position) { position_ = qBound(minimum_, position, maximum_); }

void StepButtons::step(int delta) {
    setPosition(position_ + delta);
    emit clicked(position_);
}

}  // namespace tessaly

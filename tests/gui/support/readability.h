#pragma once

// Checks that a window or page is laid out readably: its named controls do not overlap, each
// lies inside the area, and no caption is clipped.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>

#include "gui/common/elidedlabel.h"

namespace tessaly::test {

inline bool isAncestorWidget(const QWidget* ancestor, const QWidget* widget) {
    for (const QWidget* w = widget->parentWidget(); w; w = w->parentWidget()) {
        if (w == ancestor) return true;
    }
    return false;
}

inline QRect rectIn(const QWidget* widget, const QWidget* area) {
    return QRect(widget->mapTo(area, QPoint(0, 0)), widget->size());
}

// The room a control's style gives its caption.
inline QRect captionRoom(QWidget* control) {
    QStyleOptionButton option;
    option.initFrom(control);
    if (auto* push = qobject_cast<QPushButton*>(control)) {
        option.text = push->text();
        return push->style()->subElementRect(QStyle::SE_PushButtonContents, &option, push);
    }
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
        option.text = box->text();
        return box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
    }
    const auto* label = qobject_cast<QLabel*>(control);
    const int inset = label->margin() + qMax(0, label->indent());
    return label->contentsRect().adjusted(inset, label->margin(), -inset, -label->margin());
}

// The caption is drawn whole: as wide and as tall as its glyphs. A name label that shortens
// its text in the middle must still show both ends of it.
inline void expectCaptionFits(QWidget* control) {
    const std::string name = control->objectName().toStdString();
    QString text;
    if (const auto* elided = qobject_cast<ElidedLabel*>(control)) {
        text = elided->shownText();
        if (!elided->text().isEmpty()) {
            EXPECT_EQ(text.front(), elided->text().front()) << name;
            EXPECT_EQ(text.back(), elided->text().back()) << name;
        }
    } else if (const auto* label = qobject_cast<QLabel*>(control)) {
        text = label->text();
    } else if (qobject_cast<QPushButton*>(control) || qobject_cast<QCheckBox*>(control)) {
        text = static_cast<QAbstractButton*>(control)->text();
    }
    if (text.isEmpty()) return;
    const QRect room = captionRoom(control);
    const QFontMetrics metrics = control->fontMetrics();
    EXPECT_LE(metrics.size(Qt::TextShowMnemonic, text).width(), room.width()) << name;
    EXPECT_LE(metrics.tightBoundingRect(text).height(), room.height()) << name;
}

inline void expectReadable(QWidget* area) {
    QList<QWidget*> controls;
    for (QWidget* widget : area->findChildren<QWidget*>()) {
        if (!widget->objectName().isEmpty() && widget->isVisibleTo(area) &&
            !widget->objectName().startsWith(QLatin1String("qt_"))) {
            controls << widget;
        }
    }
    const QRect inside = area->rect();
    for (QWidget* a : controls) {
        const QRect ra = rectIn(a, area);
        EXPECT_TRUE(inside.contains(ra)) << a->objectName().toStdString() << " leaves its area";
        expectCaptionFits(a);
        for (QWidget* b : controls) {
            if (a >= b || isAncestorWidget(a, b) || isAncestorWidget(b, a)) continue;
            EXPECT_FALSE(ra.intersects(rectIn(b, area)))
                << a->objectName().toStdString() << " overlaps " << b->objectName().toStdString();
        }
    }
}

}  // namespace tessaly::test

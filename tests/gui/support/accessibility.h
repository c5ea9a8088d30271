#pragma once

// What a screen reader finds in a window: every control that takes the focus from the
// keyboard has a name to read (its buddy label's text or its own accessible name).
#include <gtest/gtest.h>

#include <QAccessible>
#include <QWidget>

namespace tessaly::test {

inline void expectEveryControlNamed(QWidget* window) {
    for (QWidget* control : window->findChildren<QWidget*>()) {
        // Parts Qt builds inside a control (a spin box's edit ...) are read as the control.
        if (!(control->focusPolicy() & Qt::TabFocus) || !control->isVisibleTo(window) ||
            control->objectName().startsWith(QLatin1String("qt_"))) {
            continue;
        }
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(control);
        const QString name = reader ? reader->text(QAccessible::Name) : QString();
        EXPECT_FALSE(name.trimmed().isEmpty())
            << window->objectName().toStdString() << ": " << control->metaObject()->className()
            << " " << control->objectName().toStdString() << " has no accessible name";
    }
}

}  // namespace tessaly::test

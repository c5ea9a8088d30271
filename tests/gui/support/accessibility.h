#pragma once

// What a screen reader finds in a window: every control that takes the keyboard focus has a
// name (its own text, its buddy label's, or one given to it), and a control whose hint explains
// more has a description too.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QWidget>

namespace tessaly::test {

// The controls of window a user reaches with Tab (shown, enabled or not); the inner line edit
// of a spin box or combo box belongs to its box.
inline QList<QWidget*> focusableControls(QWidget* window) {
    QList<QWidget*> controls;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        const QWidget* parent = widget->parentWidget();
        if (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisibleTo(window) ||
            qobject_cast<const QAbstractSpinBox*>(parent) ||
            qobject_cast<const QComboBox*>(parent)) {
            continue;
        }
        controls << widget;
    }
    return controls;
}

inline void expectEveryControlNamed(QWidget* window) {
    const QList<QWidget*> controls = focusableControls(window);
    EXPECT_FALSE(controls.isEmpty()) << window->objectName().toStdString();
    for (QWidget* control : controls) {
        const std::string what = window->objectName().toStdString() + ": " +
                                 control->metaObject()->className() + " " +
                                 control->objectName().toStdString();
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(reader, nullptr) << what;
        EXPECT_FALSE(reader->text(QAccessible::Name).trimmed().isEmpty()) << what << " has no name";
        if (!control->toolTip().isEmpty()) {
            EXPECT_FALSE(reader->text(QAccessible::Description).isEmpty())
                << what << " has a hint but no description";
        }
    }
}

// The texts a user reads in window (its title, captions, hints and menu entries) hold no
// English word besides the names of file types, keys and the program's own.
inline void expectJapaneseCaptions(QWidget* window) {
    QStringList texts{window->windowTitle()};
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        texts << widget->toolTip();
        if (auto* label = qobject_cast<QLabel*>(widget)) texts << label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) texts << button->text();
    }
    for (QAction* action : window->findChildren<QAction*>()) texts << action->text();
    static const QRegularExpression mnemonic(QStringLiteral("\\(&[A-Z]\\)|&"));
    static const QRegularExpression allowed(
        QStringLiteral("(?<![A-Za-z])(JPG|JPEG|BMP|HEIC|HEIF|PNG|WebP|AVIF|GIF|URL|HTML|Tessaly|"
                       "Ver|OK|Esc|KB)(?![A-Za-z])"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression latin(QStringLiteral("[A-Za-z]+"));
    for (QString text : texts) {
        const QString shown = text;
        text.remove(mnemonic).remove(allowed);
        EXPECT_FALSE(text.contains(latin))
            << window->objectName().toStdString() << ": " << shown.toStdString();
    }
}

// Enter presses whichever push button has the focus, as Space does.
inline void expectEnterPressesFocusedButtons(QWidget* window) {
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        EXPECT_TRUE(button->autoDefault())
            << window->objectName().toStdString() << ": " << button->objectName().toStdString();
    }
}

}  // namespace tessaly::test

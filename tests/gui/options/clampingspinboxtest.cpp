#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "gui/options/clampingspinbox.h"

namespace tessaly::test {
namespace {

// Sends each character as a key press, as typing does.
void typeKeys(QWidget* widget, const QString& keys) {
    for (const QChar c : keys) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

void clearText(ClampingSpinBox& box) {
    box.findChild<QLineEdit*>()->selectAll();
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(&box, &del);
}

class SpinBoxTest : public ::testing::Test {
protected:
    SpinBoxTest() {
        box.setRange(10, 1000);
        box.setValue(110);
    }
    // Replaces the text by typing and lets the box lose the focus.
    int typeAndLeave(const QString& keys) {
        clearText(box);
        typeKeys(&box, keys);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(&box, &out);
        return box.value();
    }
    ClampingSpinBox box;
};

TEST_F(SpinBoxTest, ANumberOutsideTheRangeTakesTheNearestLimit) {
    EXPECT_EQ(typeAndLeave("5000"), 1000);
    EXPECT_EQ(typeAndLeave("5"), 10);
    EXPECT_EQ(typeAndLeave("-30"), 10);
    EXPECT_EQ(typeAndLeave("99999999999999999999"), 1000);
    EXPECT_EQ(typeAndLeave("250"), 250);
    EXPECT_EQ(box.text(), "250");
}

TEST_F(SpinBoxTest, TextThatIsNotAWholeNumberReadsAsTheMinimum) {
    EXPECT_EQ(typeAndLeave("12.5"), 10);
    EXPECT_EQ(typeAndLeave("+-"), 10);
    EXPECT_EQ(typeAndLeave(""), 10);
}

TEST_F(SpinBoxTest, OnlyDigitsSignsAndTheSeparatorCanBeTyped) {
    clearText(box);
    typeKeys(&box, "1a2b,x3");
    EXPECT_EQ(box.findChild<QLineEdit*>()->text(), "123");
}

TEST_F(SpinBoxTest, InterpretTextAppliesTheSameRule) {
    box.findChild<QLineEdit*>()->setText("2000");
    box.interpretText();
    EXPECT_EQ(box.value(), 1000);
}

TEST_F(SpinBoxTest, ArrowKeysStepWithinTheRange) {
    box.setValue(999);
    for (const auto& [key, expected] :
         {std::pair{Qt::Key_Up, 1000}, std::pair{Qt::Key_Up, 1000}, std::pair{Qt::Key_Down, 999}}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&box, &press);
        EXPECT_EQ(box.value(), expected);
    }
}

TEST_F(SpinBoxTest, MaxDigitsLimitsTyping) {
    box.setRange(300, 2000);
    box.setMaxDigits(4);
    EXPECT_EQ(typeAndLeave("123456"), 1234);
}

}  // namespace
}  // namespace tessaly::test

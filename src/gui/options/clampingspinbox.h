#pragma once

#include <QSpinBox>

namespace tessaly {

// A spin box for the options pages. Typing accepts digits, signs and the decimal separator
// only (other printable keys beep). When the box loses the focus, or interpretText() is
// called, a number outside the range is set to the nearest limit and a text that is not a
// whole number is read as the minimum.
class ClampingSpinBox : public QSpinBox {
    Q_OBJECT
public:
    explicit ClampingSpinBox(QWidget* parent = nullptr);

    // Limits how many characters can be typed (the slide size boxes take four digits).
    void setMaxDigits(int digits);

    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

protected:
    int valueFromText(const QString& text) const override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool isTypable(QChar c) const;
};

}  // namespace tessaly

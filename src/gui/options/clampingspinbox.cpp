#include "gui/options/clampingspinbox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>
#include <algorithm>

namespace tessaly {

ClampingSpinBox::ClampingSpinBox(QWidget* parent) : QSpinBox(parent) {
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

void ClampingSpinBox::setMaxDigits(int digits) { lineEdit()->setMaxLength(digits); }

bool ClampingSpinBox::isTypable(QChar c) const {
    return c.isDigit() || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('.') ||
           c == locale().decimalPoint().front();
}

QValidator::State ClampingSpinBox::validate(QString& input, int&) const {
    for (const QChar c : input) {
        if (!isTypable(c)) return QValidator::Invalid;
    }
    bool ok = false;
    const int number = input.toInt(&ok);
    if (ok && number >= minimum() && number <= maximum()) return QValidator::Acceptable;
    return QValidator::Intermediate;
}

void ClampingSpinBox::fixup(QString& input) const {
    static const QRegularExpression wholeNumber(QStringLiteral("^[+-]?[0-9]+$"));
    int fixed = minimum();
    if (wholeNumber.match(input).hasMatch()) {
        bool ok = false;
        const long long number = input.toLongLong(&ok);
        if (ok) {
            fixed = static_cast<int>(std::clamp<long long>(number, minimum(), maximum()));
        } else if (!input.startsWith(QLatin1Char('-'))) {
            fixed = maximum();  // too many digits for any range
        }
    }
    input = QString::number(fixed);
}

int ClampingSpinBox::valueFromText(const QString& text) const {
    QString copy = text;
    fixup(copy);
    return copy.toInt();
}

void ClampingSpinBox::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (text.size() == 1 && text.front().isPrint() && !isTypable(text.front())) {
        QApplication::beep();
        event->accept();
        return;
    }
    QSpinBox::keyPressEvent(event);
}

}  // namespace tessaly

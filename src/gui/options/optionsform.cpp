#include "gui/options/optionsform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/common/comboboxaccessible.h"
#include "gui/options/clampingspinbox.h"
#include "gui/options/colorswatch.h"

namespace tessaly::optionsform {
namespace {

template <typename T>
T* named(const char* name) {
    auto* widget = new T;
    widget->setObjectName(QLatin1String(name));
    return widget;
}

}  // namespace

QLabel* label(const char* name, const QString& text, bool red) {
    auto* widget = named<QLabel>(name);
    widget->setText(text);
    if (red) widget->setStyleSheet(QStringLiteral("color: red;"));
    return widget;
}

QLabel* labelFor(const char* name, const QString& text, char mnemonic, QWidget* buddy) {
    QLabel* widget = label(name, text + QStringLiteral("(&%1)").arg(QLatin1Char(mnemonic)));
    widget->setBuddy(buddy);
    // Read by a screen reader even where the label stands in another holder than its buddy.
    if (buddy->accessibleName().isEmpty()) buddy->setAccessibleName(text);
    return widget;
}

void explain(QWidget* widget, const QString& tip) {
    widget->setToolTip(tip);
    widget->setAccessibleDescription(tip);
}

QCheckBox* check(const char* name, const QString& caption, const QString& tip) {
    auto* widget = named<QCheckBox>(name);
    widget->setText(caption);
    if (!tip.isEmpty()) explain(widget, tip);
    return widget;
}

QPushButton* button(const char* name, const QString& caption, const QString& accessibleName) {
    auto* widget = named<QPushButton>(name);
    widget->setText(caption);
    widget->setAccessibleName(accessibleName);
    return widget;
}

QLineEdit* edit(const char* name, bool readOnly, int width, const QString& tip) {
    auto* widget = named<QLineEdit>(name);
    widget->setReadOnly(readOnly);
    if (width > 0) widget->setMinimumWidth(width);
    if (!tip.isEmpty()) explain(widget, tip);
    return widget;
}

ClampingSpinBox* spin(const char* name, int step) {
    auto* widget = named<ClampingSpinBox>(name);
    widget->setSingleStep(step);
    widget->setMinimumWidth(80);
    return widget;
}

QComboBox* combo(const char* name, const QString& tip) {
    ComboBoxAccessible::install();
    auto* widget = named<QComboBox>(name);
    widget->setMinimumWidth(160);
    explain(widget, tip);
    return widget;
}

ColorSwatch* swatch(const char* name, const QString& tip) {
    auto* widget = named<ColorSwatch>(name);
    widget->setFixedSize(80, 24);
    explain(widget, tip);
    return widget;
}

QVBoxLayout* column(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(6);
    return layout;
}

QHBoxLayout* row(std::initializer_list<QWidget*> widgets, bool stretch) {
    auto* layout = new QHBoxLayout;
    for (QWidget* widget : widgets) layout->addWidget(widget);
    if (stretch) layout->addStretch(1);
    return layout;
}

QWidget* indented(QLayout* inner) {
    auto* holder = new QWidget;
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(24, 0, 0, 0);
    layout->addLayout(inner);
    return holder;
}

}  // namespace tessaly::optionsform

#pragma once

#include <QString>
#include <initializer_list>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace tessaly {

class ClampingSpinBox;
class ColorSwatch;

// The small builders the options tabs are made of. Every control carries its form name as
// objectName; a label that names a control is its buddy, so a screen reader reads the label
// and the mnemonic letter (shown as "(&X)" after the caption) moves the focus to it.
namespace optionsform {

QLabel* label(const char* name, const QString& text, bool red = false);
// A caption for buddy with the mnemonic letter appended: "背景の色(&C)".
QLabel* labelFor(const char* name, const QString& text, char mnemonic, QWidget* buddy);
QCheckBox* check(const char* name, const QString& caption, const QString& tip = QString());
QPushButton* button(const char* name, const QString& caption, const QString& accessibleName);
QLineEdit* edit(const char* name, bool readOnly, int width, const QString& tip = QString());
// A number box; binding it to its setting gives it the range (SettingBinding::add).
ClampingSpinBox* spin(const char* name, int step = 1);
QComboBox* combo(const char* name, const QString& tip);
ColorSwatch* swatch(const char* name, const QString& tip);

// The tooltip, also read by a screen reader as the control's description.
void explain(QWidget* widget, const QString& tip);

QVBoxLayout* column(QWidget* page);
QHBoxLayout* row(std::initializer_list<QWidget*> widgets, bool stretch = true);
// A row moved right under its heading, in a holder of its own (labels stay beside their
// buddies in the same parent).
QWidget* indented(QLayout* inner);

}  // namespace optionsform
}  // namespace tessaly

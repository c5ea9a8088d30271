#include "gui/options/settingbinding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <QWidget>
#include <algorithm>

#include "core/text/formatting.h"
#include "gui/options/clampingspinbox.h"
#include "gui/options/colorswatch.h"
#include "gui/options/stepbuttons.h"

namespace tessaly {
namespace {

QString onOff(bool on) { return on ? QStringLiteral("on") : QStringLiteral("off"); }

// The entry a text names: itself, or in a numbered list the entry a number names in steps
// of the first entry, rounded half to even ("250" in 100, 200 ... is "200"); -1 for none.
// A list of names whose text is none of them keeps its selection. A list whose entries carry
// the stored values as their data shows its own captions for them.
int entryFor(const QComboBox& list, const QString& text) {
    // A list whose entries carry their stored values: the entry storing the text, else the
    // first (the default).
    if (list.count() > 0 && !list.itemData(0).isNull()) {
        const int stored = list.findData(text);
        return stored >= 0 ? stored : 0;
    }
    const int exact = list.findText(text, Qt::MatchExactly);
    if (exact >= 0) return exact;
    bool stepIsNumber = false;
    const double step = list.itemText(0).toDouble(&stepIsNumber);
    if (!stepIsNumber || step <= 0) return list.currentIndex();
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (!ok) return -1;
    const long long index = roundHalfEven(static_cast<long double>(number) / step) - 1;
    return index >= 0 && index < list.count() ? static_cast<int>(index) : -1;
}

void loadControl(QWidget* control, const SettingRow& row, const CatalogSettings& record) {
    const QString value = row.valueText(record);
    const QSignalBlocker quiet(qobject_cast<QSlider*>(control));  // a load moves no window
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
        box->setChecked(row.isOn(record));
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(value);
    } else if (auto* number = qobject_cast<QSpinBox*>(control)) {
        number->setValue(settingInt(value, number->minimum()));
    } else if (auto* bar = qobject_cast<QSlider*>(control)) {
        bar->setValue(qBound(bar->minimum(), settingInt(value), bar->maximum()));
    } else if (auto* arrows = qobject_cast<StepButtons*>(control)) {
        arrows->setPosition(settingInt(value, arrows->minimum()));
    } else if (auto* colour = qobject_cast<ColorSwatch*>(control)) {
        colour->setColour(settingInt(value));
    } else if (auto* list = qobject_cast<QComboBox*>(control)) {
        list->setCurrentIndex(entryFor(*list, value));
    }
}

QString controlValue(const QWidget* control) {
    if (auto* box = qobject_cast<const QCheckBox*>(control)) return onOff(box->isChecked());
    if (auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->text();
    if (auto* number = qobject_cast<const QSpinBox*>(control)) {
        return QString::number(number->value());
    }
    if (auto* bar = qobject_cast<const QSlider*>(control)) return QString::number(bar->value());
    if (auto* arrows = qobject_cast<const StepButtons*>(control)) {
        return QString::number(arrows->position());
    }
    if (auto* colour = qobject_cast<const ColorSwatch*>(control)) {
        return QString::number(colour->colour());
    }
    if (auto* list = qobject_cast<const QComboBox*>(control)) {
        const QVariant stored = list->currentData();
        return stored.isNull() ? list->currentText() : stored.toString();
    }
    return QString();
}

// The kinds of control that can edit a setting (those loadControl knows).
bool isBindable(const QWidget* widget) {
    return qobject_cast<const QCheckBox*>(widget) || qobject_cast<const QLineEdit*>(widget) ||
           qobject_cast<const QSpinBox*>(widget) || qobject_cast<const QSlider*>(widget) ||
           qobject_cast<const StepButtons*>(widget) || qobject_cast<const ColorSwatch*>(widget) ||
           qobject_cast<const QComboBox*>(widget);
}

// A bindable control that is no part of another one (as a number box's own edit is).
bool isOwnControl(const QWidget* widget, const QWidget& root) {
    if (!isBindable(widget)) return false;
    for (const QWidget* up = widget->parentWidget(); up && up != &root; up = up->parentWidget()) {
        if (isBindable(up)) return false;
    }
    return true;
}

QString nameOf(const QWidget* control) {
    return QStringLiteral("%1 \"%2\"")
        .arg(QLatin1String(control->metaObject()->className()), control->objectName());
}

}  // namespace

// A number box or arrow buttons take their range from the row they edit.
void SettingBinding::add(const SettingRow* row, QWidget* control) {
    bound_.push_back({row, control});
    if (!row || !row->range.bounded()) return;
    if (auto* number = qobject_cast<QSpinBox*>(control)) {
        number->setRange(row->range.minimum, row->range.maximum);
    } else if (auto* arrows = qobject_cast<StepButtons*>(control)) {
        arrows->setRange(row->range.minimum, row->range.maximum);
    }
}

void SettingBinding::addUnbound(QWidget* control) { unbound_.push_back(control); }

void SettingBinding::append(const SettingBinding& other) {
    bound_.insert(bound_.end(), other.bound_.begin(), other.bound_.end());
    unbound_.insert(unbound_.end(), other.unbound_.begin(), other.unbound_.end());
}

void SettingBinding::load(const CatalogSettings& record) const {
    for (const Bound& bound : bound_) {
        if (bound.row) loadControl(bound.control, *bound.row, record);
    }
}

void SettingBinding::store(CatalogSettings& record) const {
    for (const Bound& bound : bound_) {
        if (bound.row) bound.row->setValueText(record, controlValue(bound.control));
    }
}

QWidget* SettingBinding::control(const SettingRow& row) const {
    for (const Bound& bound : bound_) {
        if (bound.row == &row) return bound.control;
    }
    return nullptr;
}

const SettingRow* SettingBinding::row(const QWidget* control) const {
    for (const Bound& bound : bound_) {
        if (bound.control == control) return bound.row;
    }
    return nullptr;
}

QStringList SettingBinding::problems(const QWidget& root) const {
    QStringList found;
    for (const SettingRow& row : settingRows()) {
        int controls = 0;
        for (const Bound& bound : bound_) controls += bound.row == &row ? 1 : 0;
        const QString key = QString::fromUtf8(row.key);
        if (row.inOptions && controls != 1) {
            found << QStringLiteral("%1: %2 controls, not one").arg(key).arg(controls);
        } else if (!row.inOptions && controls > 0) {
            found << QStringLiteral("%1: edited outside the options, yet bound").arg(key);
        }
    }
    for (const Bound& bound : bound_) {
        if (!bound.row) found << nameOf(bound.control) + QStringLiteral(": bound to no setting");
        const bool number = qobject_cast<const QSpinBox*>(bound.control) ||
                            qobject_cast<const StepButtons*>(bound.control);
        if (bound.row && number && !bound.row->range.bounded()) {
            found << nameOf(bound.control) + QStringLiteral(": a number without its range");
        }
        if (!root.isAncestorOf(bound.control)) {
            found << nameOf(bound.control) + QStringLiteral(": bound, but not in the window");
        }
    }
    for (const QWidget* widget : root.findChildren<QWidget*>()) {
        const auto named = [widget](const Bound& bound) { return bound.control == widget; };
        const bool known = std::any_of(bound_.begin(), bound_.end(), named) ||
                           std::find(unbound_.begin(), unbound_.end(), widget) != unbound_.end();
        if (!known && isOwnControl(widget, root)) {
            found << nameOf(widget) + QStringLiteral(": a control bound to no setting");
        }
    }
    return found;
}

}  // namespace tessaly

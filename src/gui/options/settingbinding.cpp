#include "gui/options/settingbinding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <QWidget>

#include "core/settings/settingstable.h"
#include "core/text/formatting.h"
#include "gui/options/clampingspinbox.h"
#include "gui/options/colorswatch.h"
#include "gui/options/stepbuttons.h"

namespace tessaly {
namespace {

QString onOff(bool on) { return on ? QStringLiteral("on") : QStringLiteral("off"); }

// The entry a text names: itself, or in a numbered list the entry a number names in steps
// of the first entry, rounded half to even ("250" in 100, 200 ... is "200"); -1 for none.
// A list of names whose text is none of them keeps its selection.
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

}  // namespace

void SettingBinding::load(QWidget& root, const CatalogSettings& record) {
    for (const SettingRow& row : settingRows()) {
        if (!row.control) continue;
        if (auto* control = root.findChild<QWidget*>(QLatin1String(row.control))) {
            loadControl(control, row, record);
        }
    }
}

void SettingBinding::store(const QWidget& root, CatalogSettings& record) {
    for (const SettingRow& row : settingRows()) {
        if (!row.control) continue;
        if (auto* control = root.findChild<QWidget*>(QLatin1String(row.control))) {
            row.setValueText(record, controlValue(control));
        }
    }
}

}  // namespace tessaly

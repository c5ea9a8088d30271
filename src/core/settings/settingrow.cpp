#include "core/settings/settingrow.h"

#include "core/settings/catalogsettings.h"

namespace tessaly {

QString SettingRow::valueText(const CatalogSettings& settings) const {
    return text ? settings.*text : QString::number(settings.*number);
}

void SettingRow::setValueText(CatalogSettings& settings, const QString& value) const {
    if (text) {
        settings.*text = value;
    } else {
        settings.*number = settingInt(value, settingInt(QString::fromUtf8(defaultValue)));
    }
}

bool SettingRow::isOn(const CatalogSettings& settings) const {
    const QString value = valueText(settings);
    return rule == SwitchRule::OnUnlessOff ? value != QLatin1String("off")
                                           : value == QLatin1String("on");
}

int SettingRow::defaultNumber() const { return settingInt(QString::fromUtf8(defaultValue)); }

int SettingRow::rangedNumber(const CatalogSettings& settings) const {
    const QString value = valueText(settings);
    bool ok = false;
    const int number = value.trimmed().toInt(&ok);
    if (!ok || (number <= 0 && range.minimum > 0)) return defaultNumber();
    return range.clamped(number);
}

const SettingRow* settingRow(CatalogSettings::Text field) {
    for (const SettingRow& row : settingRows()) {
        if (field && row.text == field) return &row;
    }
    return nullptr;
}

const SettingRow* settingRow(int CatalogSettings::*field) {
    for (const SettingRow& row : settingRows()) {
        if (field && row.number == field) return &row;
    }
    return nullptr;
}

bool CatalogSettings::isOn(Text field) const {
    const SettingRow* row = settingRow(field);
    return row && row->type == SettingType::Switch && row->isOn(*this);
}

void CatalogSettings::setOn(Text field, bool on) {
    this->*field = on ? QStringLiteral("on") : QStringLiteral("off");
}

int CatalogSettings::number(Text field) const { return settingInt(this->*field); }

int CatalogSettings::rangedNumber(Text field) const {
    const SettingRow* row = settingRow(field);
    return row ? row->rangedNumber(*this) : number(field);
}

}  // namespace tessaly

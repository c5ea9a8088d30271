#include "core/settings/settingsview.h"

#include "core/settings/settingstable.h"

namespace tessaly {

SettingsView viewOf(const CatalogSettings& s) {
    SettingsView v;
    for (const SettingRow& row : settingRows()) {
        if (row.viewSwitch) v.*row.viewSwitch = row.isOn(s);
        if (row.viewNumber) v.*row.viewNumber = settingInt(row.valueText(s));
    }
    return v;
}

}  // namespace tessaly

#pragma once

#include <QString>
#include <vector>

#include "core/settings/catalogsettings.h"
#include "core/settings/settingsview.h"

namespace tessaly {

// How a stored value is held: a text as stored, one of the four integers, a switch
// ("on"/"off"), a decimal number or a colour held as text.
enum class SettingType { Text, Integer, Switch, Number, Colour };

// How a switch's text reads as on: exactly "on", or anything but "off". The options dialog
// shows a switch the way the pages read it.
enum class SwitchRule { None, OnWhenOn, OnUnlessOff };

// One stored setting: the one place that says where it is in Quorvel.ini, what it holds,
// how it reads, which options control edits it and which view field the pages read.
//
// Adding a setting: its field in CatalogSettings; one row at the end of settingRows(), made by
// appended() (the file's version stays; the line follows the last block); and, when the options
// dialog edits it, a control of one of its tabs whose objectName is the row's control (a check box,
// edit, number box, track bar, arrow buttons, colour swatch or list: SettingBinding moves the
// value). A switch or number the pages read names its SettingsView field in the row.
struct SettingRow {
    const char* key;  // key line as stored, brackets included
    double since;     // version of the file layout that added it
    SettingType type;
    QString CatalogSettings::*text;  // every type but Integer
    int CatalogSettings::*number;    // Integer
    const char* defaultValue;
    SwitchRule rule;
    const char* control;             // objectName of the options control; null: none
    bool SettingsView::*viewSwitch;  // switches the pages read
    int SettingsView::*viewNumber;   // numbers the pages read (settingInt)
    // A line added after the last block: read by its key wherever it stands after the blocks,
    // written only when it holds a value, so that a file without it is written back as it was.
    bool appended = false;

    // The value in its stored form ("95" for an integer).
    QString valueText(const CatalogSettings& settings) const;
    // Sets the value from its stored form; an integer that does not read keeps its default.
    void setValueText(CatalogSettings& settings, const QString& value) const;
    // A switch as its readers take it.
    bool isOn(const CatalogSettings& settings) const;
};

// The stored settings in file order.
const std::vector<SettingRow>& settingRows();

// The row whose options control has this objectName; null when none.
const SettingRow* settingRowForControl(const QString& objectName);

}  // namespace tessaly

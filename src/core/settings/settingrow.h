#pragma once

#include <QString>

namespace tessaly {

struct CatalogSettings;

// The whole numbers a setting takes, both ends included; an empty range (the default) bounds
// nothing.
struct SettingRange {
    int minimum = 0;
    int maximum = -1;

    constexpr bool bounded() const { return minimum <= maximum; }
    constexpr bool contains(int value) const {
        return !bounded() || (value >= minimum && value <= maximum);
    }
    // The value, or the nearer end of the range when it lies outside.
    constexpr int clamped(int value) const {
        if (!bounded()) return value;
        return value < minimum ? minimum : value > maximum ? maximum : value;
    }
};

// How a stored value is held: a text as stored, one of the four integers, a switch
// ("on"/"off"), a decimal number or a colour held as text.
enum class SettingType { Text, Integer, Switch, Number, Colour };

// How a switch's text reads as on: exactly "on", or anything but "off". The options dialog
// shows a switch the way the pages read it.
enum class SwitchRule { None, OnWhenOn, OnUnlessOff };

// One stored setting, named by its field of CatalogSettings: where it is in Quorvel.ini, what
// it holds, how it reads, whether the options dialog edits it and, for a text the user types or
// chooses there, the name messages give it and whether it must read back exactly. The rows
// themselves are settingRows() (catalogsettings.h).
struct SettingRow {
    QString CatalogSettings::*text = nullptr;  // every type but Integer
    int CatalogSettings::*number = nullptr;    // Integer
    const char* key = "";                      // key line as stored, brackets included
    double since = 0;                          // version of the file layout that added it
    SettingType type = SettingType::Text;
    const char* defaultValue = "";
    SwitchRule rule = SwitchRule::None;
    // A line added after the last block: read by its key wherever it stands after the blocks,
    // written only when it holds a value, so that a file without it is written back as it was.
    bool appended = false;
    bool inOptions = true;        // edited by one control of the options dialog
    const char* label = nullptr;  // a text checked before the options are stored: its name
    bool exact = false;           // a path or a name: stored only when it reads back exactly
    SettingRange range{};         // a number's: what the options dialog lets the user choose

    // The value in its stored form ("95" for an integer).
    QString valueText(const CatalogSettings& settings) const;
    // Sets the value from its stored form; an integer that does not read keeps its default.
    void setValueText(CatalogSettings& settings, const QString& value) const;
    // A switch as its readers take it.
    bool isOn(const CatalogSettings& settings) const;
    // The default as a number (0 when it is none).
    int defaultNumber() const;
    // A number within the range: one outside it is brought to its nearer end; one that does not
    // read, or reads 0 or less where the range starts above 0 (unset), is the default.
    int rangedNumber(const CatalogSettings& settings) const;

    // The same row, changed: a line after the last block, edited outside the options dialog,
    // a number kept within a range, or a text the options dialog checks (named in its messages;
    // exact for paths and names).
    constexpr SettingRow afterLastBlock() const {
        SettingRow row = *this;
        row.appended = true;
        return row;
    }
    constexpr SettingRow outsideOptions() const {
        SettingRow row = *this;
        row.inOptions = false;
        return row;
    }
    constexpr SettingRow within(int minimum, int maximum) const {
        SettingRow row = *this;
        row.range = SettingRange{minimum, maximum};
        return row;
    }
    constexpr SettingRow checked(const char* name, bool mustBeExact) const {
        SettingRow row = *this;
        row.label = name;
        row.exact = mustBeExact;
        return row;
    }
};

// The rows' makers, one per kind of value.
namespace settingrow {

constexpr SettingRow text(QString CatalogSettings::*field, const char* key, double since,
                          const char* value) {
    SettingRow row;
    row.text = field;
    row.key = key;
    row.since = since;
    row.defaultValue = value;
    return row;
}

constexpr SettingRow integer(int CatalogSettings::*field, const char* key, double since,
                             const char* value) {
    SettingRow row;
    row.number = field;
    row.key = key;
    row.since = since;
    row.type = SettingType::Integer;
    row.defaultValue = value;
    return row;
}

constexpr SettingRow typed(SettingType type, SettingRow row) {
    row.type = type;
    return row;
}

// A switch on only when it reads "on", or (NotOff) unless it reads "off".
constexpr SettingRow toggle(QString CatalogSettings::*field, const char* key, double since,
                            const char* value, SwitchRule rule = SwitchRule::OnWhenOn) {
    SettingRow row = typed(SettingType::Switch, text(field, key, since, value));
    row.rule = rule;
    return row;
}

constexpr SettingRow number(QString CatalogSettings::*field, const char* key, double since,
                            const char* value) {
    return typed(SettingType::Number, text(field, key, since, value));
}

constexpr SettingRow colour(QString CatalogSettings::*field, const char* key, double since,
                            const char* value) {
    return typed(SettingType::Colour, text(field, key, since, value));
}

}  // namespace settingrow
}  // namespace tessaly

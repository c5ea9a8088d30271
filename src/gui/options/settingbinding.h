#pragma once

#include <QStringList>
#include <vector>

#include "core/settings/catalogsettings.h"

class QWidget;

namespace tessaly {

// The options controls, each bound to the setting it edits by its row in settingRows(), and
// the controls that edit none. Moves every setting between the record and its control by the
// control's kind: a check box shows its switch as the pages read it and stores "on" or "off";
// an edit holds the text; a number box, a track bar and the arrow buttons a number (one that
// does not read gives the minimum); a swatch a colour; a list the entry the text names
// (exactly, or the entry a number names in steps of the first entry: "300" in 100, 200 ... is
// the third; a list of names keeps its selection).
class SettingBinding {
public:
    // Binds control to row; a null row (a field that is not stored) is one of problems(). A
    // number box or arrow buttons take the row's range.
    void add(const SettingRow* row, QWidget* control);
    // A control that edits no setting: a value shown for another, or a choice made at OK.
    void addUnbound(QWidget* control);
    void append(const SettingBinding& other);

    void load(const CatalogSettings& record) const;
    void store(CatalogSettings& record) const;

    // The control bound to row; null when none is.
    QWidget* control(const SettingRow& row) const;
    // The row a control is bound to; null when none.
    const SettingRow* row(const QWidget* control) const;

    // What keeps the controls under root and the rows from meeting one to one, a line each:
    // a row the options dialog edits without its control or with two, a row edited elsewhere
    // with one, a control bound to no row or outside root, a number control bound to a row
    // without a range, and a control of a bindable kind
    // under root that was neither bound nor added unbound. Empty when they meet.
    QStringList problems(const QWidget& root) const;

private:
    struct Bound {
        const SettingRow* row;
        QWidget* control;
    };
    std::vector<Bound> bound_;
    std::vector<const QWidget*> unbound_;
};

}  // namespace tessaly

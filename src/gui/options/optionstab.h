#pragma once

#include <QWidget>

#include "core/settings/catalogsettings.h"
#include "gui/options/settingbinding.h"

class QLineEdit;

namespace tessaly {

class Prompts;

// One page of the options dialog. Each of its controls is bound to the setting it edits (by the
// setting's field) or added as editing none; the dialog loads and stores them through these
// bindings (SettingBinding), and a page adds only what the settings table cannot say. A control
// keeps its form name only as its objectName.
class OptionsTab : public QWidget {
    Q_OBJECT
public:
    OptionsTab(const char* objectName, const QString& title);

    QString title() const { return title_; }
    const SettingBinding& binding() const { return binding_; }

    // Before the controls are loaded from the record.
    virtual void prepareLoad() {}
    // After they were loaded: shows derived values and applies the enabling rules.
    virtual void loaded() { applyEnablingRules(); }
    // After the controls were stored into record: the values that depend on more than one
    // control.
    virtual void store(CatalogSettings& record) const { (void)record; }

protected:
    // The controls that depend on a check box follow its state.
    virtual void applyEnablingRules() {}
    // Calls applyEnablingRules whenever one of these boxes is ticked or unticked.
    void followBoxes(std::initializer_list<QWidget*> boxes);
    // Puts a chosen path into field unless the settings file cannot hold it exactly, which
    // prompts then says (naming the field); false when refused.
    bool offerPath(Prompts& prompts, QLineEdit* field, const QString& path);

    // The control edits the setting stored in field.
    template <typename Control>
    Control* bind(CatalogSettings::Text field, Control* control) {
        binding_.add(settingRow(field), control);
        return control;
    }
    template <typename Control>
    Control* bind(int CatalogSettings::*field, Control* control) {
        binding_.add(settingRow(field), control);
        return control;
    }
    // The control edits no setting.
    template <typename Control>
    Control* unbound(Control* control) {
        binding_.addUnbound(control);
        return control;
    }

private:
    QString title_;
    SettingBinding binding_;
};

}  // namespace tessaly

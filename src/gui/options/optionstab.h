#pragma once

#include <QWidget>

#include "core/settings/catalogsettings.h"

class QLineEdit;

namespace tessaly {

class Prompts;

// One page of the options dialog. Its controls that edit a setting carry the objectName of
// their row in settingRows(), through which the dialog loads and stores them
// (SettingBinding); a page adds only what the table cannot say.
class OptionsTab : public QWidget {
    Q_OBJECT
public:
    OptionsTab(const char* objectName, const QString& title);

    QString title() const { return title_; }

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

private:
    QString title_;
};

}  // namespace tessaly

#pragma once

#include "gui/options/optionstab.h"

class QCheckBox;
class QLineEdit;
class QVBoxLayout;

namespace tessaly {

// "ﾍｯﾀﾞｰ/ﾌｯﾀｰ": the default header and footer lines or the user's own, and the footer link.
class HeaderFooterTab : public OptionsTab {
    Q_OBJECT
public:
    HeaderFooterTab();

protected:
    void applyEnablingRules() override;

private:
    QLineEdit* addText(QVBoxLayout* layout, const char* labelName, const QString& caption,
                       char mnemonic, const char* name, CatalogSettings::Text setting,
                       const QString& accessibleName);

    QCheckBox* headerDefault_ = nullptr;
    QCheckBox* footerDefault_ = nullptr;
    QCheckBox* footerLink_ = nullptr;
    QLineEdit* headerText_ = nullptr;
    QLineEdit* footerText_ = nullptr;
    QLineEdit* footerUrl_ = nullptr;
};

}  // namespace tessaly

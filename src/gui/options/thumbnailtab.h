#pragma once

#include "gui/options/optionstab.h"

class QCheckBox;
class QGridLayout;

namespace tessaly {

// "ｻﾑﾈｲﾙ画像": thumbnail size, quality and filter, and how a thumbnail opens its image.
class ThumbnailTab : public OptionsTab {
    Q_OBJECT
public:
    ThumbnailTab();

    // The script window is used only together with a new browser window.
    void store(CatalogSettings& record) const override;

protected:
    void applyEnablingRules() override;

private:
    void addNumber(QGridLayout* grid, int line, QWidget* number, const char* labelName,
                   const QString& caption, char mnemonic);

    QCheckBox* newWindow_ = nullptr;
    QCheckBox* scriptPopup_ = nullptr;
};

}  // namespace tessaly

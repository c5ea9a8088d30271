#pragma once

#include "gui/options/optionstab.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QPushButton;

namespace tessaly {

// "タイトル設定": size, colour, style, face and table of the page title.
class TitleTab : public OptionsTab {
    Q_OBJECT
public:
    explicit TitleTab(Prompts& prompts);

protected:
    void applyEnablingRules() override;

private:
    void addColour(QGridLayout* grid, int line, CatalogSettings::Text field, const char* names[3],
                   const QString& caption, char mnemonic);
    void addList(QGridLayout* grid, int line, QComboBox* list, const char* labelName,
                 const QString& caption, char mnemonic);
    void fillLists();

    Prompts& prompts_;
    QCheckBox* useFont_ = nullptr;
    QCheckBox* useTable_ = nullptr;
    QComboBox* size_ = nullptr;
    QComboBox* face_ = nullptr;
    QComboBox* tableWidth_ = nullptr;
    QPushButton* backColour_ = nullptr;
};

}  // namespace tessaly

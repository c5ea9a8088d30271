#pragma once

#include "gui/options/optionstab.h"

class QCheckBox;
class QLayout;
class QLineEdit;
class QPushButton;

namespace tessaly {

class ColorSwatch;

// "ページ設定": the frame width, the background colour, the background image and the page
// style.
class PageTab : public OptionsTab {
    Q_OBJECT
public:
    explicit PageTab(Prompts& prompts);

    // Opens the colour chooser at the swatch's colour; the swatch takes the colour chosen.
    static void chooseColour(Prompts& prompts, QWidget* parent, ColorSwatch* swatch);

protected:
    void applyEnablingRules() override;

private:
    QWidget* buildBackgroundImage();
    QLayout* buildStyle();
    void chooseBackgroundFile();

    Prompts& prompts_;
    QCheckBox* useImage_ = nullptr;
    QLineEdit* file_ = nullptr;
    QPushButton* chooseFile_ = nullptr;
};

}  // namespace tessaly

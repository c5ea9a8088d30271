#pragma once

#include "gui/options/optionstab.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace tessaly {

class ColorSwatch;

// "ページ設定": the frame width, the background colour and the background image.
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
    void chooseBackgroundFile();

    Prompts& prompts_;
    QCheckBox* useImage_ = nullptr;
    QLineEdit* file_ = nullptr;
    QPushButton* chooseFile_ = nullptr;
};

}  // namespace tessaly

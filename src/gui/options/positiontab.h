#pragma once

#include "gui/options/optionstab.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QSlider;

namespace tessaly {

// "表示位置": where the main window opens, its current place or the one set on the track
// bars; moving a bar moves the main window at once.
class PositionTab : public OptionsTab {
    Q_OBJECT
public:
    explicit PositionTab(QWidget* mainWindow);

    // The bars take the screen's size as their range (the screen of this moment).
    void prepareLoad() override;
    void loaded() override;
    // With "現在の位置を保存する" ticked, the main window's current place.
    void store(CatalogSettings& record) const override;

    // The bars (and their numbers) take this place, limited to their ranges; nothing moves.
    void setBars(int left, int top);

protected:
    void applyEnablingRules() override;

private:
    QSlider* addBar(int CatalogSettings::*setting, const char* names[3], const QString& caption,
                    char mnemonic, int line);
    void barMoved(QSlider* bar, int position);

    QWidget* mainWindow_;
    QCheckBox* keepCurrent_ = nullptr;
    QGroupBox* group_ = nullptr;
    QSlider* left_ = nullptr;
    QSlider* top_ = nullptr;
    QLineEdit* leftNumber_ = nullptr;
    QLineEdit* topNumber_ = nullptr;
    bool settingBars_ = false;
};

}  // namespace tessaly

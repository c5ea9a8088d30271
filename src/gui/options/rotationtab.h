#pragma once

#include "gui/options/optionstab.h"

class QLineEdit;

namespace tessaly {

class StepButtons;

// "画像回転": the quality and the backup of the rotation window.
class RotationTab : public OptionsTab {
    Q_OBJECT
public:
    RotationTab();

    void loaded() override;

protected:
    // The up and down keys in the quality field step it as the arrow buttons do.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* quality_ = nullptr;
    StepButtons* arrows_ = nullptr;
};

}  // namespace tessaly

#pragma once

#include "gui/options/optionstab.h"

class QCheckBox;
class QComboBox;

namespace tessaly {

class ClampingSpinBox;

// "公開用コピー": whether the pages link to light copies of the photographs, their longer side
// and whether they keep where the photographs were taken.
class WebCopyTab : public OptionsTab {
    Q_OBJECT
public:
    WebCopyTab();

protected:
    void applyEnablingRules() override;

private:
    QCheckBox* makeCopies_ = nullptr;
    ClampingSpinBox* longSide_ = nullptr;
    QComboBox* location_ = nullptr;
};

}  // namespace tessaly

#pragma once

#include "gui/options/optionstab.h"

class QCheckBox;

namespace tessaly {

class ClampingSpinBox;

// "スライドショウ": whether a slide show page is made, its interval and largest slide size.
class SlideShowTab : public OptionsTab {
    Q_OBJECT
public:
    SlideShowTab();

protected:
    void applyEnablingRules() override;

private:
    QCheckBox* slideShow_ = nullptr;
    QCheckBox* limitSize_ = nullptr;
    ClampingSpinBox* interval_ = nullptr;
    ClampingSpinBox* maxWidth_ = nullptr;
    ClampingSpinBox* maxHeight_ = nullptr;
};

}  // namespace tessaly

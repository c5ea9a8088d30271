#pragma once

#include <functional>

#include "gui/options/optionstab.h"

class QCheckBox;
class QComboBox;
class QVBoxLayout;
class QLineEdit;

namespace tessaly {

class ClampingSpinBox;

// "公開用コピー": whether the pages link to light copies of the photographs, their longer side
// and whether they keep where the photographs were taken; the folder a run publishes the
// site to.
class WebCopyTab : public OptionsTab {
    Q_OBJECT
public:
    using FolderChooser = std::function<QString(const QString& start)>;

    explicit WebCopyTab(const FolderChooser& pickFolder);

protected:
    void applyEnablingRules() override;

private:
    void addPublishFolder(QVBoxLayout* layout);
    void choosePublishFolder();

    const FolderChooser& pickFolder_;
    QLineEdit* publishFolder_ = nullptr;
    QCheckBox* makeCopies_ = nullptr;
    ClampingSpinBox* longSide_ = nullptr;
    QComboBox* location_ = nullptr;
};

}  // namespace tessaly

#pragma once

#include "gui/options/optionstab.h"

class QLineEdit;
class QVBoxLayout;

namespace tessaly {

// "外部ソフト": the browser that opens a finished page and the viewer that opens an image.
class ProgramsTab : public OptionsTab {
    Q_OBJECT
public:
    explicit ProgramsTab(Prompts& prompts);

private:
    QLineEdit* addProgram(QVBoxLayout* layout, const char* names[2], CatalogSettings::Text setting,
                          const QString& tip, const QString& subject);

    Prompts& prompts_;
};

}  // namespace tessaly

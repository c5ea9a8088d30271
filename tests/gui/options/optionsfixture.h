#pragma once

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QWidget>
#include <memory>

#include "gui/common/appcontext.h"
#include "gui/options/clampingspinbox.h"
#include "gui/options/colorswatch.h"
#include "gui/options/optionsdialog.h"
#include "gui/options/stepbuttons.h"
#include "gui/support/findchild.h"
#include "gui/support/scriptedprompts.h"
#include "support/tempdir.h"

namespace tessaly::test {

// A main window stand-in, a settings record in a temporary program folder and the dialog.
class OptionsTest : public ::testing::Test {
protected:
    OptionsTest() { settings.appFolder = dir.path(); }

    // Builds the dialog over the current record (after the test has set it up).
    OptionsDialog& dialog() {
        if (!option) {
            mainWindow.move(settings.windowLeft, settings.windowTop);  // as the main window does
            option =
                std::make_unique<OptionsDialog>(context, &mainWindow, [this](const QString& start) {
                    pickerStarts << start;
                    return pickerAnswer;
                });
            option->setRotationQualityHandler([this](int quality) { qualities << quality; });
        }
        return *option;
    }

    template <typename T>
    T* control(const char* name) {
        return child<T>(dialog(), name);
    }
    QLineEdit* edit(const char* name) { return control<QLineEdit>(name); }
    QCheckBox* box(const char* name) { return control<QCheckBox>(name); }
    QComboBox* combo(const char* name) { return control<QComboBox>(name); }
    ClampingSpinBox* spin(const char* name) { return control<ClampingSpinBox>(name); }
    ColorSwatch* swatch(const char* name) { return control<ColorSwatch>(name); }
    QSlider* bar(const char* name) { return control<QSlider>(name); }
    void click(const char* name) { control<QPushButton>(name)->click(); }

    // Every field different from its default and from every other field where it can be.
    static CatalogSettings unusualSettings(const QString& appFolder);

    TempDir dir;
    CatalogSettings settings;
    ScriptedPrompts prompts;
    RecordingShell shell;
    AppContext context{settings, prompts, shell};
    QWidget mainWindow;
    QString pickerAnswer;
    QStringList pickerStarts;
    QList<int> qualities;
    std::unique_ptr<OptionsDialog> option;
};

}  // namespace tessaly::test

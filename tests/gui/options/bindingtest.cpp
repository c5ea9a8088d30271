// The options controls and the settings they edit meet one to one, or the binding says where
// they do not (the dialog stops a debug build at creation on any such line).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QWidget>
#include <functional>

#include "gui/options/clampingspinbox.h"
#include "gui/options/settingbinding.h"

namespace tessaly::test {
namespace {

TEST(SettingBindingTest, ControlsAndSettingsThatDoNotMeetAreNamed) {
    using Change = std::function<void(QWidget & root, QWidget & outside, SettingBinding & binding)>;
    const auto boldRow = settingRow(&CatalogSettings::titleBold);
    const struct {
        const char* what;
        Change change;
        QString problem;  // empty: none
    } cases[] = {
        {"sound", [](QWidget&, QWidget&, SettingBinding&) {}, QString()},
        {"number box",
         [](QWidget& root, QWidget&, SettingBinding& binding) {
             binding.addUnbound(new ClampingSpinBox(&root));  // its own edit is part of it
         },
         QString()},
        {"setting without control", {}, QStringLiteral("[タイトル太文字]: 0 controls, not one")},
        {"bound twice",
         [boldRow](QWidget& root, QWidget&, SettingBinding& binding) {
             binding.add(boldRow, new QCheckBox(&root));
         },
         QStringLiteral("[タイトル太文字]: 2 controls, not one")},
        {"misnamed control",
         [](QWidget& root, QWidget&, SettingBinding&) {
             (new QCheckBox(&root))->setObjectName(QStringLiteral("CheckBox44"));
         },
         QStringLiteral("QCheckBox \"CheckBox44\": a control bound to no setting")},
        {"field not stored",
         [](QWidget& root, QWidget&, SettingBinding& binding) {
             auto* edit = new QLineEdit(&root);
             edit->setObjectName(QStringLiteral("EditX"));
             binding.add(settingRow(&CatalogSettings::appFolder), edit);
         },
         QStringLiteral("QLineEdit \"EditX\": bound to no setting")},
        {"kept by the program",
         [](QWidget& root, QWidget&, SettingBinding& binding) {
             binding.add(settingRow(&CatalogSettings::rotateLossless), new QCheckBox(&root));
         },
         QStringLiteral("[可能なら無劣化で回転]: edited outside the options, yet bound")},
        {"outside the window",
         [](QWidget&, QWidget& outside, SettingBinding& binding) {
             auto* box = new QCheckBox(&outside);
             box->setObjectName(QStringLiteral("Stray"));
             binding.add(settingRow(&CatalogSettings::titleItalic), box);
         },
         QStringLiteral("QCheckBox \"Stray\": bound, but not in the window")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QWidget root, outside;
        SettingBinding binding;
        for (const SettingRow& row : settingRows()) {
            if (!row.inOptions || (!c.change && &row == boldRow)) continue;
            binding.add(&row, new QLineEdit(&root));
        }
        if (c.change) c.change(root, outside, binding);
        const QStringList problems = binding.problems(root);
        if (c.problem.isEmpty()) {
            EXPECT_EQ(problems, QStringList());
        } else {
            EXPECT_TRUE(problems.contains(c.problem)) << problems.join('\n').toStdString();
        }
    }
}

}  // namespace
}  // namespace tessaly::test

#include "gui/options/optionstab.h"

#include <QCheckBox>
#include <QLineEdit>

#include "gui/common/prompts.h"
#include "gui/options/storabletext.h"

namespace tessaly {

OptionsTab::OptionsTab(const char* objectName, const QString& title) : title_(title) {
    setObjectName(QLatin1String(objectName));
}

void OptionsTab::followBoxes(std::initializer_list<QWidget*> boxes) {
    for (QWidget* widget : boxes) {
        connect(qobject_cast<QCheckBox*>(widget), &QCheckBox::toggled, this,
                [this] { applyEnablingRules(); });
    }
}

bool OptionsTab::offerPath(Prompts& prompts, QLineEdit* field, const QString& path) {
    const QString problem = StorableText::problem(path, true);
    if (problem.isEmpty()) {
        field->setText(path);
        return true;
    }
    const SettingRow* row = binding_.row(field);
    prompts.information(this, StorableText::refusal(
                                  QString::fromUtf8(row && row->label ? row->label : ""), problem));
    return false;
}

}  // namespace tessaly

// The options dialog's OK button.
#include <QLineEdit>
#include <QTabWidget>

#include "core/text/errors.h"
#include "gui/options/clampingspinbox.h"
#include "gui/options/nametest.h"
#include "gui/options/optionsdialog.h"
#include "gui/options/optionstab.h"
#include "gui/options/settingbinding.h"
#include "gui/options/storabletext.h"

namespace tessaly {

// Checks that the settings file can hold every text, copies every control into a new record,
// validates the two names and writes the file; only then does the record take the new values,
// the main window move and the dialog close. A refused text or name or a failed write keeps
// the dialog open and the record as it was.
void OptionsDialog::storeAndClose() {
    for (ClampingSpinBox* box : findChildren<ClampingSpinBox*>()) {
        box->interpretText();  // as when the box loses the focus
    }
    if (!textsCanBeStored()) return;
    CatalogSettings record = settings_;
    binding_.store(record);
    for (const OptionsTab* tab : pages_) tab->store(record);
    if (!passesNameTest(record)) return;
    try {
        saveSettings(record);
    } catch (const Error& error) {
        prompts_.error(this, error.message());
        return;
    }
    settings_ = record;
    if (mainWindow_) mainWindow_->move(record.windowLeft, record.windowTop);
    if (rotationQuality_) rotationQuality_(record.rotateQuality);
    accept();
}

// Every text must fit the Shift-JIS settings file, or no setting could be saved. A start
// folder that does not fit gives way to its nearest ancestor that does. Any other text that
// does not fit is reported with its field, which is shown; nothing is stored. A read-only
// path is emptied as well (the user has no other way to clear it), so the next OK saves.
bool OptionsDialog::textsCanBeStored() {
    auto* startFolder =
        qobject_cast<QLineEdit*>(binding_.control(*settingRow(&CatalogSettings::startFolder)));
    if (startFolder && !StorableText::problem(startFolder->text(), true).isEmpty()) {
        startFolder->setText(StorableText::nearestStorableFolder(startFolder->text()));
    }
    for (const SettingRow& row : settingRows()) {
        auto* field = qobject_cast<QLineEdit*>(row.label ? binding_.control(row) : nullptr);
        if (!field) continue;
        const QString problem = StorableText::problem(field->text(), row.exact);
        if (problem.isEmpty()) continue;
        QString message = StorableText::refusal(QString::fromUtf8(row.label), problem);
        if (field->isReadOnly()) {
            field->clear();
            message += QStringLiteral("\nこの設定を空にしました。");
        }
        showField(field);
        prompts_.error(this, message);
        return false;
    }
    return true;
}

void OptionsDialog::showField(QWidget* field) {
    for (int i = 0; i < tabs_->count(); ++i) {
        if (tabs_->widget(i)->isAncestorOf(field)) tabs_->setCurrentIndex(i);
    }
    field->setFocus();
}

bool OptionsDialog::passesNameTest(const CatalogSettings& record) {
    NameTest::Result result = NameTest::Result::Passed;
    try {
        result = NameTest(record.configFolder())
                     .run(record.thumbFolderName, record.htmlFileName, record.thumbPrefix);
    } catch (const Error& error) {
        prompts_.error(this, error.message());
        return false;
    }
    if (result == NameTest::Result::BadFolderName) {
        prompts_.information(this, NameTest::badFolderMessage());
    } else if (result == NameTest::Result::BadFileName) {
        prompts_.information(this, NameTest::badFileMessage());
    } else if (result == NameTest::Result::BadPrefix) {
        prompts_.information(this, NameTest::badPrefixMessage());
    }
    return result == NameTest::Result::Passed;
}

}  // namespace tessaly

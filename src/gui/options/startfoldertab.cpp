#include "gui/options/startfoldertab.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/common/prompts.h"
#include "gui/options/optionsform.h"
#include "gui/options/storabletext.h"

namespace tessaly {

using namespace optionsform;

StartFolderTab::StartFolderTab(Prompts& prompts, const FolderChooser& pickFolder)
    : OptionsTab("TabSheet1", QStringLiteral("起動フォルダ")),
      prompts_(prompts),
      pickFolder_(pickFolder),
      folder_(bind(&CatalogSettings::startFolder,
                   edit("Edit1", true, 360,
                        QStringLiteral("直接入力はできません。右の設定ボタンで設定します。")))) {
    QVBoxLayout* layout = column(this);
    layout->addWidget(
        labelFor("Label1", QStringLiteral("起動時のフォルダ設定（設定ボタンで指定してください）"),
                 'F', folder_));
    QPushButton* choose =
        button("Button1", QStringLiteral("設定"), QStringLiteral("起動フォルダを設定"));
    layout->addLayout(row({folder_, choose}, false));
    layout->addStretch(1);
    connect(choose, &QPushButton::clicked, this, &StartFolderTab::chooseFolder);
}

// A folder whose path the settings file cannot hold gives way to its nearest ancestor that
// it can, so the start folder never blocks saving the other settings.
void StartFolderTab::chooseFolder() {
    const QString chosen = pickFolder_(folder_->text());
    const QString problem = StorableText::problem(chosen, true);
    if (problem.isEmpty()) {
        folder_->setText(chosen);
        return;
    }
    const QString ancestor = StorableText::nearestStorableFolder(chosen);
    folder_->setText(ancestor);
    prompts_.information(
        this, StorableText::refusal(QString::fromUtf8(binding().row(folder_)->label), problem) +
                  QStringLiteral("\n代わりに %1 を設定しました。").arg(ancestor));
}

}  // namespace tessaly

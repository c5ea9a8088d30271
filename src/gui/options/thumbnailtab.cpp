#include "gui/options/thumbnailtab.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

#include "gui/options/clampingspinbox.h"
#include "gui/options/optionsform.h"

namespace tessaly {

using namespace optionsform;

ThumbnailTab::ThumbnailTab() : OptionsTab("TabSheet7", QStringLiteral("ｻﾑﾈｲﾙ画像")) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(12, 12, 12, 12);
    grid->addWidget(
        bind(&CatalogSettings::skipExistingThumbs,
             check("s_filebox", QStringLiteral("同一ﾌｧｲﾙ名のﾌｧｲﾙが存在したらスキップ(&K)"))),
        0, 0, 1, 3);
    ClampingSpinBox* width = bind(&CatalogSettings::thumbWidth, spin("SpinEdit1"));
    explain(width, QStringLiteral("アルバム表示の時の画像の幅を指定します"));
    addNumber(grid, 1, width, "Label20", QStringLiteral("サムネイル画像の幅"), 'W');
    ClampingSpinBox* height = bind(&CatalogSettings::thumbHeight, spin("SpinEdit2"));
    explain(height, QStringLiteral("アルバム表示の時の画像の高さを指定します"));
    addNumber(grid, 2, height, "Label21", QStringLiteral("サムネイル画像の高さ"), 'H');
    ClampingSpinBox* quality = bind(&CatalogSettings::thumbQuality, spin("SpinEdit4"));
    const QString qualityNote = QStringLiteral("（数字が大きいほど画質が向上します。）");
    explain(quality, qualityNote);
    addNumber(grid, 3, quality, "Label28", QStringLiteral("サムネイル画像の圧縮率"), 'Q');
    grid->addWidget(label("Label29", qualityNote), 4, 0, 1, 3);
    grid->addWidget(
        bind(&CatalogSettings::thumbFilter,
             check("Checkfilter", QStringLiteral("フィルタをかける（フルカラー専用）(&F)"))),
        5, 0, 1, 3);
    newWindow_ =
        bind(&CatalogSettings::openInNewWindow,
             check("Check5",
                   QStringLiteral("サムネイル画像をクリックしたとき新しいブラウザを開く(&N)")));
    grid->addWidget(newWindow_, 6, 0, 1, 3);
    scriptPopup_ = bind(
        &CatalogSettings::useScriptPopup,
        check("Check6",
              QStringLiteral(
                  "JavaScript　を使用する　（ブラウザによっては表示できないものもあります）(&J)"),
              QStringLiteral("対応しているブラウザの場合サイズを合わせて画像が表示されます")));
    grid->addWidget(indented(row({scriptPopup_})), 7, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(8, 1);
    followBoxes({newWindow_});
}

void ThumbnailTab::addNumber(QGridLayout* grid, int line, QWidget* number, const char* labelName,
                             const QString& caption, char mnemonic) {
    grid->addWidget(labelFor(labelName, caption, mnemonic, number), line, 0);
    grid->addWidget(number, line, 1);
}

void ThumbnailTab::store(CatalogSettings& record) const {
    const bool scriptPopup = newWindow_->isChecked() && scriptPopup_->isChecked();
    record.setOn(&CatalogSettings::useScriptPopup, scriptPopup);
}

// Unticking the new-window box disables the script box; its tick stays.
void ThumbnailTab::applyEnablingRules() { scriptPopup_->setEnabled(newWindow_->isChecked()); }

}  // namespace tessaly

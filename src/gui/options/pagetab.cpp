#include "gui/options/pagetab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/common/prompts.h"
#include "gui/options/clampingspinbox.h"
#include "gui/options/colorswatch.h"
#include "gui/options/optionsform.h"

namespace tessaly {

using namespace optionsform;

PageTab::PageTab(Prompts& prompts)
    : OptionsTab("TabSheet2", QStringLiteral("ページ設定")), prompts_(prompts) {
    QVBoxLayout* layout = column(this);
    ClampingSpinBox* frame = bind(&CatalogSettings::tableBorder, spin("tablewidthbox"));
    layout->addWidget(
        labelFor("Label43", QStringLiteral("サムネイル画像のフレームの太さ"), 'W', frame));
    layout->addLayout(row({label("Label44", QStringLiteral("（テーブルの幅）")), frame}));
    layout->addSpacing(8);
    ColorSwatch* colour = bind(&CatalogSettings::backgroundColor,
                               swatch("Panel2", QStringLiteral("カタログの背景色です。")));
    QPushButton* chooseColour =
        button("Button4", QStringLiteral("設定"), QStringLiteral("背景の色を設定"));
    layout->addLayout(row(
        {labelFor("Label7", QStringLiteral("背景の色"), 'C', chooseColour), colour, chooseColour}));
    layout->addSpacing(8);
    layout->addWidget(buildBackgroundImage());
    layout->addSpacing(8);
    layout->addLayout(buildStyle());
    layout->addStretch(1);
    connect(chooseColour, &QPushButton::clicked, this,
            [this, colour] { PageTab::chooseColour(prompts_, this, colour); });
    connect(chooseFile_, &QPushButton::clicked, this, &PageTab::chooseBackgroundFile);
    followBoxes({useImage_});
}

QWidget* PageTab::buildBackgroundImage() {
    auto* holder = new QWidget;
    QVBoxLayout* layout = column(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    useImage_ = bind(&CatalogSettings::useBackgroundImage,
                     check("Check3", QStringLiteral("背景に画像ファイルを使用する。(&I)"),
                           QStringLiteral("背景に画像を使用するときにチェックします。")));
    layout->addWidget(useImage_);
    file_ = bind(
        &CatalogSettings::backgroundFile,
        edit(
            "Edit2", true, 300,
            QStringLiteral(
                "背景パターンを使用するにチェックが入っていると、右の設定ボタンで指定できます。")));
    chooseFile_ =
        button("Button5", QStringLiteral("設定"), QStringLiteral("背景の画像ファイルを設定"));
    layout->addLayout(row(
        {labelFor("Label5", QStringLiteral("ファイル名"), 'N', file_), file_, chooseFile_}, false));
    return holder;
}

// The page style: the designed table (stored as nothing) or the page for today's browsers.
QLayout* PageTab::buildStyle() {
    QComboBox* style = bind(
        &CatalogSettings::pageStyle,
        combo("pageStyleBox", QStringLiteral("「標準」は従来のページ（Shift-JIS の表）です。"
                                             "「モダン」はスマートフォンや高解像度の画面に合わせた"
                                             "ページ（UTF-8）で、スライドショウはページの中で"
                                             "動きます。")));
    style->addItem(QStringLiteral("標準"), QStringLiteral(""));
    style->addItem(QStringLiteral("モダン（今のブラウザとスマートフォン向け）"),
                   QStringLiteral("modern"));
    return row({labelFor("pageStyleLabel", QStringLiteral("ページの形式"), 'S', style), style});
}

void PageTab::applyEnablingRules() {
    file_->setEnabled(useImage_->isChecked());
    chooseFile_->setEnabled(useImage_->isChecked());
}

void PageTab::chooseColour(Prompts& prompts, QWidget* parent, ColorSwatch* swatch) {
    const std::optional<int> chosen = prompts.chooseColor(parent, swatch->colour());
    if (chosen) swatch->setColour(*chosen);
}

// Only a ".jpg" or ".gif" file can be a page background; another empties the field.
void PageTab::chooseBackgroundFile() {
    const QString chosen =
        prompts_.openFileName(this, QStringLiteral("ファイル選択"), QString(), QString());
    if (chosen.isEmpty()) return;
    const QString extension = QFileInfo(chosen).suffix().toLower();
    if (extension == QLatin1String("jpg") || extension == QLatin1String("gif")) {
        offerPath(prompts_, file_, chosen);
        return;
    }
    prompts_.information(this,
                         QStringLiteral("背景は「jpg」か「gif」ファイルを設定してください。"));
    file_->clear();
}

}  // namespace tessaly

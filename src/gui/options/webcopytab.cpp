#include "gui/options/webcopytab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/options/clampingspinbox.h"
#include "gui/options/optionsform.h"

namespace tessaly {

using namespace optionsform;

WebCopyTab::WebCopyTab(const FolderChooser& pickFolder)
    : OptionsTab("TabWebCopy", QStringLiteral("公開用コピー")), pickFolder_(pickFolder) {
    QVBoxLayout* layout = column(this);
    makeCopies_ =
        bind(&CatalogSettings::webCopies,
             check("WebCopyCheck", QStringLiteral("公開用のコピーを作り、ページからリンクする(&C)"),
                   QStringLiteral("サムネイル画像フォルダの web フォルダに、縮小して撮影場所や"
                                  "シリアル番号を取り除いたJPEGのコピーを作ります。元の写真は"
                                  "変わりません")));
    layout->addWidget(makeCopies_);
    longSide_ = bind(&CatalogSettings::webCopyLongSide, spin("WebCopySide", 64));
    longSide_->setMaxDigits(4);
    layout->addWidget(indented(
        row({labelFor("WebCopySideLabel", QStringLiteral("長辺の最大（ピクセル）"), 'L', longSide_),
             longSide_})));
    location_ = bind(
        &CatalogSettings::webCopyLocation,
        combo("WebCopyLocation", QStringLiteral("写真に記録された撮影場所（GPS、地名）の扱い")));
    location_->addItem(QStringLiteral("取り除く"), QStringLiteral("remove"));
    location_->addItem(QStringLiteral("残す"), QStringLiteral("keep"));
    layout->addWidget(
        indented(row({labelFor("WebCopyLocationLabel", QStringLiteral("位置情報"), 'G', location_),
                      location_})));
    layout->addSpacing(8);
    layout->addWidget(
        label("WebCopyNote1", QStringLiteral("シリアル番号、所有者名、メーカーノート、埋め込みの"
                                             "サムネイルは常に取り除きます。")));
    layout->addWidget(label("WebCopyNote2",
                            QStringLiteral("撮影日時、カメラ、露出、著作権、色空間は残します。")));
    addPublishFolder(layout);
    layout->addStretch(1);
    followBoxes({makeCopies_});
}

// The folder 実行 writes the whole site to, typed or chosen; empty for none.
void WebCopyTab::addPublishFolder(QVBoxLayout* layout) {
    layout->addSpacing(12);
    publishFolder_ = bind(&CatalogSettings::publishFolder,
                          edit("PublishFolderEdit", false, 300,
                               QStringLiteral("実行すると、ページ、サムネイル、公開用コピーだけを"
                                              "このフォルダにも書き出します。元の写真は入れません。"
                                              "空欄なら書き出しません")));
    QPushButton* choose = button("PublishFolderButton", QStringLiteral("参照..."),
                                 QStringLiteral("公開フォルダを選ぶ"));
    layout->addLayout(
        row({labelFor("PublishFolderLabel", QStringLiteral("公開フォルダ"), 'P', publishFolder_),
             publishFolder_, choose}));
    layout->addWidget(label("PublishNote", QStringLiteral("公開フォルダを指定すると、公開用コピーは"
                                                          "常に作られます。")));
    layout->addWidget(indented(
        row({bind(&CatalogSettings::publishZip,
                  check("PublishZipCheck", QStringLiteral("すべての写真をまとめたzipも置く(&Z)"),
                        QStringLiteral("公開用コピーを圧縮せずに一つのzipにまとめ、ページから"
                                       "「すべての写真をダウンロード」でリンクします")))})));
    connect(choose, &QPushButton::clicked, this, &WebCopyTab::choosePublishFolder);
}

void WebCopyTab::choosePublishFolder() {
    const QString chosen = pickFolder_(publishFolder_->text());
    if (!chosen.isEmpty()) publishFolder_->setText(chosen);
}

void WebCopyTab::applyEnablingRules() {
    longSide_->setEnabled(makeCopies_->isChecked());
    location_->setEnabled(makeCopies_->isChecked());
}

}  // namespace tessaly

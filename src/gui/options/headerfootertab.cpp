#include "gui/options/headerfootertab.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "gui/options/optionsform.h"

namespace tessaly {

using namespace optionsform;

HeaderFooterTab::HeaderFooterTab() : OptionsTab("TabSheet10", QStringLiteral("ﾍｯﾀﾞｰ/ﾌｯﾀｰ")) {
    QVBoxLayout* layout = column(this);
    layout->addWidget(label("Label36", QStringLiteral("ヘッダー")));
    headerDefault_ = bind(&CatalogSettings::headerDefault,
                          check("headerBox", QStringLiteral("デフォルト（作成日）(&D)")));
    layout->addWidget(indented(row({headerDefault_})));
    headerText_ = addText(layout, "Label39", QStringLiteral("コメント"), 'C', "headertext",
                          &CatalogSettings::headerText, QStringLiteral("ヘッダーのコメント"));
    layout->addSpacing(8);
    layout->addWidget(label("Label37", QStringLiteral("フッター")));
    footerDefault_ = bind(&CatalogSettings::footerDefault,
                          check("footerbox", QStringLiteral("デフォルト（Tessalyのリンク）(&T)")));
    layout->addWidget(indented(row({footerDefault_})));
    footerText_ = addText(layout, "Label40", QStringLiteral("コメント"), 'M', "footertext",
                          &CatalogSettings::footerText, QStringLiteral("フッターのコメント"));
    footerLink_ = bind(&CatalogSettings::footerLinkEnabled,
                       check("footerlinkbox", QStringLiteral("リンクする(&L)")));
    layout->addWidget(indented(row({footerLink_})));
    footerUrl_ = addText(layout, "Label41", QStringLiteral("URL"), 'U', "footerlink",
                         &CatalogSettings::footerLinkUrl, QStringLiteral("フッターのリンクのURL"));
    const QString note = QStringLiteral("メールアドレスの時は　mailto: から記入");
    explain(footerUrl_, note);
    layout->addWidget(indented(row({label("Label42", note)})));
    layout->addStretch(1);
    followBoxes({headerDefault_, footerDefault_, footerLink_});
}

QLineEdit* HeaderFooterTab::addText(QVBoxLayout* layout, const char* labelName,
                                    const QString& caption, char mnemonic, const char* name,
                                    CatalogSettings::Text setting, const QString& accessibleName) {
    QLineEdit* field = bind(setting, edit(name, false, 320));
    field->setAccessibleName(accessibleName);
    layout->addWidget(indented(row({labelFor(labelName, caption, mnemonic, field), field})));
    return field;
}

// The footer link field is usable only while a user footer is chosen and it is to be a link.
void HeaderFooterTab::applyEnablingRules() {
    const bool userFooter = !footerDefault_->isChecked();
    headerText_->setEnabled(!headerDefault_->isChecked());
    footerText_->setEnabled(userFooter);
    footerLink_->setEnabled(userFooter);
    footerUrl_->setEnabled(userFooter && footerLink_->isChecked());
}

}  // namespace tessaly

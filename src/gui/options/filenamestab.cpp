#include "gui/options/filenamestab.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "gui/options/optionsform.h"

namespace tessaly {

using namespace optionsform;

FileNamesTab::FileNamesTab() : OptionsTab("TabSheet9", QStringLiteral("作成ﾌｧｲﾙ名")) {
    QVBoxLayout* layout = column(this);
    const struct {
        const char* label;
        const char* caption;
        char mnemonic;
        const char* field;
        CatalogSettings::Text setting;
    } names[] = {
        {"Label30", "作成するＨＴＭＬファイル名", 'H', "htmlfilebox",
         &CatalogSettings::htmlFileName},
        {"Label31", "サムネイル画像を作成するフォルダ名", 'F', "htmlfoldabox",
         &CatalogSettings::thumbFolderName},
        {"Label34", "サムネイル画像のファイル名に付加する文字列", 'P', "s_headerbox",
         &CatalogSettings::thumbPrefix},
    };
    for (const auto& name : names) {
        QLineEdit* field = bind(name.setting, edit(name.field, false, 240));
        layout->addWidget(
            labelFor(name.label, QString::fromUtf8(name.caption), name.mnemonic, field));
        layout->addWidget(indented(row({field})));
    }
    layout->addSpacing(8);
    layout->addWidget(label("Label35", QStringLiteral("注意"), true));
    layout->addWidget(label(
        "Label32",
        QStringLiteral("ここでの設定が目次作成でも使用されるのでこの設定が統一されていないと")));
    layout->addWidget(
        label("Label33", QStringLiteral("目次でリンクができなくなることがあります。")));
    layout->addStretch(1);
}

}  // namespace tessaly

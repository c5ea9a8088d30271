#include "core/settings/settingstable.h"

namespace tessaly {
namespace {

using S = CatalogSettings;
using V = SettingsView;
using Field = QString S::*;
constexpr SwitchRule On = SwitchRule::OnWhenOn;
constexpr SwitchRule NotOff = SwitchRule::OnUnlessOff;

SettingRow text(const char* key, double since, Field field, const char* value,
                const char* control) {
    return {key,     since,  SettingType::Text, field, nullptr, value, SwitchRule::None, control,
            nullptr, nullptr};
}

SettingRow integer(const char* key, double since, int S::*field, const char* value,
                   const char* control) {
    return {key,     since,  SettingType::Integer, nullptr, field, value, SwitchRule::None, control,
            nullptr, nullptr};
}

SettingRow toggle(const char* key, double since, Field field, const char* value, SwitchRule rule,
                  const char* control, bool V::*view = nullptr) {
    return {key, since, SettingType::Switch, field, nullptr, value, rule, control, view, nullptr};
}

SettingRow number(const char* key, double since, Field field, const char* value,
                  const char* control, int V::*view = nullptr,
                  SettingType type = SettingType::Number) {
    return {key, since, type, field, nullptr, value, SwitchRule::None, control, nullptr, view};
}

SettingRow colour(const char* key, double since, Field field, const char* value,
                  const char* control, int V::*view) {
    return number(key, since, field, value, control, view, SettingType::Colour);
}

// A line after the last block (see SettingRow::appended), edited by control or by no control.
SettingRow appended(SettingRow row) {
    row.appended = true;
    return row;
}

// File order. A new setting goes at the end, as an appended() row.
std::vector<SettingRow> makeRows() {
    return {
        text("[起動フォルダ]", 0.9, &S::startFolder, "", "Edit1"),
        integer("[背景色]", 0.9, &S::backgroundColor, "8421504", "Panel2"),
        toggle("[背景パターン設定]", 0.9, &S::useBackgroundImage, "", On, "Check3",
               &V::useBackgroundImage),
        text("[背景ファイル]", 0.9, &S::backgroundFile, "", "Edit2"),
        text("[ブラウザ設定]", 0.9, &S::browserPath, "", "Edit6"),
        text("[外部ビュアー設定]", 0.9, &S::viewerPath, "", "Edit3"),
        integer("[表示水平位置]", 0.9, &S::windowLeft, "0", "HBar"),
        integer("[表示垂直位置]", 0.9, &S::windowTop, "0", "VBar"),
        integer("[画像回転圧縮率]", 0.9, &S::rotateQuality, "95", "UpDown1"),
        toggle("[画像回転バックアップ]", 0.9, &S::rotateBackup, "on", On, "CheckBox1",
               &V::rotateBackup),
        text("[タイトル文字サイズ]", 0.9, &S::titleFontSize, "7", "Combo1"),
        colour("[タイトル文字色]", 0.9, &S::titleColor, "0", "Panel3", &V::titleColor),
        text("[タイトルフォント]", 0.9, &S::titleFontFace, "ＭＳ Ｐ明朝", "Combo2"),
        text("[タイトルテーブル幅]", 0.9, &S::titleTableWidth, "標準", "Combo3"),
        colour("[タイトル背景色]", 0.9, &S::titleBackColor, "16777215", "Panel4",
               &V::titleBackColor),
        toggle("[タイトル斜体文字]", 0.9, &S::titleItalic, "off", On, "CheckBox3", &V::titleItalic),
        toggle("[タイトル太文字]", 0.9, &S::titleBold, "off", On, "CheckBox4", &V::titleBold),
        number("[サムネイル幅]", 1.1, &S::thumbWidth, "110", "SpinEdit1", &V::thumbWidth),
        number("[サムネイル高さ]", 1.1, &S::thumbHeight, "150", "SpinEdit2", &V::thumbHeight),
        toggle("[ブラウザ別起動]", 1.1, &S::openInNewWindow, "off", On, "Check5",
               &V::openInNewWindow),
        toggle("[javaでウインドウを開く]", 1.1, &S::useScriptPopup, "off", On, "Check6",
               &V::useScriptPopup),
        toggle("[スライドショウのHTMLを作成]", 1.1, &S::makeSlideShow, "off", On, "Check7",
               &V::makeSlideShow),
        number("[スライドショウの間隔]", 1.1, &S::slideInterval, "3", "SpinEdit3"),
        number("[サムネイル画像の圧縮率]", 1.3, &S::thumbQuality, "80", "SpinEdit4",
               &V::thumbQuality),
        toggle("[サムネイル画像のフィルタ]", 1.3, &S::thumbFilter, "off", NotOff, "Checkfilter",
               &V::thumbFilter),
        toggle("[ブラウザ起動チェック]", 1.3, &S::noBrowserLaunch, "off", NotOff, "veltra_check",
               &V::noBrowserLaunch),
        text("[HTMLファイル名]", 1.31, &S::htmlFileName, "index.htm", "htmlfilebox"),
        text("[サムネイル画像フォルダ名]", 1.31, &S::thumbFolderName, "htm_image", "htmlfoldabox"),
        toggle("[タイトルのフォントを指定する]", 1.32, &S::titleFontEnabled, "on", On, "fontsetbox",
               &V::titleFontEnabled),
        toggle("[ヘッダーを書き換える]", 1.32, &S::headerDefault, "on", On, "headerBox",
               &V::headerDefault),
        text("[ヘッダーのコメント]", 1.32, &S::headerText, "", "headertext"),
        toggle("[フッターを書き換える]", 1.32, &S::footerDefault, "on", On, "footerbox",
               &V::footerDefault),
        text("[フッターのコメント]", 1.32, &S::footerText, "", "footertext"),
        toggle("[フッターでlinkする]", 1.32, &S::footerLinkEnabled, "off", NotOff, "footerlinkbox",
               &V::footerLinkEnabled),
        text("[フッターのlinkのURL]", 1.32, &S::footerLinkUrl, "", "footerlink"),
        toggle("[タイトルにテーブルを使用する]", 1.32, &S::titleUseTable, "on", On, "TtableBox",
               &V::titleUseTable),
        text("[サムネイル画像に付加する文字列]", 1.55, &S::thumbPrefix, "", "s_headerbox"),
        toggle("[サムネイル画像の有無確認]", 1.55, &S::skipExistingThumbs, "off", On, "s_filebox",
               &V::skipExistingThumbs),
        number("[テーブルの幅]", 1.55, &S::tableBorder, "1", "tablewidthbox"),
        toggle("[スライドショウの最大値を指定]", 1.6, &S::slideMaxEnabled, "off", On, "s_maxcheck",
               &V::slideMaxEnabled),
        number("[スライドショウの最大値Ｘ]", 1.6, &S::slideMaxWidth, "1000", "SpinSX",
               &V::slideMaxWidth),
        number("[スライドショウの最大値Ｙ]", 1.6, &S::slideMaxHeight, "750", "SpinSY",
               &V::slideMaxHeight),
        appended(toggle("[可能なら無劣化で回転]", 1.6, &S::rotateLossless, "off", On, nullptr)),
        appended(text("[メインウインドウの位置と大きさ]", 1.6, &S::mainWindowPlace, "", nullptr)),
        appended(text("[変換ウインドウのファイルの種類]", 1.6, &S::converterFileType, "", nullptr)),
        appended(text("[ページ形式]", 1.6, &S::pageStyle, "", "pageStyleBox")),
    };
}

}  // namespace

QString SettingRow::valueText(const CatalogSettings& settings) const {
    return text ? settings.*text : QString::number(settings.*number);
}

void SettingRow::setValueText(CatalogSettings& settings, const QString& value) const {
    if (text) {
        settings.*text = value;
    } else {
        settings.*number = settingInt(value, settingInt(QString::fromUtf8(defaultValue)));
    }
}

bool SettingRow::isOn(const CatalogSettings& settings) const {
    const QString value = valueText(settings);
    return rule == SwitchRule::OnUnlessOff ? value != QLatin1String("off")
                                           : value == QLatin1String("on");
}

const std::vector<SettingRow>& settingRows() {
    static const std::vector<SettingRow> rows = makeRows();
    return rows;
}

const SettingRow* settingRowForControl(const QString& objectName) {
    for (const SettingRow& row : settingRows()) {
        if (row.control && objectName == QLatin1String(row.control)) return &row;
    }
    return nullptr;
}

}  // namespace tessaly

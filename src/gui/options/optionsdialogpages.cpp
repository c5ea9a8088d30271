// Building the options dialog: the header strip, the ten tab pages and the button row.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include "gui/options/clampingspinbox.h"
#include "gui/options/colorswatch.h"
#include "gui/options/optionsdialog.h"
#include "gui/options/stepbuttons.h"

namespace tessaly {
namespace {

template <typename T>
T* makeNamed(T*& member, const char* name) {
    member = new T;
    member->setObjectName(QLatin1String(name));
    return member;
}

QLabel* label(QLabel*& member, const char* name, const QString& text, bool red = false) {
    makeNamed(member, name)->setText(text);
    if (red) member->setStyleSheet(QStringLiteral("color: red;"));
    return member;
}

QCheckBox* check(QCheckBox*& member, const char* name, const QString& caption) {
    makeNamed(member, name)->setText(caption);
    return member;
}

QPushButton* button(QPushButton*& member, const char* name, const QString& caption) {
    makeNamed(member, name)->setText(caption);
    member->setAutoDefault(false);
    return member;
}

QLineEdit* edit(QLineEdit*& member, const char* name, bool readOnly, int width = 0) {
    makeNamed(member, name)->setReadOnly(readOnly);
    if (width > 0) member->setMinimumWidth(width);
    return member;
}

ClampingSpinBox* spin(ClampingSpinBox*& member, const char* name, int minimum, int maximum,
                      int step = 1) {
    makeNamed(member, name)->setRange(minimum, maximum);
    member->setSingleStep(step);
    member->setMinimumWidth(80);
    return member;
}

QComboBox* combo(QComboBox*& member, const char* name) {
    makeNamed(member, name)->setMinimumWidth(160);
    return member;
}

ColorSwatch* swatch(ColorSwatch*& member, const char* name) {
    makeNamed(member, name)->setFixedSize(80, 24);
    return member;
}

QVBoxLayout* column(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(6);
    return layout;
}

QHBoxLayout* row(std::initializer_list<QWidget*> widgets, bool stretch = true) {
    auto* layout = new QHBoxLayout;
    for (QWidget* widget : widgets) layout->addWidget(widget);
    if (stretch) layout->addStretch(1);
    return layout;
}

QWidget* indented(QLayout* inner) {
    auto* holder = new QWidget;
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(24, 0, 0, 0);
    layout->addLayout(inner);
    return holder;
}

}  // namespace

void OptionsDialog::buildWindow() {
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    label(Panel1, "Panel1", QStringLiteral("オプション設定"));
    QFont bold = Panel1->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    Panel1->setFont(bold);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setMargin(6);
    layout->addWidget(Panel1);

    // The ten tabs would make the dialog wider than a 1024 x 768 screen: the row scrolls.
    makeNamed(PageControl1, "PageControl1")->setUsesScrollButtons(true);
    const std::pair<QWidget* (OptionsDialog::*)(), const char*> pages[] = {
        {&OptionsDialog::buildStartFolderPage, "起動フォルダ"},
        {&OptionsDialog::buildPagePage, "ページ設定"},
        {&OptionsDialog::buildTitlePage, "タイトル設定"},
        {&OptionsDialog::buildThumbnailPage, "ｻﾑﾈｲﾙ画像"},
        {&OptionsDialog::buildFileNamePage, "作成ﾌｧｲﾙ名"},
        {&OptionsDialog::buildHeaderFooterPage, "ﾍｯﾀﾞｰ/ﾌｯﾀｰ"},
        {&OptionsDialog::buildProgramsPage, "外部ソフト"},
        {&OptionsDialog::buildSlideShowPage, "スライドショウ"},
        {&OptionsDialog::buildRotationPage, "画像回転"},
        {&OptionsDialog::buildPositionPage, "表示位置"},
    };
    for (const auto& [build, title] : pages) {
        PageControl1->addTab((this->*build)(), QString::fromUtf8(title));
    }
    layout->addWidget(PageControl1);
    layout->addWidget(buildButtonRow());
}

QWidget* OptionsDialog::buildStartFolderPage() {
    makeNamed(TabSheet1, "TabSheet1");
    QVBoxLayout* layout = column(TabSheet1);
    layout->addWidget(label(
        Label1, "Label1", QStringLiteral("起動時のフォルダ設定（設定ボタンで指定してください）")));
    edit(Edit1, "Edit1", true, 360)
        ->setToolTip(QStringLiteral("直接入力はできません。右の設定ボタンで設定します。"));
    layout->addLayout(row({Edit1, button(Button1, "Button1", QStringLiteral("設定"))}, false));
    layout->addStretch(1);
    return TabSheet1;
}

QWidget* OptionsDialog::buildPagePage() {
    makeNamed(TabSheet2, "TabSheet2");
    QVBoxLayout* layout = column(TabSheet2);
    layout->addWidget(label(Label43, "Label43", QStringLiteral("サムネイル画像のフレームの太さ")));
    layout->addLayout(row({label(Label44, "Label44", QStringLiteral("（テーブルの幅）")),
                           spin(tablewidthbox, "tablewidthbox", 0, 20)}));
    layout->addSpacing(8);
    swatch(Panel2, "Panel2")->setToolTip(QStringLiteral("カタログの背景色です。"));
    layout->addLayout(row({label(Label7, "Label7", QStringLiteral("背景の色")), Panel2,
                           button(Button4, "Button4", QStringLiteral("設定"))}));
    layout->addSpacing(8);
    check(Check3, "Check3", QStringLiteral("背景に画像ファイルを使用する。"))
        ->setToolTip(QStringLiteral("背景に画像を使用するときにチェックします。"));
    layout->addWidget(Check3);
    edit(Edit2, "Edit2", true, 300)
        ->setToolTip(QStringLiteral(
            "背景パターンを使用するにチェックが入っていると、右の設定ボタンで指定できます。"));
    layout->addLayout(row({label(Label5, "Label5", QStringLiteral("ファイル名")), Edit2,
                           button(Button5, "Button5", QStringLiteral("設定"))},
                          false));
    layout->addStretch(1);
    return TabSheet2;
}

QWidget* OptionsDialog::buildTitlePage() {
    makeNamed(TabSheet6, "TabSheet6");
    auto* grid = new QGridLayout(TabSheet6);
    grid->setContentsMargins(12, 12, 12, 12);
    grid->addWidget(label(Label13, "Label13", QStringLiteral("タイトル文字のサイズ")), 0, 0);
    combo(Combo1, "Combo1")
        ->setToolTip(
            QStringLiteral("タイトルに使用する文字サイズです。（数字が大きいほど文字も大きい）"));
    grid->addWidget(Combo1, 0, 1);
    grid->addWidget(label(Label14, "Label14", QStringLiteral("タイトル文字の色")), 1, 0);
    swatch(Panel3, "Panel3")->setToolTip(QStringLiteral("右のボタンで選択します"));
    grid->addLayout(row({Panel3, button(Button6, "Button6", QStringLiteral("選択"))}), 1, 1);
    check(CheckBox3, "CheckBox3", QStringLiteral("斜字体"))
        ->setToolTip(QStringLiteral("タイトル文字を斜体にします"));
    check(CheckBox4, "CheckBox4", QStringLiteral("太文字"))
        ->setToolTip(QStringLiteral("タイトル文字を太文字にします"));
    grid->addLayout(row({CheckBox3, CheckBox4}), 2, 0, 1, 2);
    grid->addWidget(check(fontsetbox, "fontsetbox", QStringLiteral("タイトルのフォントを指定する")),
                    3, 0, 1, 2);
    grid->addWidget(label(Label15, "Label15", QStringLiteral("タイトル文字の書体")), 4, 0);
    combo(Combo2, "Combo2")->setToolTip(QStringLiteral("タイトルの文字の書体を選択します"));
    grid->addWidget(Combo2, 4, 1);
    grid->addWidget(check(TtableBox, "TtableBox", QStringLiteral("タイトルにテーブルを使用する")),
                    5, 0, 1, 2);
    grid->addWidget(label(Label16, "Label16", QStringLiteral("タイトルテーブルの幅")), 6, 0);
    combo(Combo3, "Combo3")->setToolTip(QStringLiteral("タイトル文字の周辺枠の大きさを指定します"));
    grid->addWidget(Combo3, 6, 1);
    grid->addWidget(label(Label17, "Label17", QStringLiteral("タイトルの背景色")), 7, 0);
    swatch(Panel4, "Panel4")->setToolTip(QStringLiteral("右のボタンで選択します"));
    grid->addLayout(row({Panel4, button(Button7, "Button7", QStringLiteral("選択"))}), 7, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(8, 1);
    return TabSheet6;
}

QWidget* OptionsDialog::buildThumbnailPage() {
    makeNamed(TabSheet7, "TabSheet7");
    auto* grid = new QGridLayout(TabSheet7);
    grid->setContentsMargins(12, 12, 12, 12);
    grid->addWidget(
        check(s_filebox, "s_filebox", QStringLiteral("同一ﾌｧｲﾙ名のﾌｧｲﾙが存在したらスキップ")), 0, 0,
        1, 3);
    grid->addWidget(label(Label20, "Label20", QStringLiteral("サムネイル画像の幅")), 1, 0);
    spin(SpinEdit1, "SpinEdit1", 10, 1000)
        ->setToolTip(QStringLiteral("アルバム表示の時の画像の幅を指定します"));
    grid->addWidget(SpinEdit1, 1, 1);
    grid->addWidget(label(Label21, "Label21", QStringLiteral("サムネイル画像の高さ")), 2, 0);
    spin(SpinEdit2, "SpinEdit2", 10, 1000)
        ->setToolTip(QStringLiteral("アルバム表示の時の画像の高さを指定します"));
    grid->addWidget(SpinEdit2, 2, 1);
    grid->addWidget(label(Label28, "Label28", QStringLiteral("サムネイル画像の圧縮率")), 3, 0);
    grid->addWidget(spin(SpinEdit4, "SpinEdit4", 70, 100), 3, 1);
    grid->addWidget(
        label(Label29, "Label29", QStringLiteral("（数字が多きいほど画質が向上します。）")), 4, 0,
        1, 3);
    grid->addWidget(
        check(Checkfilter, "Checkfilter", QStringLiteral("フィルタをかける（フルカラー専用）")), 5,
        0, 1, 3);
    grid->addWidget(check(Check5, "Check5",
                          QStringLiteral("サムネイル画像をクリックしたとき新しいブラウザを開く")),
                    6, 0, 1, 3);
    check(
        Check6, "Check6",
        QStringLiteral("Jave Script　を使用する　（ブラウザによっては表示できないものもあります）"))
        ->setToolTip(
            QStringLiteral("対応しているブラウザの場合サイズを合わせて画像が表示されます"));
    grid->addWidget(indented(row({Check6})), 7, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(8, 1);
    return TabSheet7;
}

QWidget* OptionsDialog::buildFileNamePage() {
    makeNamed(TabSheet9, "TabSheet9");
    QVBoxLayout* layout = column(TabSheet9);
    layout->addWidget(label(Label30, "Label30", QStringLiteral("作成するＨＴＭＬファイル名")));
    layout->addWidget(indented(row({edit(htmlfilebox, "htmlfilebox", false, 240)})));
    layout->addWidget(
        label(Label31, "Label31", QStringLiteral("サムネイル画像を作成するフォルダ名")));
    layout->addWidget(indented(row({edit(htmlfoldabox, "htmlfoldabox", false, 240)})));
    layout->addWidget(
        label(Label34, "Label34", QStringLiteral("サムネイル画像のファイル名に付加する文字列")));
    layout->addWidget(indented(row({edit(s_headerbox, "s_headerbox", false, 240)})));
    layout->addSpacing(8);
    layout->addWidget(label(Label35, "Label35", QStringLiteral("注意"), true));
    layout->addWidget(label(
        Label32, "Label32",
        QStringLiteral("ここでの設定が目次作成でも使用されるのでこの設定が統一されていないと")));
    layout->addWidget(
        label(Label33, "Label33", QStringLiteral("目次でリンクができなくなることがあります。")));
    layout->addStretch(1);
    return TabSheet9;
}

QWidget* OptionsDialog::buildHeaderFooterPage() {
    makeNamed(TabSheet10, "TabSheet10");
    QVBoxLayout* layout = column(TabSheet10);
    layout->addWidget(label(Label36, "Label36", QStringLiteral("ヘッダー")));
    layout->addWidget(
        indented(row({check(headerBox, "headerBox", QStringLiteral("デフォルト（作成日）"))})));
    layout->addWidget(indented(row({label(Label39, "Label39", QStringLiteral("コメント")),
                                    edit(headertext, "headertext", false, 320)})));
    layout->addSpacing(8);
    layout->addWidget(label(Label37, "Label37", QStringLiteral("フッター")));
    layout->addWidget(indented(
        row({check(footerbox, "footerbox", QStringLiteral("デフォルト（Tessalyのリンク）"))})));
    layout->addWidget(indented(row({label(Label40, "Label40", QStringLiteral("コメント")),
                                    edit(footertext, "footertext", false, 320)})));
    layout->addWidget(
        indented(row({check(footerlinkbox, "footerlinkbox", QStringLiteral("リンクする"))})));
    layout->addWidget(indented(row({label(Label41, "Label41", QStringLiteral("URL")),
                                    edit(footerlink, "footerlink", false, 320)})));
    layout->addWidget(indented(row(
        {label(Label42, "Label42", QStringLiteral("メールアドレスの時は　mailto: から記入"))})));
    layout->addStretch(1);
    return TabSheet10;
}

QWidget* OptionsDialog::buildProgramsPage() {
    makeNamed(TabSheet4, "TabSheet4");
    QVBoxLayout* layout = column(TabSheet4);
    layout->addWidget(label(Label18, "Label18",
                            QStringLiteral("設定しなければ関連づけされたソフトが起動します")));
    layout->addSpacing(8);
    layout->addWidget(label(Label6, "Label6", QStringLiteral("ブラウザ設定")));
    layout->addWidget(indented(
        row({check(veltra_check, "veltra_check", QStringLiteral("ブラウザを起動しない"))})));
    edit(Edit6, "Edit6", true, 340)
        ->setToolTip(
            QStringLiteral("WWWを表示できるブラウザ新聞でいう閲覧ソフト(^^;を指定します。"));
    layout->addWidget(
        indented(row({Edit6, button(Button3, "Button3", QStringLiteral("設定"))}, false)));
    layout->addSpacing(8);
    layout->addWidget(label(Label4, "Label4", QStringLiteral("外部ビュアー設定")));
    edit(Edit3, "Edit3", true, 340)->setToolTip(QStringLiteral("画像表示ソフトを指定します。"));
    layout->addWidget(
        indented(row({Edit3, button(Button2, "Button2", QStringLiteral("設定"))}, false)));
    layout->addStretch(1);
    return TabSheet4;
}

QWidget* OptionsDialog::buildSlideShowPage() {
    makeNamed(TabSheet8, "TabSheet8");
    QVBoxLayout* layout = column(TabSheet8);
    check(Check7, "Check7", QStringLiteral("スライドショウ用のHTMLを作成する。"))
        ->setToolTip(
            QStringLiteral("対応しているブラウザの場合画像ファイルを順々に表示することができます"));
    layout->addWidget(Check7);
    layout->addWidget(indented(row({label(Label26, "Label26", QStringLiteral("表示間隔（秒）")),
                                    spin(SpinEdit3, "SpinEdit3", 1, 30)})));
    layout->addSpacing(8);
    layout->addWidget(
        check(s_maxcheck, "s_maxcheck", QStringLiteral("画像表示サイズの最大値を指定する。")));
    spin(SpinSX, "SpinSX", 300, 2000, 10)->setMaxDigits(4);
    spin(SpinSY, "SpinSY", 300, 2000, 10)->setMaxDigits(4);
    layout->addWidget(indented(row({label(Label24, "Label24", QStringLiteral("横Size")), SpinSX,
                                    label(Label45, "Label45", QStringLiteral("縦Size")), SpinSY})));
    layout->addSpacing(8);
    layout->addWidget(label(Label25, "Label25", QStringLiteral("注意"), true));
    layout->addWidget(
        label(Label22, "Label22",
              QStringLiteral(
                  "JavaScriptを使用しているため意図したように表示できないﾌﾞﾗｳｻﾞが有ります。")));
    layout->addStretch(1);
    return TabSheet8;
}

QWidget* OptionsDialog::buildRotationPage() {
    makeNamed(TabSheet5, "TabSheet5");
    QVBoxLayout* layout = column(TabSheet5);
    layout->addWidget(label(Label19, "Label19", QStringLiteral("画像回転モードの諸設定")));
    makeNamed(UpDown1, "UpDown1")->setRange(50, 100);
    auto* quality = row({label(Label8, "Label8", QStringLiteral("画像保存時の圧縮率")),
                         edit(Edit7, "Edit7", true), UpDown1});
    quality->setSpacing(4);
    Edit7->setFixedWidth(50);
    layout->addWidget(indented(quality));
    layout->addWidget(
        indented(row({label(Label9, "Label9", QStringLiteral("数字が大きい方が高画質ですが"))})));
    layout->addWidget(indented(
        row({label(Label10, "Label10", QStringLiteral("ファイルサイズが大きくなります。"))})));
    layout->addSpacing(8);
    layout->addWidget(
        check(CheckBox1, "CheckBox1", QStringLiteral("元のファイルをバックアップする（推奨）")));
    layout->addWidget(indented(
        row({label(Label11, "Label11", QStringLiteral("画像回転モードの時、元のファイルを"))})));
    layout->addWidget(indented(
        row({label(Label12, "Label12", QStringLiteral("_backupディレクトリを作り保存します"))})));
    layout->addStretch(1);
    return TabSheet5;
}

QWidget* OptionsDialog::buildPositionPage() {
    makeNamed(TabSheet3, "TabSheet3");
    QVBoxLayout* layout = column(TabSheet3);
    layout->addWidget(check(CheckBox2, "CheckBox2", QStringLiteral("現在の位置を保存する")));
    makeNamed(GroupBox2, "GroupBox2");
    auto* grid = new QGridLayout(GroupBox2);
    grid->addWidget(label(Label2, "Label2", QStringLiteral("水平位置")), 0, 0);
    grid->addWidget(edit(Edit4, "Edit4", true), 0, 1);
    grid->addWidget(makeNamed(HBar, "HBar"), 0, 2);
    grid->addWidget(label(Label3, "Label3", QStringLiteral("垂直位置")), 1, 0);
    grid->addWidget(edit(Edit5, "Edit5", true), 1, 1);
    grid->addWidget(makeNamed(VBar, "VBar"), 1, 2);
    for (QSlider* bar : {HBar, VBar}) {
        bar->setOrientation(Qt::Horizontal);
        bar->setPageStep(10);
        bar->setTickInterval(10);
        bar->setTickPosition(QSlider::TicksBelow);
        bar->setMinimumWidth(300);
    }
    Edit4->setFixedWidth(60);
    Edit5->setFixedWidth(60);
    layout->addWidget(GroupBox2);
    layout->addStretch(1);
    return TabSheet3;
}

QWidget* OptionsDialog::buildButtonRow() {
    auto* holder = new QWidget;
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    button(optOK, "optOK", QStringLiteral("登録"))
        ->setToolTip(QStringLiteral("すべての設定が終了したら保存して下さい。"));
    button(optCansel, "optCansel", QStringLiteral("ｷｬﾝｾﾙ"))
        ->setToolTip(QStringLiteral("設定を変更せず終了します。"));
    layout->addWidget(optOK);
    layout->addWidget(optCansel);
    return holder;
}

}  // namespace tessaly

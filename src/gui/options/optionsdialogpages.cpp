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
    label(headingPanel, "Panel1", QStringLiteral("オプション設定"));
    QFont bold = headingPanel->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    headingPanel->setFont(bold);
    headingPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    headingPanel->setMargin(6);
    layout->addWidget(headingPanel);

    // The ten tabs would make the dialog wider than a 1024 x 768 screen: the row scrolls.
    makeNamed(tabs, "PageControl1")->setUsesScrollButtons(true);
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
        tabs->addTab((this->*build)(), QString::fromUtf8(title));
    }
    layout->addWidget(tabs);
    layout->addWidget(buildButtonRow());
}

QWidget* OptionsDialog::buildStartFolderPage() {
    makeNamed(startFolderPage, "TabSheet1");
    QVBoxLayout* layout = column(startFolderPage);
    layout->addWidget(
        label(startFolderLabel, "Label1",
              QStringLiteral("起動時のフォルダ設定（設定ボタンで指定してください）")));
    edit(startFolderEdit, "Edit1", true, 360)
        ->setToolTip(QStringLiteral("直接入力はできません。右の設定ボタンで設定します。"));
    layout->addLayout(row(
        {startFolderEdit, button(startFolderButton, "Button1", QStringLiteral("設定"))}, false));
    layout->addStretch(1);
    return startFolderPage;
}

QWidget* OptionsDialog::buildPagePage() {
    makeNamed(pagePage, "TabSheet2");
    QVBoxLayout* layout = column(pagePage);
    layout->addWidget(
        label(frameWidthLabel, "Label43", QStringLiteral("サムネイル画像のフレームの太さ")));
    layout->addLayout(row({label(frameWidthNote, "Label44", QStringLiteral("（テーブルの幅）")),
                           spin(frameWidthBox, "tablewidthbox", 0, 20)}));
    layout->addSpacing(8);
    swatch(backgroundSwatch, "Panel2")->setToolTip(QStringLiteral("カタログの背景色です。"));
    layout->addLayout(
        row({label(backgroundColourLabel, "Label7", QStringLiteral("背景の色")), backgroundSwatch,
             button(backgroundColourButton, "Button4", QStringLiteral("設定"))}));
    layout->addSpacing(8);
    check(backgroundImageCheck, "Check3", QStringLiteral("背景に画像ファイルを使用する。"))
        ->setToolTip(QStringLiteral("背景に画像を使用するときにチェックします。"));
    layout->addWidget(backgroundImageCheck);
    edit(backgroundFileEdit, "Edit2", true, 300)
        ->setToolTip(QStringLiteral(
            "背景パターンを使用するにチェックが入っていると、右の設定ボタンで指定できます。"));
    layout->addLayout(
        row({label(backgroundFileLabel, "Label5", QStringLiteral("ファイル名")), backgroundFileEdit,
             button(backgroundFileButton, "Button5", QStringLiteral("設定"))},
            false));
    layout->addStretch(1);
    return pagePage;
}

QWidget* OptionsDialog::buildTitlePage() {
    makeNamed(titlePage, "TabSheet6");
    auto* grid = new QGridLayout(titlePage);
    grid->setContentsMargins(12, 12, 12, 12);
    grid->addWidget(label(titleSizeLabel, "Label13", QStringLiteral("タイトル文字のサイズ")), 0, 0);
    combo(titleSizeBox, "Combo1")
        ->setToolTip(
            QStringLiteral("タイトルに使用する文字サイズです。（数字が大きいほど文字も大きい）"));
    grid->addWidget(titleSizeBox, 0, 1);
    grid->addWidget(label(titleColourLabel, "Label14", QStringLiteral("タイトル文字の色")), 1, 0);
    swatch(titleColourSwatch, "Panel3")->setToolTip(QStringLiteral("右のボタンで選択します"));
    grid->addLayout(
        row({titleColourSwatch, button(titleColourButton, "Button6", QStringLiteral("選択"))}), 1,
        1);
    check(titleItalicCheck, "CheckBox3", QStringLiteral("斜字体"))
        ->setToolTip(QStringLiteral("タイトル文字を斜体にします"));
    check(titleBoldCheck, "CheckBox4", QStringLiteral("太文字"))
        ->setToolTip(QStringLiteral("タイトル文字を太文字にします"));
    grid->addLayout(row({titleItalicCheck, titleBoldCheck}), 2, 0, 1, 2);
    grid->addWidget(
        check(titleFontCheck, "fontsetbox", QStringLiteral("タイトルのフォントを指定する")), 3, 0,
        1, 2);
    grid->addWidget(label(titleFontLabel, "Label15", QStringLiteral("タイトル文字の書体")), 4, 0);
    combo(titleFontBox, "Combo2")->setToolTip(QStringLiteral("タイトルの文字の書体を選択します"));
    grid->addWidget(titleFontBox, 4, 1);
    grid->addWidget(
        check(titleTableCheck, "TtableBox", QStringLiteral("タイトルにテーブルを使用する")), 5, 0,
        1, 2);
    grid->addWidget(label(titleTableWidthLabel, "Label16", QStringLiteral("タイトルテーブルの幅")),
                    6, 0);
    combo(titleTableWidthBox, "Combo3")
        ->setToolTip(QStringLiteral("タイトル文字の周辺枠の大きさを指定します"));
    grid->addWidget(titleTableWidthBox, 6, 1);
    grid->addWidget(label(titleBackColourLabel, "Label17", QStringLiteral("タイトルの背景色")), 7,
                    0);
    swatch(titleBackSwatch, "Panel4")->setToolTip(QStringLiteral("右のボタンで選択します"));
    grid->addLayout(
        row({titleBackSwatch, button(titleBackColourButton, "Button7", QStringLiteral("選択"))}), 7,
        1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(8, 1);
    return titlePage;
}

QWidget* OptionsDialog::buildThumbnailPage() {
    makeNamed(thumbnailPage, "TabSheet7");
    auto* grid = new QGridLayout(thumbnailPage);
    grid->setContentsMargins(12, 12, 12, 12);
    grid->addWidget(check(skipExistingCheck, "s_filebox",
                          QStringLiteral("同一ﾌｧｲﾙ名のﾌｧｲﾙが存在したらスキップ")),
                    0, 0, 1, 3);
    grid->addWidget(label(thumbWidthLabel, "Label20", QStringLiteral("サムネイル画像の幅")), 1, 0);
    spin(thumbWidthBox, "SpinEdit1", 10, 1000)
        ->setToolTip(QStringLiteral("アルバム表示の時の画像の幅を指定します"));
    grid->addWidget(thumbWidthBox, 1, 1);
    grid->addWidget(label(thumbHeightLabel, "Label21", QStringLiteral("サムネイル画像の高さ")), 2,
                    0);
    spin(thumbHeightBox, "SpinEdit2", 10, 1000)
        ->setToolTip(QStringLiteral("アルバム表示の時の画像の高さを指定します"));
    grid->addWidget(thumbHeightBox, 2, 1);
    grid->addWidget(label(thumbQualityLabel, "Label28", QStringLiteral("サムネイル画像の圧縮率")),
                    3, 0);
    grid->addWidget(spin(thumbQualityBox, "SpinEdit4", 70, 100), 3, 1);
    grid->addWidget(label(thumbQualityNote, "Label29",
                          QStringLiteral("（数字が多きいほど画質が向上します。）")),
                    4, 0, 1, 3);
    grid->addWidget(check(thumbFilterCheck, "Checkfilter",
                          QStringLiteral("フィルタをかける（フルカラー専用）")),
                    5, 0, 1, 3);
    grid->addWidget(check(newWindowCheck, "Check5",
                          QStringLiteral("サムネイル画像をクリックしたとき新しいブラウザを開く")),
                    6, 0, 1, 3);
    check(
        scriptPopupCheck, "Check6",
        QStringLiteral("Jave Script　を使用する　（ブラウザによっては表示できないものもあります）"))
        ->setToolTip(
            QStringLiteral("対応しているブラウザの場合サイズを合わせて画像が表示されます"));
    grid->addWidget(indented(row({scriptPopupCheck})), 7, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(8, 1);
    return thumbnailPage;
}

QWidget* OptionsDialog::buildFileNamePage() {
    makeNamed(fileNamePage, "TabSheet9");
    QVBoxLayout* layout = column(fileNamePage);
    layout->addWidget(
        label(htmlFileLabel, "Label30", QStringLiteral("作成するＨＴＭＬファイル名")));
    layout->addWidget(indented(row({edit(htmlFileEdit, "htmlfilebox", false, 240)})));
    layout->addWidget(
        label(thumbFolderLabel, "Label31", QStringLiteral("サムネイル画像を作成するフォルダ名")));
    layout->addWidget(indented(row({edit(thumbFolderEdit, "htmlfoldabox", false, 240)})));
    layout->addWidget(label(thumbPrefixLabel, "Label34",
                            QStringLiteral("サムネイル画像のファイル名に付加する文字列")));
    layout->addWidget(indented(row({edit(thumbPrefixEdit, "s_headerbox", false, 240)})));
    layout->addSpacing(8);
    layout->addWidget(label(namesCautionLabel, "Label35", QStringLiteral("注意"), true));
    layout->addWidget(label(
        namesCautionText1, "Label32",
        QStringLiteral("ここでの設定が目次作成でも使用されるのでこの設定が統一されていないと")));
    layout->addWidget(label(namesCautionText2, "Label33",
                            QStringLiteral("目次でリンクができなくなることがあります。")));
    layout->addStretch(1);
    return fileNamePage;
}

QWidget* OptionsDialog::buildHeaderFooterPage() {
    makeNamed(headerFooterPage, "TabSheet10");
    QVBoxLayout* layout = column(headerFooterPage);
    layout->addWidget(label(headerLabel, "Label36", QStringLiteral("ヘッダー")));
    layout->addWidget(indented(
        row({check(headerDefaultCheck, "headerBox", QStringLiteral("デフォルト（作成日）"))})));
    layout->addWidget(indented(row({label(headerTextLabel, "Label39", QStringLiteral("コメント")),
                                    edit(headerTextEdit, "headertext", false, 320)})));
    layout->addSpacing(8);
    layout->addWidget(label(footerLabel, "Label37", QStringLiteral("フッター")));
    layout->addWidget(indented(row({check(footerDefaultCheck, "footerbox",
                                          QStringLiteral("デフォルト（Tessalyのリンク）"))})));
    layout->addWidget(indented(row({label(footerTextLabel, "Label40", QStringLiteral("コメント")),
                                    edit(footerTextEdit, "footertext", false, 320)})));
    layout->addWidget(
        indented(row({check(footerLinkCheck, "footerlinkbox", QStringLiteral("リンクする"))})));
    layout->addWidget(indented(row({label(footerLinkLabel, "Label41", QStringLiteral("URL")),
                                    edit(footerLinkEdit, "footerlink", false, 320)})));
    layout->addWidget(indented(row({label(
        footerLinkNote, "Label42", QStringLiteral("メールアドレスの時は　mailto: から記入"))})));
    layout->addStretch(1);
    return headerFooterPage;
}

QWidget* OptionsDialog::buildProgramsPage() {
    makeNamed(programsPage, "TabSheet4");
    QVBoxLayout* layout = column(programsPage);
    layout->addWidget(label(programsNote, "Label18",
                            QStringLiteral("設定しなければ関連づけされたソフトが起動します")));
    layout->addSpacing(8);
    layout->addWidget(label(browserLabel, "Label6", QStringLiteral("ブラウザ設定")));
    layout->addWidget(indented(
        row({check(noBrowserCheck, "veltra_check", QStringLiteral("ブラウザを起動しない"))})));
    edit(browserEdit, "Edit6", true, 340)
        ->setToolTip(
            QStringLiteral("WWWを表示できるブラウザ新聞でいう閲覧ソフト(^^;を指定します。"));
    layout->addWidget(indented(
        row({browserEdit, button(browserButton, "Button3", QStringLiteral("設定"))}, false)));
    layout->addSpacing(8);
    layout->addWidget(label(viewerLabel, "Label4", QStringLiteral("外部ビュアー設定")));
    edit(viewerEdit, "Edit3", true, 340)
        ->setToolTip(QStringLiteral("画像表示ソフトを指定します。"));
    layout->addWidget(indented(
        row({viewerEdit, button(viewerButton, "Button2", QStringLiteral("設定"))}, false)));
    layout->addStretch(1);
    return programsPage;
}

QWidget* OptionsDialog::buildSlideShowPage() {
    makeNamed(slideShowPage, "TabSheet8");
    QVBoxLayout* layout = column(slideShowPage);
    check(slideShowCheck, "Check7", QStringLiteral("スライドショウ用のHTMLを作成する。"))
        ->setToolTip(
            QStringLiteral("対応しているブラウザの場合画像ファイルを順々に表示することができます"));
    layout->addWidget(slideShowCheck);
    layout->addWidget(
        indented(row({label(slideIntervalLabel, "Label26", QStringLiteral("表示間隔（秒）")),
                      spin(slideIntervalBox, "SpinEdit3", 1, 30)})));
    layout->addSpacing(8);
    layout->addWidget(
        check(slideMaxCheck, "s_maxcheck", QStringLiteral("画像表示サイズの最大値を指定する。")));
    spin(slideMaxWidthBox, "SpinSX", 300, 2000, 10)->setMaxDigits(4);
    spin(slideMaxHeightBox, "SpinSY", 300, 2000, 10)->setMaxDigits(4);
    layout->addWidget(indented(
        row({label(slideMaxWidthLabel, "Label24", QStringLiteral("横Size")), slideMaxWidthBox,
             label(slideMaxHeightLabel, "Label45", QStringLiteral("縦Size")), slideMaxHeightBox})));
    layout->addSpacing(8);
    layout->addWidget(label(slideCautionLabel, "Label25", QStringLiteral("注意"), true));
    layout->addWidget(
        label(slideCautionText, "Label22",
              QStringLiteral(
                  "JavaScriptを使用しているため意図したように表示できないﾌﾞﾗｳｻﾞが有ります。")));
    layout->addStretch(1);
    return slideShowPage;
}

QWidget* OptionsDialog::buildRotationPage() {
    makeNamed(rotationPage, "TabSheet5");
    QVBoxLayout* layout = column(rotationPage);
    layout->addWidget(label(rotationHeading, "Label19", QStringLiteral("画像回転モードの諸設定")));
    makeNamed(rotateQualityButtons, "UpDown1")->setRange(50, 100);
    auto* quality = row({label(rotateQualityLabel, "Label8", QStringLiteral("画像保存時の圧縮率")),
                         edit(rotateQualityEdit, "Edit7", true), rotateQualityButtons});
    quality->setSpacing(4);
    rotateQualityEdit->setFixedWidth(50);
    layout->addWidget(indented(quality));
    layout->addWidget(indented(row(
        {label(rotateQualityNote1, "Label9", QStringLiteral("数字が大きい方が高画質ですが"))})));
    layout->addWidget(indented(row({label(rotateQualityNote2, "Label10",
                                          QStringLiteral("ファイルサイズが大きくなります。"))})));
    layout->addSpacing(8);
    layout->addWidget(check(rotateBackupCheck, "CheckBox1",
                            QStringLiteral("元のファイルをバックアップする（推奨）")));
    layout->addWidget(indented(row({label(rotateBackupNote1, "Label11",
                                          QStringLiteral("画像回転モードの時、元のファイルを"))})));
    layout->addWidget(indented(row({label(
        rotateBackupNote2, "Label12", QStringLiteral("_backupディレクトリを作り保存します"))})));
    layout->addStretch(1);
    return rotationPage;
}

QWidget* OptionsDialog::buildPositionPage() {
    makeNamed(positionPage, "TabSheet3");
    QVBoxLayout* layout = column(positionPage);
    layout->addWidget(
        check(keepPositionCheck, "CheckBox2", QStringLiteral("現在の位置を保存する")));
    makeNamed(positionGroup, "GroupBox2");
    auto* grid = new QGridLayout(positionGroup);
    grid->addWidget(label(leftLabel, "Label2", QStringLiteral("水平位置")), 0, 0);
    grid->addWidget(edit(leftEdit, "Edit4", true), 0, 1);
    grid->addWidget(makeNamed(leftBar, "HBar"), 0, 2);
    grid->addWidget(label(topLabel, "Label3", QStringLiteral("垂直位置")), 1, 0);
    grid->addWidget(edit(topEdit, "Edit5", true), 1, 1);
    grid->addWidget(makeNamed(topBar, "VBar"), 1, 2);
    for (QSlider* bar : {leftBar, topBar}) {
        bar->setOrientation(Qt::Horizontal);
        bar->setPageStep(10);
        bar->setTickInterval(10);
        bar->setTickPosition(QSlider::TicksBelow);
        bar->setMinimumWidth(300);
    }
    leftEdit->setFixedWidth(60);
    topEdit->setFixedWidth(60);
    layout->addWidget(positionGroup);
    layout->addStretch(1);
    return positionPage;
}

QWidget* OptionsDialog::buildButtonRow() {
    auto* holder = new QWidget;
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    button(storeButton, "optOK", QStringLiteral("登録"))
        ->setToolTip(QStringLiteral("すべての設定が終了したら保存して下さい。"));
    button(cancelButton, "optCansel", QStringLiteral("ｷｬﾝｾﾙ"))
        ->setToolTip(QStringLiteral("設定を変更せず終了します。"));
    layout->addWidget(storeButton);
    layout->addWidget(cancelButton);
    return holder;
}

}  // namespace tessaly

#include "gui/options/titletab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "gui/options/colorswatch.h"
#include "gui/options/optionsform.h"
#include "gui/options/pagetab.h"

namespace tessaly {

using namespace optionsform;

TitleTab::TitleTab(Prompts& prompts)
    : OptionsTab("TabSheet6", QStringLiteral("タイトル設定")), prompts_(prompts) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(12, 12, 12, 12);
    size_ = bind(
        &CatalogSettings::titleFontSize,
        combo("Combo1", QStringLiteral(
                            "タイトルに使用する文字サイズです。（数字が大きいほど文字も大きい）")));
    addList(grid, 0, size_, "Label13", QStringLiteral("タイトル文字のサイズ"), 'S');
    const char* colourNames[3] = {"Label14", "Panel3", "Button6"};
    addColour(grid, 1, &CatalogSettings::titleColor, colourNames,
              QStringLiteral("タイトル文字の色"), 'O');
    grid->addLayout(row({bind(&CatalogSettings::titleItalic,
                              check("CheckBox3", QStringLiteral("斜字体(&I)"),
                                    QStringLiteral("タイトル文字を斜体にします"))),
                         bind(&CatalogSettings::titleBold,
                              check("CheckBox4", QStringLiteral("太文字(&D)"),
                                    QStringLiteral("タイトル文字を太文字にします")))}),
                    2, 0, 1, 2);
    useFont_ = bind(&CatalogSettings::titleFontEnabled,
                    check("fontsetbox", QStringLiteral("タイトルのフォントを指定する(&F)")));
    grid->addWidget(useFont_, 3, 0, 1, 2);
    face_ = bind(&CatalogSettings::titleFontFace,
                 combo("Combo2", QStringLiteral("タイトルの文字の書体を選択します")));
    addList(grid, 4, face_, "Label15", QStringLiteral("タイトル文字の書体"), 'A');
    useTable_ = bind(&CatalogSettings::titleUseTable,
                     check("TtableBox", QStringLiteral("タイトルにテーブルを使用する(&T)")));
    grid->addWidget(useTable_, 5, 0, 1, 2);
    tableWidth_ = bind(&CatalogSettings::titleTableWidth,
                       combo("Combo3", QStringLiteral("タイトル文字の周辺枠の大きさを指定します")));
    addList(grid, 6, tableWidth_, "Label16", QStringLiteral("タイトルテーブルの幅"), 'W');
    const char* backNames[3] = {"Label17", "Panel4", "Button7"};
    addColour(grid, 7, &CatalogSettings::titleBackColor, backNames,
              QStringLiteral("タイトルの背景色"), 'B');
    backColour_ = findChild<QPushButton*>(QStringLiteral("Button7"));
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(8, 1);
    fillLists();
    followBoxes({useFont_, useTable_});
}

void TitleTab::addList(QGridLayout* grid, int line, QComboBox* list, const char* labelName,
                       const QString& caption, char mnemonic) {
    grid->addWidget(labelFor(labelName, caption, mnemonic, list), line, 0);
    grid->addWidget(list, line, 1);
}

// A colour: its caption, the swatch and the button that opens the colour chooser.
void TitleTab::addColour(QGridLayout* grid, int line, CatalogSettings::Text field,
                         const char* names[3], const QString& caption, char mnemonic) {
    ColorSwatch* colour = bind(field, swatch(names[1], QStringLiteral("右のボタンで選択します")));
    QPushButton* choose =
        button(names[2], QStringLiteral("選択"), caption + QStringLiteral("を選択"));
    grid->addWidget(labelFor(names[0], caption, mnemonic, choose), line, 0);
    grid->addLayout(row({colour, choose}), line, 1);
    connect(choose, &QPushButton::clicked, this,
            [this, colour] { PageTab::chooseColour(prompts_, this, colour); });
}

// The three fixed lists, filled once.
void TitleTab::fillLists() {
    for (int size = 1; size <= 7; ++size) size_->addItem(QString::number(size));
    for (const char* face : {"ＭＳ ゴシック", "ＭＳ 明朝", "ＭＳ Ｐゴシック", "ＭＳ Ｐ明朝"}) {
        face_->addItem(QString::fromUtf8(face));
    }
    for (int width = 100; width <= 700; width += 100) tableWidth_->addItem(QString::number(width));
    tableWidth_->addItem(QStringLiteral("標準"));
    for (QComboBox* list : {size_, face_, tableWidth_}) list->setCurrentIndex(-1);
}

void TitleTab::applyEnablingRules() {
    face_->setEnabled(useFont_->isChecked());
    tableWidth_->setEnabled(useTable_->isChecked());
    backColour_->setEnabled(useTable_->isChecked());
}

}  // namespace tessaly

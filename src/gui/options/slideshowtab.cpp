#include "gui/options/slideshowtab.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

#include "gui/options/clampingspinbox.h"
#include "gui/options/optionsform.h"

namespace tessaly {

using namespace optionsform;

SlideShowTab::SlideShowTab() : OptionsTab("TabSheet8", QStringLiteral("スライドショウ")) {
    QVBoxLayout* layout = column(this);
    slideShow_ =
        bind(&CatalogSettings::makeSlideShow,
             check("Check7", QStringLiteral("スライドショウ用のHTMLを作成する。(&S)"),
                   QStringLiteral(
                       "対応しているブラウザの場合画像ファイルを順々に表示することができます")));
    layout->addWidget(slideShow_);
    interval_ = bind(&CatalogSettings::slideInterval, spin("SpinEdit3"));
    layout->addWidget(indented(
        row({labelFor("Label26", QStringLiteral("表示間隔（秒）"), 'I', interval_), interval_})));
    layout->addSpacing(8);
    limitSize_ =
        bind(&CatalogSettings::slideMaxEnabled,
             check("s_maxcheck", QStringLiteral("画像表示サイズの最大値を指定する。(&M)")));
    layout->addWidget(limitSize_);
    maxWidth_ = bind(&CatalogSettings::slideMaxWidth, spin("SpinSX", 10));
    maxHeight_ = bind(&CatalogSettings::slideMaxHeight, spin("SpinSY", 10));
    for (ClampingSpinBox* size : {maxWidth_, maxHeight_}) size->setMaxDigits(4);
    layout->addWidget(indented(
        row({labelFor("Label24", QStringLiteral("横サイズ"), 'W', maxWidth_), maxWidth_,
             labelFor("Label45", QStringLiteral("縦サイズ"), 'H', maxHeight_), maxHeight_})));
    layout->addSpacing(8);
    layout->addWidget(label("Label25", QStringLiteral("注意"), true));
    layout->addWidget(
        label("Label22",
              QStringLiteral(
                  "JavaScriptを使用しているため意図したように表示できないﾌﾞﾗｳｻﾞが有ります。")));
    layout->addStretch(1);
    followBoxes({slideShow_, limitSize_});
}

void SlideShowTab::applyEnablingRules() {
    interval_->setEnabled(slideShow_->isChecked());
    maxWidth_->setEnabled(limitSize_->isChecked());
    maxHeight_->setEnabled(limitSize_->isChecked());
}

}  // namespace tessaly

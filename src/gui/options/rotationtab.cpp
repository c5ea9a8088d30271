#include "gui/options/rotationtab.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "gui/options/optionsform.h"
#include "gui/options/stepbuttons.h"

namespace tessaly {

using namespace optionsform;

RotationTab::RotationTab() : OptionsTab("TabSheet5", QStringLiteral("画像回転")) {
    QVBoxLayout* layout = column(this);
    layout->addWidget(label("Label19", QStringLiteral("画像回転モードの諸設定")));
    arrows_ = bind(&CatalogSettings::rotateQuality, new StepButtons);
    arrows_->setObjectName(QStringLiteral("UpDown1"));
    quality_ =
        unbound(edit("Edit7", true, 0,
                     QStringLiteral("数字が大きい方が高画質ですが、ファイルサイズが大きくなります。"
                                    "上下の矢印キーで変えられます。")));
    quality_->setFixedWidth(50);
    quality_->installEventFilter(this);
    auto* line = row({labelFor("Label8", QStringLiteral("画像保存時の圧縮率"), 'Q', quality_),
                      quality_, arrows_});
    line->setSpacing(4);
    layout->addWidget(indented(line));
    for (const auto& [name, text] : {std::pair{"Label9", "数字が大きい方が高画質ですが"},
                                     std::pair{"Label10", "ファイルサイズが大きくなります。"}}) {
        layout->addWidget(indented(row({label(name, QString::fromUtf8(text))})));
    }
    layout->addSpacing(8);
    layout->addWidget(
        bind(&CatalogSettings::rotateBackup,
             check("CheckBox1", QStringLiteral("元のファイルをバックアップする（推奨）(&B)"))));
    for (const auto& [name, text] : {std::pair{"Label11", "画像回転モードの時、元のファイルを"},
                                     std::pair{"Label12", "_backupディレクトリを作り保存します"}}) {
        layout->addWidget(indented(row({label(name, QString::fromUtf8(text))})));
    }
    layout->addStretch(1);
    connect(arrows_, &StepButtons::clicked, this,
            [this](int position) { quality_->setText(QString::number(position)); });
}

void RotationTab::loaded() { quality_->setText(QString::number(arrows_->position())); }

bool RotationTab::eventFilter(QObject* watched, QEvent* event) {
    if (watched == quality_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            arrows_->step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return OptionsTab::eventFilter(watched, event);
}

}  // namespace tessaly

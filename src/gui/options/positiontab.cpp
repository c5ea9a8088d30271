#include "gui/options/positiontab.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSlider>
#include <QVBoxLayout>

#include "gui/options/optionsform.h"

namespace tessaly {

using namespace optionsform;

PositionTab::PositionTab(QWidget* mainWindow)
    : OptionsTab("TabSheet3", QStringLiteral("表示位置")), mainWindow_(mainWindow) {
    QVBoxLayout* layout = column(this);
    keepCurrent_ = unbound(check("CheckBox2", QStringLiteral("現在の位置を保存する(&P)")));
    layout->addWidget(keepCurrent_);
    group_ = new QGroupBox;
    group_->setObjectName(QStringLiteral("GroupBox2"));
    new QGridLayout(group_);
    const char* leftNames[3] = {"Label2", "Edit4", "HBar"};
    const char* topNames[3] = {"Label3", "Edit5", "VBar"};
    left_ = addBar(&CatalogSettings::windowLeft, leftNames, QStringLiteral("水平位置"), 'H', 0);
    top_ = addBar(&CatalogSettings::windowTop, topNames, QStringLiteral("垂直位置"), 'V', 1);
    leftNumber_ = group_->findChild<QLineEdit*>(QStringLiteral("Edit4"));
    topNumber_ = group_->findChild<QLineEdit*>(QStringLiteral("Edit5"));
    layout->addWidget(group_);
    layout->addStretch(1);
    followBoxes({keepCurrent_});
}

QSlider* PositionTab::addBar(int CatalogSettings::*setting, const char* names[3],
                             const QString& caption, char mnemonic, int line) {
    auto* bar = bind(setting, new QSlider(Qt::Horizontal));
    bar->setObjectName(QLatin1String(names[2]));
    bar->setPageStep(10);
    bar->setTickInterval(10);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setMinimumWidth(300);
    QLineEdit* number = unbound(edit(names[1], true, 0));
    number->setFixedWidth(60);
    number->setAccessibleName(caption);
    auto* grid = static_cast<QGridLayout*>(group_->layout());
    grid->addWidget(labelFor(names[0], caption, mnemonic, bar), line, 0);
    grid->addWidget(number, line, 1);
    grid->addWidget(bar, line, 2);
    connect(bar, &QSlider::valueChanged, this,
            [this, bar](int position) { barMoved(bar, position); });
    return bar;
}

void PositionTab::prepareLoad() {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    settingBars_ = true;
    left_->setRange(0, qMax(0, screen.width() - 300));
    top_->setRange(0, qMax(0, screen.height() - 200));
    settingBars_ = false;
}

void PositionTab::loaded() {
    setBars(left_->value(), top_->value());
    keepCurrent_->setChecked(true);
    applyEnablingRules();
}

void PositionTab::store(CatalogSettings& record) const {
    if (!keepCurrent_->isChecked() || !mainWindow_) return;
    record.windowLeft = mainWindow_->x();
    record.windowTop = mainWindow_->y();
}

void PositionTab::setBars(int left, int top) {
    settingBars_ = true;
    left_->setValue(qBound(left_->minimum(), left, left_->maximum()));
    top_->setValue(qBound(top_->minimum(), top, top_->maximum()));
    settingBars_ = false;
    leftNumber_->setText(QString::number(left_->value()));
    topNumber_->setText(QString::number(top_->value()));
}

void PositionTab::applyEnablingRules() {
    const bool manual = !keepCurrent_->isChecked();
    for (QWidget* widget :
         std::initializer_list<QWidget*>{group_, leftNumber_, topNumber_, left_, top_}) {
        widget->setEnabled(manual);
    }
}

// A bar moved by the user takes the main window with it at once.
void PositionTab::barMoved(QSlider* bar, int position) {
    (bar == left_ ? leftNumber_ : topNumber_)->setText(QString::number(position));
    if (settingBars_ || !mainWindow_) return;
    if (bar == left_) {
        mainWindow_->move(position, mainWindow_->y());
    } else {
        mainWindow_->move(mainWindow_->x(), position);
    }
}

}  // namespace tessaly

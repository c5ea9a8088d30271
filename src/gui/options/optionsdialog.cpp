#include "gui/options/optionsdialog.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "gui/options/filenamestab.h"
#include "gui/options/headerfootertab.h"
#include "gui/options/pagetab.h"
#include "gui/options/positiontab.h"
#include "gui/options/programstab.h"
#include "gui/options/rotationtab.h"
#include "gui/options/settingbinding.h"
#include "gui/options/slideshowtab.h"
#include "gui/options/startfoldertab.h"
#include "gui/options/thumbnailtab.h"
#include "gui/options/titletab.h"
#include "gui/options/webcopytab.h"

namespace tessaly {

OptionsDialog::OptionsDialog(AppContext& context, QWidget* mainWindow, FolderChooser pickFolder)
    : QDialog(mainWindow),
      settings_(context.settings),
      prompts_(context.prompts),
      mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("TOption"));
    setWindowTitle(QStringLiteral("オプション"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFolderPicker(std::move(pickFolder));
    buildWindow();
    checkBinding();
    if (mainWindow_) move(mainWindow_->x() + 50, mainWindow_->y() + 95);
    loadFromSettings();
}

void OptionsDialog::buildWindow() {
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* heading = new QLabel(QStringLiteral("オプション設定"));
    heading->setObjectName(QStringLiteral("Panel1"));
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    heading->setFont(bold);
    heading->setFrameStyle(QFrame::Panel | QFrame::Raised);
    heading->setMargin(6);
    layout->addWidget(heading);

    // Ten tabs in one row would make the dialog wider than a 1024 x 768 screen: the pages are
    // chosen from a list beside them that shows every name whole.
    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("PageControl1"));
    tabs_->tabBar()->hide();
    // The hidden tab row takes no focus: Tab goes from the list of pages to the shown page.
    tabs_->setFocusPolicy(Qt::NoFocus);
    tabs_->tabBar()->setFocusPolicy(Qt::NoFocus);
    addTab(new StartFolderTab(prompts_, pickFolder_));
    addTab(new PageTab(prompts_));
    addTab(new TitleTab(prompts_));
    addTab(new ThumbnailTab);
    addTab(new FileNamesTab);
    addTab(new HeaderFooterTab);
    addTab(new ProgramsTab(prompts_));
    addTab(new SlideShowTab);
    addTab(new RotationTab);
    addTab(new WebCopyTab(pickFolder_));
    addTab(position_ = new PositionTab(mainWindow_));
    tabs_->setCurrentIndex(0);
    auto* pagesRow = new QHBoxLayout;
    pagesRow->addWidget(buildPageList(), 0, Qt::AlignTop);
    pagesRow->addWidget(tabs_, 1);
    layout->addLayout(pagesRow);
    layout->addWidget(buildButtonRow());
    // Enter in a field registers the options; on a focused button it presses that one.
    findChild<QPushButton*>(QStringLiteral("optOK"))->setDefault(true);
}

// One entry per page, all of them in view; choosing one shows its page.
QListWidget* OptionsDialog::buildPageList() {
    auto* list = new QListWidget;
    list->setObjectName(QStringLiteral("PageList"));
    list->setAccessibleName(QStringLiteral("設定の項目"));
    list->setAccessibleDescription(QStringLiteral("選んだ項目の設定が右に表示されます。"));
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setTabKeyNavigation(false);  // the arrow keys choose a page, Tab leaves the list
    for (OptionsTab* page : pages_) list->addItem(page->title());
    const int frame = 2 * list->frameWidth();
    list->setFixedSize(list->sizeHintForColumn(0) + frame + 16,
                       list->sizeHintForRow(0) * list->count() + frame + 4);
    list->setCurrentRow(0);
    connect(list, &QListWidget::currentRowChanged, tabs_, &QTabWidget::setCurrentIndex);
    connect(tabs_, &QTabWidget::currentChanged, list,
            [list](int page) { list->setCurrentRow(page); });
    return list;
}

void OptionsDialog::addTab(OptionsTab* tab) {
    pages_.push_back(tab);
    binding_.append(tab->binding());
    tabs_->addTab(tab, tab->title());
}

// A setting without its control would never be shown or stored, a control without its
// setting would lose what the user set: a debug build stops here, a release build says so.
void OptionsDialog::checkBinding() const {
    const QStringList problems = bindingProblems();
    if (problems.isEmpty()) return;
#ifdef NDEBUG
    qWarning("Options controls and settings do not meet:\n%s", qPrintable(problems.join('\n')));
#else
    qFatal("Options controls and settings do not meet:\n%s", qPrintable(problems.join('\n')));
#endif
}

QWidget* OptionsDialog::buildButtonRow() {
    auto* holder = new QWidget;
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    const struct {
        const char* name;
        QString caption;
        QString tip;
        void (OptionsDialog::*handler)();
    } buttons[] = {
        {"optOK", QStringLiteral("登録"),
         QStringLiteral("すべての設定が終了したら保存して下さい。"), &OptionsDialog::storeAndClose},
        {"optCansel", QStringLiteral("ｷｬﾝｾﾙ"), QStringLiteral("設定を変更せず終了します。"),
         &OptionsDialog::cancelAndClose},
    };
    for (const auto& spec : buttons) {
        auto* button = new QPushButton(spec.caption);
        button->setObjectName(QLatin1String(spec.name));
        button->setToolTip(spec.tip);
        button->setAccessibleDescription(spec.tip);
        connect(button, &QPushButton::clicked, this, spec.handler);
        layout->addWidget(button);
    }
    return holder;
}

void OptionsDialog::setFolderPicker(FolderChooser pickFolder) {
    if (pickFolder) {
        pickFolder_ = std::move(pickFolder);
        return;
    }
    pickFolder_ = [this](const QString& start) {
        return QFileDialog::getExistingDirectory(this, QStringLiteral("フォルダ選択"), start);
    };
}

void OptionsDialog::setRotationQualityHandler(QualityHandler handler) {
    rotationQuality_ = std::move(handler);
}

int OptionsDialog::openModal() {
    syncPositionFromMainWindow();
    return exec();
}

void OptionsDialog::syncPositionFromMainWindow() {
    if (mainWindow_) position_->setBars(mainWindow_->x(), mainWindow_->y());
}

void OptionsDialog::loadFromSettings() {
    for (OptionsTab* tab : pages_) tab->prepareLoad();
    binding_.load(settings_);
    for (OptionsTab* tab : pages_) tab->loaded();
}

void OptionsDialog::cancelAndClose() {
    loadFromSettings();
    reject();
}

}  // namespace tessaly

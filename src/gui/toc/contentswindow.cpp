#include "gui/toc/contentswindow.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QThread>
#include <new>

#include "core/text/errors.h"
#include "core/toc/tocgenerator.h"
#include "gui/common/focusframe.h"
#include "gui/common/folderlist.h"
#include "gui/common/threadbridge.h"
#include "gui/common/volumebox.h"

namespace tessaly {
namespace {

constexpr int kClientWidth = 456;
constexpr int kClientHeight = 240;

const char* const kBackgroundFilter = "画像ファイル (*.jpg *.gif *.JPG *.GIF)";

template <typename W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    return named(new QPushButton(text, parent), name);
}

}  // namespace

ContentsWindow::ContentsWindow(AppContext& context, QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                              Qt::MSWindowsFixedSizeDialogHint),
      context_(context),
      bridge_(std::make_unique<ThreadBridge>()) {
    setObjectName(QStringLiteral("Tmokuji"));
    setWindowTitle(QStringLiteral("目次作成"));
    setModal(true);
    setFixedSize(kClientWidth, kClientHeight);
    createFolderArea(this);
    createTitleArea(this);
    createBackgroundArea(this);
    createButtons(this);
    if (mainWindow) move(mainWindow->pos() + QPoint(50, 95));
}

void ContentsWindow::createFolderArea(QWidget* client) {
    folderLabel = named(new QLabel(QStringLiteral("作成フォルダ(&D)"), client), "Label1");
    folderLabel->setGeometry(8, 4, 160, 18);
    volumeBox = named(new VolumeBox(client), "Drive1");
    volumeBox->setGeometry(8, 22, 160, 24);
    folderList = named(new FolderList(client), "Dir1");
    folderList->setGeometry(8, 50, 160, 164);
    folderLabel->setBuddy(folderList);
    showFocusClearly(*folderList);
    folderList->setAccessibleName(QStringLiteral("作成フォルダ"));
    volumeBox->setAccessibleName(QStringLiteral("ドライブ"));
    folderList->setAccessibleDescription(QStringLiteral(
        "目次を作成するフォルダを開きます（サブフォルダのページが目次に載ります）。"));
    connect(volumeBox, &VolumeBox::driveChanged, this, &ContentsWindow::volumeChanged);
    connect(folderList, &FolderList::directoryChanged, volumeBox, &VolumeBox::setDrive);
}

void ContentsWindow::createTitleArea(QWidget* client) {
    titleLabel = named(new QLabel(QStringLiteral("目次のタイトル(&T)"), client), "Label3");
    titleLabel->setGeometry(176, 4, 272, 18);
    titleEdit = named(new QLineEdit(client), "HPtytlebox");
    titleEdit->setGeometry(176, 22, 272, 24);
    titleEdit->setToolTip(QStringLiteral("目次のページに付けるタイトルを入力してください。"));
    titleEdit->setAccessibleDescription(titleEdit->toolTip());
    titleLabel->setBuddy(titleEdit);
    framesCheck =
        named(new QCheckBox(QStringLiteral("フレームを使用する。（画像も表示されます）"), client),
              "framecheck");
    framesCheck->setGeometry(176, 50, 278, 20);
    connect(framesCheck, &QCheckBox::toggled, this, &ContentsWindow::framesToggled);
    imagesCheck = named(new QCheckBox(QStringLiteral("目次に画像を表示する"), client), "Check2");
    imagesCheck->setGeometry(176, 72, 272, 20);
    imagesCheck->setToolTip(QStringLiteral("チェックすると目次に画像を使用します。"));
}

void ContentsWindow::createBackgroundArea(QWidget* client) {
    colourSwatch = named(new QLabel(QStringLiteral("背景色"), client), "Panel2");
    colourSwatch->setGeometry(176, 98, 130, 26);
    colourSwatch->setAlignment(Qt::AlignCenter);
    colourSwatch->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    colourSwatch->setAutoFillBackground(true);
    colourSwatch->setToolTip(QStringLiteral("目次のページの背景色が表示されています。"));
    showBackgroundColour();
    colourButton = button(client, "Button3", QStringLiteral("背景色変更"));
    colourButton->setGeometry(312, 98, 136, 26);
    connect(colourButton, &QPushButton::clicked, this, &ContentsWindow::chooseColour);

    backgroundImageCheck =
        named(new QCheckBox(QStringLiteral("背景に画像ファイルを使用する"), client), "Check3");
    backgroundImageCheck->setGeometry(176, 130, 272, 20);
    connect(backgroundImageCheck, &QCheckBox::toggled, this,
            &ContentsWindow::backgroundImageToggled);
    backgroundFileEdit = named(new QLineEdit(client), "Edit2");
    backgroundFileEdit->setGeometry(176, 152, 212, 24);
    backgroundFileEdit->setReadOnly(true);
    backgroundFileEdit->setToolTip(QStringLiteral("背景に使用する画像ファイルを表示します。"));
    backgroundFileEdit->setAccessibleName(QStringLiteral("背景の画像ファイル"));
    backgroundFileEdit->setAccessibleDescription(backgroundFileEdit->toolTip());
    backgroundFileButton = button(client, "Button4", QStringLiteral("設定"));
    backgroundFileButton->setGeometry(392, 152, 56, 24);
    connect(backgroundFileButton, &QPushButton::clicked, this,
            &ContentsWindow::chooseBackgroundFile);
    backgroundImageToggled();
}

void ContentsWindow::createButtons(QWidget* client) {
    executeButton = button(client, "Button1", QStringLiteral("実行"));
    executeButton->setDefault(true);  // Enter in the title field
    executeButton->setGeometry(176, 186, 130, 28);
    executeButton->setToolTip(QStringLiteral("目次となるページを作成します。"));
    connect(executeButton, &QPushButton::clicked, this, &ContentsWindow::execute);
    closeButton = button(client, "Button2", QStringLiteral("終了"));
    closeButton->setGeometry(318, 186, 130, 28);
    closeButton->setToolTip(QStringLiteral("目次作成ウインドウを閉じます。"));
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);

    statusLine = named(new QStatusBar(client), "StatusBar1");
    statusLine->setSizeGripEnabled(false);
    statusLine->setGeometry(0, kClientHeight - 22, kClientWidth, 22);
    statusLabel = named(new QLabel(statusLine), "Label2");
    statusLabel->setAccessibleDescription(QStringLiteral("目次作成の進み具合"));
    statusLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    statusLabel->setMinimumWidth(80);
    statusLine->addPermanentWidget(statusLabel);
}

void ContentsWindow::showBackgroundColour() {
    const int c = backgroundColour_;
    QPalette palette = colourSwatch->palette();
    const QColor colour(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    palette.setColor(QPalette::Window, colour);
    // The caption stays readable on dark and light colours alike.
    palette.setColor(QPalette::WindowText, colour.lightness() < 128 ? Qt::white : Qt::black);
    colourSwatch->setPalette(palette);
}

void ContentsWindow::openOn(const QString& folder) {
    setFolder(folder);
    exec();
}

void ContentsWindow::setFolder(const QString& folder) {
    volumeBox->setDrive(folder);
    folderList->setDirectory(folder);
}

QString ContentsWindow::folder() const { return folderList->directory(); }

void ContentsWindow::volumeChanged(const QString& root) {
    if (!folderList->setDirectory(root)) volumeBox->setDrive(folderList->directory());
}

void ContentsWindow::framesToggled() { imagesCheck->setEnabled(!framesCheck->isChecked()); }

void ContentsWindow::backgroundImageToggled() {
    backgroundFileEdit->setEnabled(backgroundImageCheck->isChecked());
    backgroundFileButton->setEnabled(backgroundImageCheck->isChecked());
}

void ContentsWindow::chooseColour() {
    const std::optional<int> chosen = context_.prompts.chooseColor(this, backgroundColour_);
    if (!chosen) return;
    backgroundColour_ = *chosen;
    showBackgroundColour();
}

void ContentsWindow::chooseBackgroundFile() {
    const QString start = backgroundFileEdit->text().isEmpty()
                              ? folder()
                              : QFileInfo(backgroundFileEdit->text()).absolutePath();
    const QString chosen = context_.prompts.openFileName(this, QStringLiteral("開く"), start,
                                                         QString::fromUtf8(kBackgroundFilter));
    if (!chosen.isEmpty()) backgroundFileEdit->setText(chosen);
}

void ContentsWindow::execute() {
    if (running_) return;
    TocOptions options;
    options.folder = folder();
    options.title = titleEdit->text();
    options.showImages = imagesCheck->isChecked();
    options.useFrames = framesCheck->isChecked();
    options.useBackgroundImage = backgroundImageCheck->isChecked();
    options.backgroundImageFile = backgroundFileEdit->text();
    options.backgroundColor = backgroundColour_;
    // A catalogue page under the page's name is replaced only when the user agrees.
    const auto replacing = TocGenerator(context_.settings).replacementQuestion(options);
    if (replacing && !context_.prompts.question(this, replacing->text())) {
        statusLabel->setText(QStringLiteral("目次は作りませんでした。"));
        return;
    }
    if (worker_) worker_->wait();  // the last run has only its return left
    delete worker_;
    setRunning(true);
    const CatalogSettings settings = context_.settings;
    worker_ = QThread::create([this, options, settings] {
        QString page, notice, error;
        try {
            page = TocGenerator(settings).run(options, [this](const QString& text) {
                bridge_->post([this, text] { statusLabel->setText(text); });
            });
        } catch (const CheckError& e) {
            notice = e.message();
        } catch (const Error& e) {
            error = e.message();
        } catch (const std::bad_alloc&) {
            error = outOfMemoryMessage();
        }
        bridge_->post([this, page, notice, error] { runEnded(page, notice, error); });
    });
    worker_->start();
}

void ContentsWindow::setRunning(bool running) {
    running_ = running;
    for (QWidget* control : findChildren<QWidget*>()) {
        if (control != statusLabel && control != statusLine) control->setEnabled(!running);
    }
    if (!running) {  // the switches enable their controls again as they stand
        framesToggled();
        backgroundImageToggled();
    }
}

void ContentsWindow::runEnded(const QString& page, const QString& notice, const QString& error) {
    setRunning(false);
    if (!notice.isEmpty()) {
        context_.prompts.information(this, notice);
    } else if (!error.isEmpty()) {
        context_.prompts.error(this, error);
    } else if (context_.prompts.question(this, TocGenerator::finishedQuestion(page))) {
        TocGenerator::openPage(context_.settings, context_.shell, page);
    }
}

// The window stays open until a run has ended.
void ContentsWindow::reject() {
    if (!running_) QDialog::reject();
}

ContentsWindow::~ContentsWindow() {
    bridge_->close();
    if (worker_) worker_->wait();
    delete worker_;
}

}  // namespace tessaly

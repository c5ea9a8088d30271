#include "gui/toc/contentswindow.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <new>

#include "core/text/errors.h"
#include "core/toc/tocgenerator.h"
#include "gui/common/folderlist.h"
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
    auto* b = named(new QPushButton(text, parent), name);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

ContentsWindow::ContentsWindow(AppContext& context, QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                              Qt::MSWindowsFixedSizeDialogHint),
      context_(context) {
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
    Label1 = named(new QLabel(QStringLiteral("作成フォルダ"), client), "Label1");
    Label1->setGeometry(8, 4, 160, 18);
    Drive1 = named(new VolumeBox(client), "Drive1");
    Drive1->setGeometry(8, 22, 160, 24);
    Dir1 = named(new FolderList(client), "Dir1");
    Dir1->setGeometry(8, 50, 160, 164);
    connect(Drive1, &VolumeBox::driveChanged, this, &ContentsWindow::Drive1Change);
    connect(Dir1, &FolderList::directoryChanged, Drive1, &VolumeBox::setDrive);
}

void ContentsWindow::createTitleArea(QWidget* client) {
    Label3 = named(new QLabel(QStringLiteral("目次のタイトル"), client), "Label3");
    Label3->setGeometry(176, 4, 272, 18);
    HPtytlebox = named(new QLineEdit(client), "HPtytlebox");
    HPtytlebox->setGeometry(176, 22, 272, 24);
    HPtytlebox->setToolTip(QStringLiteral("目次のページに付けるタイトルを入力してください。"));
    framecheck =
        named(new QCheckBox(QStringLiteral("フレームを使用する。（画像も表示されます）"), client),
              "framecheck");
    framecheck->setGeometry(176, 50, 278, 20);
    connect(framecheck, &QCheckBox::toggled, this, &ContentsWindow::framecheckClick);
    Check2 = named(new QCheckBox(QStringLiteral("目次に画像を表示する"), client), "Check2");
    Check2->setGeometry(176, 72, 272, 20);
    Check2->setToolTip(QStringLiteral("チェックすると目次に画像を使用します。"));
}

void ContentsWindow::createBackgroundArea(QWidget* client) {
    Panel2 = named(new QLabel(QStringLiteral("背景色"), client), "Panel2");
    Panel2->setGeometry(176, 98, 130, 26);
    Panel2->setAlignment(Qt::AlignCenter);
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel2->setAutoFillBackground(true);
    Panel2->setToolTip(QStringLiteral("目次のページの背景色が表示されています。"));
    showBackgroundColour();
    Button3 = button(client, "Button3", QStringLiteral("背景色変更"));
    Button3->setGeometry(312, 98, 136, 26);
    connect(Button3, &QPushButton::clicked, this, &ContentsWindow::Button3Click);

    Check3 = named(new QCheckBox(QStringLiteral("背景に画像ファイルを使用する"), client), "Check3");
    Check3->setGeometry(176, 130, 272, 20);
    connect(Check3, &QCheckBox::toggled, this, &ContentsWindow::Check3Click);
    Edit2 = named(new QLineEdit(client), "Edit2");
    Edit2->setGeometry(176, 152, 212, 24);
    Edit2->setReadOnly(true);
    Edit2->setToolTip(QStringLiteral("背景に使用する画像ファイルを表示します。"));
    Button4 = button(client, "Button4", QStringLiteral("設定"));
    Button4->setGeometry(392, 152, 56, 24);
    connect(Button4, &QPushButton::clicked, this, &ContentsWindow::Button4Click);
    Check3Click();
}

void ContentsWindow::createButtons(QWidget* client) {
    Button1 = button(client, "Button1", QStringLiteral("実行"));
    Button1->setGeometry(176, 186, 130, 28);
    Button1->setToolTip(QStringLiteral("目次となるページを作成します。"));
    connect(Button1, &QPushButton::clicked, this, &ContentsWindow::Button1Click);
    Button2 = button(client, "Button2", QStringLiteral("終了"));
    Button2->setGeometry(318, 186, 130, 28);
    Button2->setToolTip(QStringLiteral("目次作成モードを終了します"));
    connect(Button2, &QPushButton::clicked, this, &QDialog::close);

    StatusBar1 = named(new QStatusBar(client), "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setGeometry(0, kClientHeight - 22, kClientWidth, 22);
    Label2 = named(new QLabel(StatusBar1), "Label2");
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2->setMinimumWidth(80);
    StatusBar1->addPermanentWidget(Label2);
}

void ContentsWindow::showBackgroundColour() {
    const int c = backgroundColour_;
    QPalette palette = Panel2->palette();
    const QColor colour(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    palette.setColor(QPalette::Window, colour);
    // The caption stays readable on dark and light colours alike.
    palette.setColor(QPalette::WindowText, colour.lightness() < 128 ? Qt::white : Qt::black);
    Panel2->setPalette(palette);
}

void ContentsWindow::openOn(const QString& folder) {
    setFolder(folder);
    exec();
}

void ContentsWindow::setFolder(const QString& folder) {
    Drive1->setDrive(folder);
    Dir1->setDirectory(folder);
}

QString ContentsWindow::folder() const { return Dir1->directory(); }

void ContentsWindow::Drive1Change(const QString& root) {
    if (!Dir1->setDirectory(root)) Drive1->setDrive(Dir1->directory());
}

void ContentsWindow::framecheckClick() { Check2->setEnabled(!framecheck->isChecked()); }

void ContentsWindow::Check3Click() {
    Edit2->setEnabled(Check3->isChecked());
    Button4->setEnabled(Check3->isChecked());
}

void ContentsWindow::Button3Click() {
    const std::optional<int> chosen = context_.prompts.chooseColor(this, backgroundColour_);
    if (!chosen) return;
    backgroundColour_ = *chosen;
    showBackgroundColour();
}

void ContentsWindow::Button4Click() {
    const QString start =
        Edit2->text().isEmpty() ? folder() : QFileInfo(Edit2->text()).absolutePath();
    const QString chosen = context_.prompts.openFileName(this, QStringLiteral("開く"), start,
                                                         QString::fromUtf8(kBackgroundFilter));
    if (!chosen.isEmpty()) Edit2->setText(chosen);
}

void ContentsWindow::Button1Click() {
    TocOptions options;
    options.folder = folder();
    options.title = HPtytlebox->text();
    options.showImages = Check2->isChecked();
    options.useFrames = framecheck->isChecked();
    options.useBackgroundImage = Check3->isChecked();
    options.backgroundImageFile = Edit2->text();
    options.backgroundColor = backgroundColour_;
    try {
        TocGenerator generator(context_.settings);
        const QString page = generator.run(options, [this](const QString& text) {
            Label2->setText(text);
            Label2->repaint();
        });
        if (context_.prompts.question(this, TocGenerator::finishedQuestion())) {
            TocGenerator::openPage(context_.settings, context_.shell, page);
        }
    } catch (const Error& e) {
        if (TocGenerator::checkMessage(e.message())) {
            context_.prompts.information(this, e.message());
        } else {
            context_.prompts.error(this, e.message());
        }
    } catch (const std::bad_alloc&) {
        context_.prompts.error(this, outOfMemoryMessage());
    }
}

}  // namespace tessaly

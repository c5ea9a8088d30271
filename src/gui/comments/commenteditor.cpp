#include "gui/comments/commenteditor.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QVBoxLayout>
#include <new>

#include "core/imaging/reader/photoreader.h"
#include "core/settings/catalogsettings.h"
#include "core/text/errors.h"
#include "core/text/formatting.h"
#include "core/text/textfile.h"
#include "gui/comments/commentfilltexts.h"
#include "gui/common/filelist.h"
#include "gui/common/focusframe.h"
#include "gui/imaging/displaypicture.h"

namespace tessaly {
namespace {

constexpr int kClientWidth = 343;
constexpr int kClientHeight = 294;
constexpr int kPreviewSide = 150;
constexpr int kStatusPanelWidth = 176;

const char* const kSavedMessage = "コメントファイルを保存しました。";
const char* const kWriteErrorMessage =
    "ファイル書き込みエラーが発生しました。\n処理は中断されました。";
const char* const kSaveQuestion = "コメントが修正されています。\nファイルを保存しますか？";
const char* const kLeaveQuestion = "変更を保存しますか？";

template <typename W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* panelLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = named(new QLabel(text, parent), name);
    label->setFrameStyle(QFrame::Panel | QFrame::Raised);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    return named(new QPushButton(text, parent), name);
}

}  // namespace

CommentEditor::CommentEditor(AppContext& context, QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                              Qt::MSWindowsFixedSizeDialogHint),
      context_(context) {
    setObjectName(QStringLiteral("Tcomment"));
    setWindowTitle(QStringLiteral("コメントファイル作成"));
    setModal(true);
    pickFolder_ = [this](const QString& current) {
        return QFileDialog::getExistingDirectory(this, QStringLiteral("フォルダ選択"), current);
    };

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* menuBar = named(new QMenuBar(this), "MainMenu1");
    layout->setMenuBar(menuBar);
    createMenus(menuBar);
    auto* client = new QWidget(this);
    client->setFixedSize(kClientWidth, kClientHeight);
    layout->addWidget(client);
    createListArea(client);
    createPreviewArea(client);
    createCommentArea(client);
    createStatusBar(client);
    setFixedSize(kClientWidth, menuBar->sizeHint().height() + kClientHeight);

    if (mainWindow) move(mainWindow->pos() + QPoint(80, 95));
    statusPanels_[0]->setText(QStringLiteral("ファイル数＝0"));
    enableCommentFields(false);
}

void CommentEditor::createMenus(QMenuBar* menuBar) {
    QMenu* file = named(menuBar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)")), "FileMenu");
    connect(named(file->addAction(QStringLiteral("開く(&O)...")), "Open1"), &QAction::triggered,
            this, &CommentEditor::chooseFolder);
    connect(named(file->addAction(QStringLiteral("保存(&S)")), "Save1"), &QAction::triggered, this,
            [this] { save(); });
    file->addSeparator();
    connect(named(file->addAction(QStringLiteral("終了(&X)")), "Exit1"), &QAction::triggered, this,
            &QDialog::close);

    QMenu* edit = named(menuBar->addMenu(QStringLiteral("編集(&E)")), "EditMenu");
    addFillAction(edit, "N5", QStringLiteral("選択されているファイルに日付を記入"), Fill::Date,
                  false);
    addFillAction(edit, "N3", QStringLiteral("すべてのファイルに日付を記入"), Fill::Date, true);
    addFillAction(edit, "N8", QStringLiteral("選択されているファイルにサイズを記入"), Fill::Size,
                  false);
    addFillAction(edit, "N2", QStringLiteral("すべてのファイルにサイズを記入"), Fill::Size, true);
    addFillAction(edit, "N12", QStringLiteral("選択されているファイルにファイル名を記入"),
                  Fill::Name, false);
    addFillAction(edit, "N13", QStringLiteral("すべてのファイルにファイル名を記入"), Fill::Name,
                  true);
    addFillAction(edit, "N9", QStringLiteral("選択されているファイルにファイル名と日付を記入"),
                  Fill::NameAndDate, false);
    addFillAction(edit, "N10", QStringLiteral("すべてのファイルにファイル名と日付を記入"),
                  Fill::NameAndDate, true);
    addFillAction(edit, "N6", QStringLiteral("選択されているファイルにファイル名とサイズを記入"),
                  Fill::NameAndSize, false);
    addFillAction(edit, "Replace1", QStringLiteral("すべてのファイルにファイル名とサイズを記入"),
                  Fill::NameAndSize, true);
    // What the camera recorded, inserted into the comment line being typed.
    connect(named(edit->addAction(QStringLiteral("撮影日時")), "captureTimeFill"),
            &QAction::triggered, this, [this] { insertFromCamera(false); });
    connect(named(edit->addAction(QStringLiteral("撮影情報")), "cameraFill"), &QAction::triggered,
            this, [this] { insertFromCamera(true); });
    edit->addSeparator();
    noExtensionAction = named(edit->addAction(QStringLiteral("ﾌｧｲﾙ名には拡張子を付けない")), "N11");
    noExtensionAction->setCheckable(true);
}

QAction* CommentEditor::addFillAction(QMenu* menu, const char* name, const QString& text, Fill fill,
                                      bool allFiles) {
    QAction* action = named(menu->addAction(text), name);
    connect(action, &QAction::triggered, this, [this, fill, allFiles] {
        if (allFiles) {
            fillAll(fill);
        } else {
            fillSelected(fill);
        }
    });
    return action;
}

void CommentEditor::createListArea(QWidget* client) {
    headingPanel = panelLabel(client, "Panel1", QStringLiteral("コメントファイル作成"));
    headingPanel->setGeometry(0, 0, kClientWidth, 24);
    listCaption = panelLabel(client, "Panel2", QStringLiteral("「jpg」ファイルリスト(&L)"));
    listCaption->setGeometry(4, 28, 160, 20);
    fileList = named(new FileList(client), "File1");
    fileList->setMask(photoNameMask(false));
    fileList->setGeometry(4, 48, 160, 156);
    fileList->setSelectionMode(QAbstractItemView::SingleSelection);
    listCaption->setBuddy(fileList);
    showFocusClearly(*fileList);
    fileList->setAccessibleName(QStringLiteral("「jpg」ファイルリスト"));
    fileList->setAccessibleDescription(
        QStringLiteral("コメントを付けるファイルを選ぶと、その画像とコメントが表示されます。"));
    connect(fileList, &FileList::contentsChanged, this, [this] {
        statusPanels_[0]->setText(QStringLiteral("ファイル数＝") +
                                  QString::number(fileList->count()));
    });
    connect(fileList, &QListWidget::itemSelectionChanged, this, &CommentEditor::fileSelected);
}

void CommentEditor::createPreviewArea(QWidget* client) {
    previewFrame = named(new QFrame(client), "Panel3");
    previewFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    previewFrame->setGeometry(168, 28, 171, 176);
    previewFrame->setToolTip(QStringLiteral("画像表示エリア"));
    previewCaption = panelLabel(previewFrame, "Panel4", QStringLiteral("プレビュー"));
    previewCaption->setGeometry(1, 1, 169, 18);
    previewImage = named(new QLabel(previewFrame), "Image1");
    previewImage->setScaledContents(true);
    previewImage->hide();
}

void CommentEditor::createCommentArea(QWidget* client) {
    commentLabel = named(new QLabel(QStringLiteral("コメント記入欄(&C)"), client), "Label1");
    commentLabel->setGeometry(4, 205, 160, 17);
    firstLineEdit = named(new QLineEdit(client), "Edit1");
    firstLineEdit->setGeometry(4, 222, 236, 22);
    secondLineEdit = named(new QLineEdit(client), "Edit2");
    secondLineEdit->setGeometry(4, 248, 236, 22);
    commentLabel->setBuddy(firstLineEdit);
    firstLineEdit->setAccessibleName(QStringLiteral("コメント1行目"));
    firstLineEdit->setAccessibleDescription(
        QStringLiteral("選択されているファイルのコメントの1行目です。「更新」で記憶します。"));
    secondLineEdit->setAccessibleName(QStringLiteral("コメント2行目"));
    secondLineEdit->setAccessibleDescription(
        QStringLiteral("選択されているファイルのコメントの2行目です。「更新」で記憶します。"));
    firstLineEdit->installEventFilter(this);
    secondLineEdit->installEventFilter(this);

    refreshButton = button(client, "Button2", QStringLiteral("更新"));
    refreshButton->setGeometry(244, 222, 46, 22);
    refreshButton->setDefault(true);  // Enter in a comment line stores it
    connect(refreshButton, &QPushButton::clicked, this, &CommentEditor::refreshList);
    saveButton = button(client, "Button1", QStringLiteral("保存"));
    saveButton->setGeometry(293, 222, 46, 22);
    connect(saveButton, &QPushButton::clicked, this, [this] { save(); });
    saveCloseButton = button(client, "Button5", QStringLiteral("保存して終了"));
    saveCloseButton->setGeometry(244, 248, 95, 22);
    saveCloseButton->setToolTip(
        QStringLiteral("コメントファイルを保存してコメント作成ウインドウを閉じます。"));
    connect(saveCloseButton, &QPushButton::clicked, this, &CommentEditor::saveAndClose);
}

void CommentEditor::createStatusBar(QWidget* client) {
    statusLine = named(new QStatusBar(client), "StatusBar1");
    statusLine->setSizeGripEnabled(false);
    statusLine->setGeometry(0, kClientHeight - 20, kClientWidth, 20);
    for (int i = 0; i < 2; ++i) {
        statusPanels_[i] = new QLabel(statusLine);
        statusPanels_[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        statusPanels_[i]->setAccessibleDescription(
            i == 0 ? QStringLiteral("ファイル数") : QStringLiteral("撮影情報の読み取り結果"));
        statusPanels_[i]->setFixedWidth(kStatusPanelWidth);
        statusPanels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusLine->addWidget(statusPanels_[i]);
    }
}

bool CommentEditor::eventFilter(QObject* watched, QEvent* event) {
    // A click into a comment line selects its whole text.
    if ((watched == firstLineEdit || watched == secondLineEdit) &&
        event->type() == QEvent::MouseButtonRelease) {
        static_cast<QLineEdit*>(watched)->selectAll();
    }
    return QDialog::eventFilter(watched, event);
}

void CommentEditor::setFolderPicker(FolderChooser pickFolder) {
    pickFolder_ = std::move(pickFolder);
}

QString CommentEditor::panelText(int panel) const {
    if (panel < 0 || panel > 1) return QString();
    return statusPanels_[panel]->text();
}

QStringList CommentEditor::fileNames() const { return fileList->files(); }

int CommentEditor::selectedRow() const {
    const QList<QListWidgetItem*> selected = fileList->selectedItems();
    return selected.isEmpty() ? -1 : fileList->row(selected.first());
}

QString CommentEditor::selectedName() const {
    const int row = selectedRow();
    return row < 0 ? QString() : fileList->item(row)->text();
}

QString CommentEditor::filePath(const QString& name) const { return folderPath(folder_) + name; }

void CommentEditor::openOn(const QString& folder) {
    if (loadFolder(folder)) exec();
}

bool CommentEditor::loadFolder(const QString& folder) {
    listFolder(folder);
    return resetComments();
}

// The photographs the catalogue takes: with the formats switch on, those of every format.
void CommentEditor::listFolder(const QString& folder) {
    const bool allFormats = context_.settings.isOn(&CatalogSettings::otherFormats);
    const QString caption =
        allFormats ? QStringLiteral("画像ファイルリスト") : QStringLiteral("「jpg」ファイルリスト");
    listCaption->setText(caption + QStringLiteral("(&L)"));
    fileList->setAccessibleName(caption);
    folder_ = folder;
    shownName_.clear();
    hidePreview();
    fileList->setMask(photoNameMask(allFormats));
    fileList->setDirectory(folder);
    enableCommentFields(false);
}

// Lines can only be typed for a photograph: with none selected they would belong to none.
void CommentEditor::enableCommentFields(bool on) {
    firstLineEdit->setEnabled(on);
    secondLineEdit->setEnabled(on);
}

bool CommentEditor::resetComments() {
    firstLineEdit->clear();
    secondLineEdit->clear();
    modified_ = false;
    unsaved_ = false;
    comments_ = CommentTable();
    try {
        comments_.load(folder_);  // a folder without a comment file gives an empty table
    } catch (const Error& e) {
        comments_ = CommentTable();
        context_.prompts.error(this, e.message());
        return false;
    } catch (const std::bad_alloc&) {
        comments_ = CommentTable();
        context_.prompts.error(this, outOfMemoryMessage());
        return false;
    }
    return true;
}

void CommentEditor::hidePreview() {
    previewImage->clear();
    previewImage->hide();
}

void CommentEditor::showPreview(const QString& path) {
    const QImage image = hasJpegExtension(path) ? jpegPreview(path)
                                                : DisplayPicture::readReduced(path, kPreviewSide);
    if (image.isNull()) {
        throw ImageError(QStringLiteral("%1\n画像を読み込めないため表示できません。")
                             .arg(QDir::toNativeSeparators(path)));
    }
    previewImage->setPixmap(QPixmap::fromImage(image));
    previewImage->setGeometry(previewRect(image.size(), previewFrame->size()));
    previewImage->show();
}

QImage CommentEditor::jpegPreview(const QString& path) {
    QImageReader reader(path, "jpeg");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QRect CommentEditor::previewRect(QSize imageSize, QSize panelSize) {
    const long double width = imageSize.width();
    const long double height = imageSize.height();
    int w = kPreviewSide;
    int h = kPreviewSide;
    if (height < width) {
        h = static_cast<int>(roundHalfEven(height * kPreviewSide / width));
    } else {
        w = static_cast<int>(roundHalfEven(width * kPreviewSide / height));
    }
    const int top = panelSize.height() / 2 - h / 2 + 10;
    const int left = panelSize.width() / 2 - w / 2;
    return QRect(left, top, w, h);
}

void CommentEditor::fileSelected() {
    const QString name = selectedName();
    if (name.isEmpty() || !leaveEntry()) return;
    enableCommentFields(true);
    shownName_ = name;
    hidePreview();
    // The comment lines follow the selection even when the image cannot be shown, so that
    // an Update never stores the previous file's lines under this name.
    const CommentLines lines = comments_.lookUp(name);
    firstLineEdit->setText(lines.first);
    secondLineEdit->setText(lines.second);
    try {
        showPreview(filePath(name));
    } catch (const Error& e) {
        context_.prompts.error(this, e.message());
    } catch (const std::bad_alloc&) {
        context_.prompts.error(this, outOfMemoryMessage());
    }
}

// Before another file is shown: lines typed for the file on screen and not yet stored are
// stored as Update does (Yes), dropped (No), or kept with their file selected again (Cancel).
bool CommentEditor::leaveEntry() {
    // isModified: typed into since the program last put lines there.
    const bool typed = firstLineEdit->isModified() || secondLineEdit->isModified();
    if (!typed || shownName_.isEmpty() || shownName_ == selectedName()) return true;
    const CommentLines stored = comments_.lookUp(shownName_);
    if (stored.first == firstLineEdit->text() && stored.second == secondLineEdit->text()) {
        return true;
    }
    switch (context_.prompts.questionWithCancel(this, QString::fromUtf8(kLeaveQuestion))) {
        case Prompts::Answer::Yes:
            comments_.set(shownName_, firstLineEdit->text(), secondLineEdit->text());
            modified_ = true;
            unsaved_ = true;
            return true;
        case Prompts::Answer::No:
            return true;
        case Prompts::Answer::Cancel:
            break;
    }
    const QSignalBlocker quiet(fileList);
    const QList<QListWidgetItem*> shown = fileList->findItems(shownName_, Qt::MatchExactly);
    if (!shown.isEmpty()) fileList->setCurrentItem(shown.first());
    return false;
}

void CommentEditor::refreshList() {
    const QString name = selectedName();
    if (name.isEmpty()) return;
    comments_.set(name, firstLineEdit->text(), secondLineEdit->text());
    modified_ = true;
    unsaved_ = true;
}

// True when the fields hold lines for the selected file other than those stored for it.
bool CommentEditor::typedLinesDiffer() const {
    const QString name = selectedName();
    if (name.isEmpty() || name != shownName_) return false;
    const CommentLines stored = comments_.lookUp(name);
    return stored.first != firstLineEdit->text() || stored.second != secondLineEdit->text();
}

// What is typed for the selected file is stored as 更新 does before it is saved, so that the
// message that the file was saved is true of what the user sees.
void CommentEditor::storeTypedLines() {
    if (typedLinesDiffer()) refreshList();
}

CommentEditor::SaveResult CommentEditor::save() {
    if (folder_.isEmpty()) return SaveResult::NotSaved;  // never opened on a folder
    storeTypedLines();
    try {
        comments_.save(folder_, fileNames());
    } catch (const EncodingError& e) {
        context_.prompts.error(this, e.message());
        return SaveResult::NotSaved;
    } catch (const CreateError& e) {
        context_.prompts.error(this, e.message());
        return SaveResult::NotSaved;
    } catch (const IoError&) {
        context_.prompts.error(this, QString::fromUtf8(kWriteErrorMessage));
        return SaveResult::WriteFailed;
    }
    unsaved_ = false;
    context_.prompts.information(this, QString::fromUtf8(kSavedMessage));
    return SaveResult::Saved;
}

void CommentEditor::reject() {
    if (unsaved_ || typedLinesDiffer()) {
        switch (context_.prompts.questionWithCancel(this, QString::fromUtf8(kLeaveQuestion))) {
            case Prompts::Answer::Yes:
                if (save() != SaveResult::Saved) return;  // the comments stay on screen
                break;
            case Prompts::Answer::No:
                break;
            case Prompts::Answer::Cancel:
                return;
        }
    }
    QDialog::reject();
}

void CommentEditor::saveAndClose() {
    // The window stays open after any failed save, so the unsaved comments are not lost.
    if (save() == SaveResult::Saved) close();
}

void CommentEditor::chooseFolder() {
    if (modified_ && context_.prompts.question(this, QString::fromUtf8(kSaveQuestion))) {
        // A failed save keeps the comments on screen instead of discarding them.
        if (save() != SaveResult::Saved) return;
    }
    firstLineEdit->clear();
    secondLineEdit->clear();
    modified_ = false;
    unsaved_ = false;
    comments_ = CommentTable();
    const QString chosen = pickFolder_ ? pickFolder_(folder_) : QString();
    listFolder(chosen.isEmpty() ? folder_ : chosen);
    resetComments();
}

void CommentEditor::fillFile(int row, Fill fill) {
    const QString name = fileList->item(row)->text();
    const QString path = filePath(name);
    const QString nameText = commentNameText(name, noExtensionAction->isChecked());
    QString first;
    QString second;
    switch (fill) {
        case Fill::Date:
            first = fileDateText(path);
            break;
        case Fill::Size:
            first = fileSizeText(path);
            break;
        case Fill::Name:
            first = nameText;
            break;
        case Fill::NameAndDate:
            first = nameText;
            second = fileDateText(path);
            break;
        case Fill::NameAndSize:
            first = nameText;
            second = fileSizeText(path);
            break;
    }
    firstLineEdit->setText(first);
    secondLineEdit->setText(second);
    comments_.set(name, firstLineEdit->text(), secondLineEdit->text());
    unsaved_ = true;
}

void CommentEditor::fillSelected(Fill fill) {
    const int row = selectedRow();
    if (row < 0) return;
    try {
        fillFile(row, fill);
    } catch (const Error& e) {
        context_.prompts.error(this, e.message());
    }
}

void CommentEditor::fillAll(Fill fill) {
    try {
        for (int row = 0; row < fileList->count(); ++row) {
            fileList->scrollToItem(fileList->item(row), QAbstractItemView::PositionAtTop);
            fillFile(row, fill);
            fileList->repaint();
            firstLineEdit->repaint();
            secondLineEdit->repaint();
        }
    } catch (const Error& e) {
        context_.prompts.error(this, e.message());
    }
}

// Inserts the capture time or the camera text of the selected file into the comment line
// that has the focus (the first when neither has) and stores both lines as the fill commands
// do. A file without the data changes nothing and the status line says so.
void CommentEditor::insertFromCamera(bool camera) {
    const int row = selectedRow();
    if (row < 0) return;
    const QString name = fileList->item(row)->text();
    const QString path = filePath(name);
    const QString text = camera ? fileCameraText(path) : fileCaptureTimeText(path);
    if (text.isEmpty()) {
        statusPanels_[1]->setText(camera ? QStringLiteral("撮影情報の記録がありません")
                                         : QStringLiteral("撮影日時の記録がありません"));
        return;
    }
    statusPanels_[1]->clear();
    QLineEdit* field = focusWidget() == secondLineEdit ? secondLineEdit : firstLineEdit;
    field->insert(text);
    comments_.set(name, firstLineEdit->text(), secondLineEdit->text());
    unsaved_ = true;
}

}  // namespace tessaly

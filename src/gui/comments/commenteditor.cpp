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
#include <QStatusBar>
#include <QVBoxLayout>
#include <new>

#include "core/text/errors.h"
#include "core/text/formatting.h"
#include "core/text/textfile.h"
#include "gui/comments/commentfilltexts.h"
#include "gui/common/filelist.h"

namespace tessaly {
namespace {

constexpr int kClientWidth = 343;
constexpr int kClientHeight = 294;
constexpr int kPreviewSide = 150;
constexpr int kStatusPanelWidth = 176;

const char* const kSavedMessage = "コメントファイルを保存しました。";
const char* const kWriteErrorMessage =
    "ファイル書き込みエラーが発生しました。\r処理は中断されました。";
const char* const kSaveQuestion = "コメントが修正されています。\rファイルを保存しますか？";

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
    auto* b = named(new QPushButton(text, parent), name);
    b->setAutoDefault(false);
    return b;
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
}

void CommentEditor::createMenus(QMenuBar* menuBar) {
    QMenu* file = named(menuBar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)")), "FileMenu");
    connect(named(file->addAction(QStringLiteral("開く(&O)...")), "Open1"), &QAction::triggered,
            this, &CommentEditor::Open1Click);
    connect(named(file->addAction(QStringLiteral("保存(&S)")), "Save1"), &QAction::triggered, this,
            [this] { Button1Click(); });
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
    edit->addSeparator();
    N11 = named(edit->addAction(QStringLiteral("ﾌｧｲﾙ名には拡張子を付けない")), "N11");
    N11->setCheckable(true);
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
    Panel1 = panelLabel(client, "Panel1", QStringLiteral("コメントファイル作成"));
    Panel1->setGeometry(0, 0, kClientWidth, 24);
    Panel2 = panelLabel(client, "Panel2", QStringLiteral("「jpg」ファイルリスト"));
    Panel2->setGeometry(4, 28, 160, 20);
    File1 = named(new FileList(client), "File1");
    File1->setMask(QStringLiteral("*.jpg"));
    File1->setGeometry(4, 48, 160, 156);
    File1->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(File1, &FileList::contentsChanged, this, [this] {
        statusPanels_[0]->setText(QStringLiteral("ファイル数＝") + QString::number(File1->count()));
    });
    connect(File1, &QListWidget::itemSelectionChanged, this, &CommentEditor::File1Click);
}

void CommentEditor::createPreviewArea(QWidget* client) {
    Panel3 = named(new QFrame(client), "Panel3");
    Panel3->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel3->setGeometry(168, 28, 171, 176);
    Panel3->setToolTip(QStringLiteral("画像表示エリア"));
    Panel4 = panelLabel(Panel3, "Panel4", QStringLiteral("Preview Window"));
    Panel4->setGeometry(1, 1, 169, 18);
    Image1 = named(new QLabel(Panel3), "Image1");
    Image1->setScaledContents(true);
    Image1->hide();
}

void CommentEditor::createCommentArea(QWidget* client) {
    Label1 = named(new QLabel(QStringLiteral("コメント記入欄"), client), "Label1");
    Label1->setGeometry(4, 205, 160, 17);
    Edit1 = named(new QLineEdit(client), "Edit1");
    Edit1->setGeometry(4, 222, 236, 22);
    Edit2 = named(new QLineEdit(client), "Edit2");
    Edit2->setGeometry(4, 248, 236, 22);
    Edit1->installEventFilter(this);
    Edit2->installEventFilter(this);

    Button2 = button(client, "Button2", QStringLiteral("更新"));
    Button2->setGeometry(244, 222, 46, 22);
    connect(Button2, &QPushButton::clicked, this, &CommentEditor::Button2Click);
    Button1 = button(client, "Button1", QStringLiteral("保存"));
    Button1->setGeometry(293, 222, 46, 22);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    Button5 = button(client, "Button5", QStringLiteral("保存して終了"));
    Button5->setGeometry(244, 248, 95, 22);
    Button5->setToolTip(QStringLiteral("コメント作成ウインドウを閉じます。"));
    connect(Button5, &QPushButton::clicked, this, &CommentEditor::Button5Click);
}

void CommentEditor::createStatusBar(QWidget* client) {
    StatusBar1 = named(new QStatusBar(client), "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setGeometry(0, kClientHeight - 20, kClientWidth, 20);
    for (int i = 0; i < 2; ++i) {
        statusPanels_[i] = new QLabel(StatusBar1);
        statusPanels_[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        statusPanels_[i]->setFixedWidth(kStatusPanelWidth);
        statusPanels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        StatusBar1->addWidget(statusPanels_[i]);
    }
}

bool CommentEditor::eventFilter(QObject* watched, QEvent* event) {
    // A click into a comment line selects its whole text.
    if ((watched == Edit1 || watched == Edit2) && event->type() == QEvent::MouseButtonRelease) {
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

QStringList CommentEditor::fileNames() const { return File1->files(); }

int CommentEditor::selectedRow() const {
    const QList<QListWidgetItem*> selected = File1->selectedItems();
    return selected.isEmpty() ? -1 : File1->row(selected.first());
}

QString CommentEditor::selectedName() const {
    const int row = selectedRow();
    return row < 0 ? QString() : File1->item(row)->text();
}

QString CommentEditor::filePath(const QString& name) const { return folderPath(folder_) + name; }

void CommentEditor::openOn(const QString& folder) {
    if (loadFolder(folder)) exec();
}

bool CommentEditor::loadFolder(const QString& folder) {
    listFolder(folder);
    return resetComments();
}

void CommentEditor::listFolder(const QString& folder) {
    folder_ = folder;
    hidePreview();
    File1->setDirectory(folder);
}

bool CommentEditor::resetComments() {
    Edit1->clear();
    Edit2->clear();
    modified_ = false;
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
    Image1->clear();
    Image1->hide();
}

void CommentEditor::showPreview(const QString& path) {
    QImageReader reader(path, "jpeg");
    reader.setAutoDetectImageFormat(false);
    const QImage image = reader.read();
    if (image.isNull()) {
        throw ImageError(
            QStringLiteral("%1\r%2").arg(QDir::toNativeSeparators(path), reader.errorString()));
    }
    Image1->setPixmap(QPixmap::fromImage(image));
    Image1->setGeometry(previewRect(image.size(), Panel3->size()));
    Image1->show();
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

void CommentEditor::File1Click() {
    const QString name = selectedName();
    if (name.isEmpty()) return;
    hidePreview();
    // The comment lines follow the selection even when the image cannot be shown, so that
    // an Update never stores the previous file's lines under this name.
    const CommentLines lines = comments_.lookUp(name);
    Edit1->setText(lines.first);
    Edit2->setText(lines.second);
    try {
        showPreview(filePath(name));
    } catch (const Error& e) {
        context_.prompts.error(this, e.message());
    } catch (const std::bad_alloc&) {
        context_.prompts.error(this, outOfMemoryMessage());
    }
}

void CommentEditor::Button2Click() {
    const QString name = selectedName();
    if (name.isEmpty()) return;
    comments_.set(name, Edit1->text(), Edit2->text());
    modified_ = true;
}

CommentEditor::SaveResult CommentEditor::Button1Click() {
    if (folder_.isEmpty()) return SaveResult::NotSaved;  // never opened on a folder
    try {
        comments_.save(folder_, fileNames());
    } catch (const EncodingError& e) {
        context_.prompts.error(this, e.message());
        return SaveResult::NotSaved;
    } catch (const IoError& e) {
        if (e.message() == cannotCreateMessage(CommentTable::filePath(folder_))) {
            context_.prompts.error(this, e.message());
            return SaveResult::NotSaved;
        }
        context_.prompts.error(this, QString::fromUtf8(kWriteErrorMessage));
        return SaveResult::WriteFailed;
    }
    context_.prompts.information(this, QString::fromUtf8(kSavedMessage));
    return SaveResult::Saved;
}

void CommentEditor::Button5Click() {
    // The window stays open after any failed save, so the unsaved comments are not lost.
    if (Button1Click() == SaveResult::Saved) close();
}

void CommentEditor::Open1Click() {
    if (modified_ && context_.prompts.question(this, QString::fromUtf8(kSaveQuestion))) {
        // A failed save keeps the comments on screen instead of discarding them.
        if (Button1Click() != SaveResult::Saved) return;
    }
    Edit1->clear();
    Edit2->clear();
    modified_ = false;
    comments_ = CommentTable();
    const QString chosen = pickFolder_ ? pickFolder_(folder_) : QString();
    listFolder(chosen.isEmpty() ? folder_ : chosen);
    resetComments();
}

void CommentEditor::fillFile(int row, Fill fill) {
    const QString name = File1->item(row)->text();
    const QString path = filePath(name);
    const QString nameText = commentNameText(name, N11->isChecked());
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
    Edit1->setText(first);
    Edit2->setText(second);
    comments_.set(name, Edit1->text(), Edit2->text());
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
        for (int row = 0; row < File1->count(); ++row) {
            File1->scrollToItem(File1->item(row), QAbstractItemView::PositionAtTop);
            fillFile(row, fill);
            File1->repaint();
            Edit1->repaint();
            Edit2->repaint();
        }
    } catch (const Error& e) {
        context_.prompts.error(this, e.message());
    }
}

}  // namespace tessaly

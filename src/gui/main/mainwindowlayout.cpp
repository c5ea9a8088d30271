#include "gui/main/mainwindowlayout.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>

#include "core/settings/catalogsettings.h"
#include "gui/common/filelist.h"
#include "gui/common/focusframe.h"
#include "gui/common/folderlist.h"
#include "gui/common/volumebox.h"

namespace tessaly {
namespace {

constexpr int kTopPanelHeight = 137;
constexpr int kButtonColumnWidth = 88;
constexpr int kSideButtonWidth = kButtonColumnWidth - 14;
constexpr int kSplitterLimit = 150;

// A control without a label of its own: its hint as the description screen readers read
// (lists read no hint by themselves) and, unless it has one, a name.
void nameForReaders(QWidget* control, const QString& name = QString()) {
    if (!name.isEmpty()) control->setAccessibleName(name);
    control->setAccessibleDescription(control->toolTip());
}

QLabel* labelFor(QWidget* control, const QString& caption, const char* objectName,
                 QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setBuddy(control);
    return label;
}

}  // namespace

MainWindowControls MainWindowLayout::build(QMainWindow& window) {
    MainWindowControls c;
    auto* client = new QWidget(&window);
    name(client, "Client");
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The image list stands in the body; its heading, the label that leads to it, above it.
    c.imageList = new QListWidget(client);
    // Both grow with the window: the folder list in the top panel and the image list below.
    layout->addWidget(buildTopPanel(c, client), 2);
    layout->addWidget(buildBody(c, client), 3);
    window.setCentralWidget(client);
    buildMenus(c, window);
    buildPopupMenus(c, window);
    buildStatusBar(c, window);
    setTabOrder(c);
    return c;
}

QWidget* MainWindowLayout::buildTopPanel(MainWindowControls& c, QWidget* parent) {
    auto* panel = new QFrame(parent);
    name(panel, "Panel1");
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setMinimumHeight(kTopPanelHeight);
    c.volumeBox = new VolumeBox(panel);
    name(c.volumeBox, "Drive1");
    c.volumeBox->setToolTip(QStringLiteral("ドライブを指定します。"));
    nameForReaders(c.volumeBox);
    c.folderList = new FolderList(panel);
    name(c.folderList, "Dir1");
    c.folderList->setToolTip(QStringLiteral("対象フォルダを指定します。"));
    nameForReaders(c.folderList);
    showFocusClearly(*c.folderList);
    c.fileList = new FileList(panel);
    name(c.fileList, "File1");
    c.fileList->hide();
    QLabel* heading =
        labelFor(c.imageList, QStringLiteral("画像(*.JPG)ファイル(&L)"), "Label1", panel);
    c.imageListHeading = heading;

    auto* folders = new QVBoxLayout;
    folders->setSpacing(2);
    folders->addWidget(c.volumeBox);
    folders->addWidget(c.folderList, 1);
    folders->addWidget(heading);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(4, 4, 4, 2);
    layout->addLayout(folders, 1);
    layout->addWidget(buildTitleArea(c, panel), 1);
    return panel;
}

QWidget* MainWindowLayout::buildTitleArea(MainWindowControls& c, QWidget* parent) {
    auto* area = new QWidget(parent);
    c.nextFolderButton =
        button(area, "Button5", QStringLiteral("次のフォルダ"),
               QStringLiteral("現在のフォルダが含まれているフォルダで次のフォルダに移動します。"));
    c.executeButton =
        button(area, "Button7", QStringLiteral("実行(&X)"),
               QStringLiteral("カタログ表示するファイルを作成し、htmlのファイルを作ります。"));
    c.cancelButton = button(area, "Button8", QStringLiteral("中止"),
                            QStringLiteral("作成を中止します（Esc キー）。"));
    for (QPushButton* large : {c.executeButton, c.cancelButton}) {
        large->setMinimumHeight(44);
        QFont bold = large->font();
        bold.setBold(true);
        large->setFont(bold);
    }
    c.cancelButton->hide();
    c.titleEdit = new QLineEdit(area);
    name(c.titleEdit, "HPtytlebox");
    c.titleEdit->setToolTip(QStringLiteral("作成されたHTMLのタイトルになります。"));
    QLabel* titleLabel = labelFor(c.titleEdit, QStringLiteral("タイトル(&I)"), "Label7", area);
    c.perRowBox = new QSpinBox(area);
    name(c.perRowBox, "UpDown1");
    c.perRowBox->setRange(kImagesPerRow.minimum, kImagesPerRow.maximum);
    c.perRowBox->setValue(kDefaultImagesPerRow);
    c.perRowBox->setToolTip(QStringLiteral("カタログの横方向の表示枚数を指定します。"));
    QLabel* perRowLabel = labelFor(c.perRowBox, QStringLiteral("一行の枚数(&N)"), "Label3", area);
    c.commentsCheck = new QCheckBox(QStringLiteral("コメントを付加する(&C)"), area);
    name(c.commentsCheck, "CommentBox");

    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(c.nextFolderButton, 0, 0);
    grid->addWidget(c.executeButton, 0, 1, 1, 3);
    grid->addWidget(c.cancelButton, 0, 1, 1, 3);  // lies exactly over executeButton
    grid->addWidget(titleLabel, 1, 0);
    grid->addWidget(c.titleEdit, 1, 1, 1, 3);
    grid->addWidget(perRowLabel, 2, 0);
    grid->addWidget(c.perRowBox, 2, 1);
    grid->addWidget(c.commentsCheck, 2, 2, 1, 2);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(3, 1);  // the controls stay together at the top when the panel grows
    return area;
}

QWidget* MainWindowLayout::buildBody(MainWindowControls& c, QWidget* parent) {
    auto* splitter = new QSplitter(Qt::Horizontal, parent);
    name(splitter, "Splitter1");
    name(c.imageList, "OldFile");
    c.imageList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    c.imageList->setToolTip(
        QStringLiteral("ファイル一覧が表示されます。 対象のファイルを選択して下さい。"));
    nameForReaders(c.imageList, QStringLiteral("画像(*.JPG)ファイル"));
    showFocusClearly(*c.imageList);
    c.imageList->setMinimumWidth(kSplitterLimit);
    c.imageList->setContextMenuPolicy(Qt::CustomContextMenu);

    auto* right = new QWidget(splitter);
    name(right, "PreviewSide");
    right->setMinimumWidth(kSplitterLimit);
    auto* layout = new QHBoxLayout(right);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildButtonColumn(c, right));
    layout->addWidget(buildPreviewPanel(c, right), 1);
    // Under the list: the switch that lets photographs of other formats into it.
    auto* left = new QWidget(splitter);
    name(left, "ImageListSide");
    left->setMinimumWidth(kSplitterLimit);
    auto* listColumn = new QVBoxLayout(left);
    listColumn->setContentsMargins(0, 0, 0, 0);
    listColumn->setSpacing(2);
    c.imageList->setParent(left);
    listColumn->addWidget(c.imageList, 1);
    c.otherFormatsCheck = new QCheckBox(QStringLiteral("JPEG以外の画像も表示"), left);
    name(c.otherFormatsCheck, "otherFormatsCheck");
    c.otherFormatsCheck->setToolTip(
        QStringLiteral("PNG、WebP、AVIF、HEIC/HEIF の画像も一覧に表示し、カタログに入れます。"));
    listColumn->addWidget(c.otherFormatsCheck);
    splitter->addWidget(left);
    splitter->addWidget(right);
    splitter->setChildrenCollapsible(false);
    splitter->setStretchFactor(0, 1);  // a wider window widens the list and the preview
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({190, 331});
    return splitter;
}

QWidget* MainWindowLayout::buildButtonColumn(MainWindowControls& c, QWidget* parent) {
    auto* column = new QWidget(parent);
    name(column, "ButtonColumn");
    column->setFixedWidth(kButtonColumnWidth);
    c.refreshButton = button(column, "Button11", QStringLiteral("ﾌｧｲﾙ更新"),
                             QStringLiteral("ファイル一覧を読み直します。"));
    c.selectAllButton = button(column, "Button3", QStringLiteral("全選択"),
                               QStringLiteral("表示されているすべてのファイルを選択します。"));
    c.deselectButton = button(column, "Button4", QStringLiteral("選択解除"),
                              QStringLiteral("ファイル一覧のすべての選択を解除します。"));
    c.upButton = button(column, "Button1", QStringLiteral("上へ"),
                        QStringLiteral("選択したファイルの順番を上げます。"));
    c.downButton = button(column, "Button2", QStringLiteral("下へ"),
                          QStringLiteral("選択したファイルの順番を下げます。"));
    c.sortByDateButton = button(column, "sortByDateButton", QStringLiteral("撮影日時順"),
                                QStringLiteral("撮影日時の順にファイルを並べ替えます。"));
    c.sortByDateButton->setAccessibleName(QStringLiteral("撮影日時順に並べ替え"));
    c.viewButton = button(column, "Button9", QStringLiteral("画像表示"),
                          QStringLiteral("選択されている一番上の画像を表示します。"));
    c.rotateButton = button(column, "Button6", QStringLiteral("画像回転"),
                            QStringLiteral("画像回転処理ウィンドウを開きます。"));
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(7, 4, 7, 4);
    layout->setSpacing(3);
    for (QPushButton* b : {c.refreshButton, c.selectAllButton, c.deselectButton, c.upButton,
                           c.downButton, c.sortByDateButton, c.viewButton, c.rotateButton}) {
        b->setFixedWidth(kSideButtonWidth);
        layout->addWidget(b);
    }
    layout->addStretch();
    return column;
}

QWidget* MainWindowLayout::buildPreviewPanel(MainWindowControls& c, QWidget* parent) {
    c.previewPanel = new QFrame(parent);
    name(c.previewPanel, "Panel2");
    c.previewPanel->setFrameShape(QFrame::Panel);
    c.previewPanel->setFrameShadow(QFrame::Sunken);
    c.previewPanel->setToolTip(QStringLiteral("画像表示エリア"));
    c.previewPanel->setMinimumSize(60, 160);
    auto* caption = new QLabel(QStringLiteral("プレビュー"), c.previewPanel);
    name(caption, "Panel3");
    caption->setAlignment(Qt::AlignCenter);
    caption->setFrameShape(QFrame::StyledPanel);
    c.previewImage = new QLabel(c.previewPanel);
    name(c.previewImage, "Image1");
    c.previewImage->setToolTip(QStringLiteral("画像表示エリア"));
    auto* layout = new QVBoxLayout(c.previewPanel);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(caption);
    layout->addStretch();  // previewImage is placed by hand, centred in the panel
    return c.previewPanel;
}

void MainWindowLayout::buildMenus(MainWindowControls& c, QMainWindow& window) {
    QMenuBar* bar = window.menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    name(file, "File2");
    c.openRotationAction = action(file, "N1", QStringLiteral("回転保存ウインドウを開く(&R)"));
    c.openContentsAction = action(file, "N3", QStringLiteral("目次作成ウインドウを開く(&M)"));
    c.openConverterAction = action(file, "BMP1", QStringLiteral("画像変換ウインドウを開く(&B)"));
    c.openCommentsAction = action(file, "N9", QStringLiteral("ｺﾒﾝﾄ作成ウインドウを開く(&C)"));
    file->addSeparator();
    c.exitAction = action(file, "Exit1", QStringLiteral("終了(&X)"));
    QMenu* settings = bar->addMenu(QStringLiteral("設定(&T)"));
    name(settings, "Edit1");
    c.optionsAction = action(settings, "Object1", QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    QMenu* help = bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    name(help, "Help1");
    c.helpAction = action(help, "Contents1", QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    c.aboutAction = action(help, "About1", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."));
    c.menus = {file, settings, help};
}

void MainWindowLayout::buildPopupMenus(MainWindowControls& c, QMainWindow& window) {
    c.imageListMenu = new QMenu(&window);
    name(c.imageListMenu, "PopupMenu1");
    c.viewImageAction = action(c.imageListMenu, "N4", QStringLiteral("画像表示(&V)"));
    c.imageListMenu->addSeparator();
    c.moveToTopAction = action(c.imageListMenu, "maxup", QStringLiteral("最上部に移動(&U)"));
    c.moveToBottomAction = action(c.imageListMenu, "maxdown", QStringLiteral("最下部に移動(&D)"));
    c.imageListMenu->addSeparator();
    c.refreshImagesAction =
        action(c.imageListMenu, "Refresh2", QStringLiteral("最新の情報に更新(&R)"));
    c.folderMenu = new QMenu(&window);
    name(c.folderMenu, "PopupMenu2");
    c.nextFolderAction = action(c.folderMenu, "N6", QStringLiteral("次のフォルダへ(&N)"));
    c.folderMenu->addSeparator();
    c.refreshFoldersAction =
        action(c.folderMenu, "Refresh1", QStringLiteral("最新の情報に更新(&R)"));
    c.folderList->setContextMenuPolicy(Qt::CustomContextMenu);
}

void MainWindowLayout::buildStatusBar(MainWindowControls& c, QMainWindow& window) {
    auto* line = new QStatusBar(&window);
    name(line, "StatusBar1");
    // Design widths; a panel grows when the screen font needs more room for its longest text
    // (the phase "フィルター処理" and the counter " 000/ 000   "). Screen readers read each
    // panel's text; the description says what it is.
    const int widths[] = {233, 88, 50};
    const QString longest[] = {QString(), QStringLiteral("フィルター処理"),
                               QStringLiteral("000/000   ")};
    const QString meaning[] = {QStringLiteral("処理中のファイル"), QStringLiteral("処理の段階"),
                               QStringLiteral("処理した枚数")};
    for (int i = 0; i < 3; ++i) {
        auto* panel = new QLabel(line);
        panel->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i));
        panel->setAccessibleDescription(meaning[i]);
        const int needed = panel->fontMetrics().horizontalAdvance(longest[i]) + 8;
        panel->setFixedWidth(std::max(widths[i], needed));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setAlignment(i == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                   : Qt::AlignRight | Qt::AlignVCenter);
        line->addWidget(panel);
        c.statusFields[static_cast<std::size_t>(i)] = panel;
    }
    window.setStatusBar(line);
}

void MainWindowLayout::setTabOrder(const MainWindowControls& c) {
    QWidget* const order[] = {
        c.volumeBox,        c.folderList,      c.nextFolderButton, c.imageList, c.otherFormatsCheck,
        c.refreshButton,    c.selectAllButton, c.deselectButton,   c.upButton,  c.downButton,
        c.sortByDateButton, c.viewButton,      c.rotateButton,     c.titleEdit, c.perRowBox,
        c.commentsCheck,    c.executeButton,   c.cancelButton};
    for (std::size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

QPushButton* MainWindowLayout::button(QWidget* parent, const char* objectName,
                                      const QString& caption, const QString& hint) {
    auto* b = new QPushButton(caption, parent);
    name(b, objectName);
    b->setAutoDefault(true);  // Enter presses the focused button, as Space does
    if (!hint.isEmpty()) b->setToolTip(hint);
    return b;
}

QAction* MainWindowLayout::action(QMenu* menu, const char* objectName, const QString& caption) {
    QAction* a = menu->addAction(caption);
    name(a, objectName);
    return a;
}

void MainWindowLayout::name(QObject* object, const char* objectName) {
    object->setObjectName(QString::fromLatin1(objectName));
}

}  // namespace tessaly

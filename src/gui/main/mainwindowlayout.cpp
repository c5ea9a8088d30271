#include "gui/main/mainwindowlayout.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/common/filelist.h"
#include "gui/common/folderlist.h"
#include "gui/common/volumebox.h"
#include "gui/main/imagelistorder.h"
#include "gui/main/mainwindow.h"
#include "gui/options/stepbuttons.h"

namespace tessaly {
namespace {

constexpr int kTopPanelHeight = 137;
constexpr int kButtonColumnWidth = 88;
constexpr int kSideButtonWidth = kButtonColumnWidth - 14;
constexpr int kSplitterLimit = 150;

}  // namespace

void MainWindowLayout::build(MainWindow& w) {
    auto* client = new QWidget(&w);
    name(client, "Client");
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // Both grow with the window: the folder list in the top panel and the image list below.
    layout->addWidget(buildTopPanel(w), 2);
    layout->addWidget(buildBody(w), 3);
    w.setCentralWidget(client);
    buildMenus(w);
    buildPopupMenus(w);
    buildStatusBar(w);
}

QWidget* MainWindowLayout::buildTopPanel(MainWindow& w) {
    w.folderPanel = new QFrame(&w);
    name(w.folderPanel, "Panel1");
    w.folderPanel->setFrameShape(QFrame::StyledPanel);
    w.folderPanel->setMinimumHeight(kTopPanelHeight);
    w.volumeBox = new VolumeBox(w.folderPanel);
    name(w.volumeBox, "Drive1");
    w.volumeBox->setToolTip(QStringLiteral("ドライブを指定します。"));
    w.folderList = new FolderList(w.folderPanel);
    name(w.folderList, "Dir1");
    w.folderList->setToolTip(QStringLiteral("対象フォルダを指定します。"));
    w.fileList = new FileList(w.folderPanel);
    name(w.fileList, "File1");
    w.fileList->hide();
    w.fileTypeLabel = new QLabel(QStringLiteral("画像(*.JPG)ファイル"), w.folderPanel);
    name(w.fileTypeLabel, "Label1");

    auto* folders = new QVBoxLayout;
    folders->setSpacing(2);
    folders->addWidget(w.volumeBox);
    folders->addWidget(w.folderList, 1);
    folders->addWidget(w.fileTypeLabel);
    auto* layout = new QHBoxLayout(w.folderPanel);
    layout->setContentsMargins(4, 4, 4, 2);
    layout->addLayout(folders, 1);
    layout->addWidget(buildTitleArea(w, w.folderPanel), 1);
    return w.folderPanel;
}

QWidget* MainWindowLayout::buildTitleArea(MainWindow& w, QWidget* parent) {
    auto* area = new QWidget(parent);
    w.nextFolderButton =
        button(area, "Button5", QStringLiteral("次のフォルダ"),
               QStringLiteral("現在のフォルダが含まれているフォルダで次のフォルダに移動します。"));
    w.executeButton =
        button(area, "Button7", QStringLiteral("実行(&X)"),
               QStringLiteral("カタログ表示するファイルを作成し、htmlのファイルを作ります。"));
    w.cancelButton = button(area, "Button8", QStringLiteral("中止"), QString());
    for (QPushButton* large : {w.executeButton, w.cancelButton}) {
        large->setMinimumHeight(44);
        QFont bold = large->font();
        bold.setBold(true);
        large->setFont(bold);
    }
    w.cancelButton->hide();
    w.titleLabel = new QLabel(QStringLiteral("タイトル"), area);
    name(w.titleLabel, "Label7");
    w.titleEdit = new QLineEdit(area);
    name(w.titleEdit, "HPtytlebox");
    w.titleEdit->setToolTip(QStringLiteral("作成されたHTMLのタイトルになります。"));
    w.perRowLabel = new QLabel(QStringLiteral("一行の枚数"), area);
    name(w.perRowLabel, "Label3");
    w.perRowEdit = new QLineEdit(QStringLiteral("5"), area);
    name(w.perRowEdit, "edit2");
    w.perRowEdit->setReadOnly(true);
    w.perRowEdit->setFixedWidth(32);
    w.perRowButtons = new StepButtons(area);
    name(w.perRowButtons, "UpDown1");
    w.perRowButtons->setRange(1, 10);
    w.perRowButtons->setPosition(5);
    const QString perRowHint = QStringLiteral("カタログの横方向の表示枚数を指定します。");
    for (QWidget* control :
         {static_cast<QWidget*>(w.perRowEdit), static_cast<QWidget*>(w.perRowButtons)})
        control->setToolTip(perRowHint);
    w.commentsCheck = new QCheckBox(QStringLiteral("コメントを付加する"), area);
    name(w.commentsCheck, "CommentBox");

    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(w.nextFolderButton, 0, 0);
    grid->addWidget(w.executeButton, 0, 1, 1, 4);
    grid->addWidget(w.cancelButton, 0, 1, 1, 4);  // lies exactly over executeButton
    grid->addWidget(w.titleLabel, 1, 0);
    grid->addWidget(w.titleEdit, 1, 1, 1, 4);
    grid->addWidget(w.perRowLabel, 2, 0);
    grid->addWidget(w.perRowEdit, 2, 1);
    grid->addWidget(w.perRowButtons, 2, 2);
    grid->addWidget(w.commentsCheck, 2, 3, 1, 2);
    grid->setColumnStretch(4, 1);
    grid->setRowStretch(3, 1);  // the controls stay together at the top when the panel grows
    return area;
}

QWidget* MainWindowLayout::buildBody(MainWindow& w) {
    w.splitter = new QSplitter(Qt::Horizontal, &w);
    name(w.splitter, "Splitter1");
    w.imageList = new QListWidget(w.splitter);
    name(w.imageList, "OldFile");
    w.imageList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    w.imageList->setToolTip(
        QStringLiteral("ファイル一覧が表示されます。 対象のファイルを選択して下さい。"));
    w.imageList->setMinimumWidth(kSplitterLimit);
    w.imageList->setContextMenuPolicy(Qt::CustomContextMenu);

    auto* right = new QWidget(w.splitter);
    name(right, "PreviewSide");
    right->setMinimumWidth(kSplitterLimit);
    auto* layout = new QHBoxLayout(right);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildButtonColumn(w));
    layout->addWidget(buildPreviewPanel(w), 1);
    w.splitter->addWidget(w.imageList);
    w.splitter->addWidget(right);
    w.splitter->setChildrenCollapsible(false);
    w.splitter->setStretchFactor(0, 1);  // a wider window widens the list and the preview
    w.splitter->setStretchFactor(1, 1);
    w.splitter->setSizes({190, 331});
    return w.splitter;
}

QWidget* MainWindowLayout::buildButtonColumn(MainWindow& w) {
    w.buttonColumn = new QWidget(&w);
    name(w.buttonColumn, "ButtonColumn");
    w.buttonColumn->setFixedWidth(kButtonColumnWidth);
    w.refreshButton = button(w.buttonColumn, "Button11", QStringLiteral("ﾌｧｲﾙ更新"),
                             QStringLiteral("ファイル一覧を読み直します。"));
    w.selectAllButton = button(w.buttonColumn, "Button3", QStringLiteral("全選択"),
                               QStringLiteral("表示されているすべてのファイルを選択します。"));
    w.deselectButton = button(w.buttonColumn, "Button4", QStringLiteral("選択解除"),
                              QStringLiteral("ファイル一覧のすべての選択を解除します。"));
    w.upButton = button(w.buttonColumn, "Button1", QStringLiteral("上へ"),
                        QStringLiteral("選択したファイルの順番を上げます。"));
    w.downButton = button(w.buttonColumn, "Button2", QStringLiteral("下へ"),
                          QStringLiteral("選択したファイルの順番を下げます。"));
    w.viewButton = button(w.buttonColumn, "Button9", QStringLiteral("画像表示"),
                          QStringLiteral("選択されている一番上の画像を表示します。"));
    w.rotateButton = button(w.buttonColumn, "Button6", QStringLiteral("画像回転"),
                            QStringLiteral("画像回転処理ウィンドウを開きます。"));
    auto* layout = new QVBoxLayout(w.buttonColumn);
    layout->setContentsMargins(7, 4, 7, 4);
    layout->setSpacing(3);
    for (QPushButton* b : {w.refreshButton, w.selectAllButton, w.deselectButton, w.upButton,
                           w.downButton, w.viewButton, w.rotateButton}) {
        b->setFixedWidth(kSideButtonWidth);
        layout->addWidget(b);
    }
    addSortByDateButton(w, layout);
    layout->addStretch();
    return w.buttonColumn;
}

// "撮影日時順" under the list-order buttons: orders the image list by the time each photograph
// was taken, as tessaly-batch --sort date does; the selection stays on the same files. It is
// usable while the image list is (not during a run).
void MainWindowLayout::addSortByDateButton(MainWindow& w, QVBoxLayout* layout) {
    QPushButton* byDate = button(w.buttonColumn, "sortByDateButton", QStringLiteral("撮影日時順"),
                                 QStringLiteral("撮影日時（EXIF）の順にファイルを並べ替えます。"));
    byDate->setAccessibleName(QStringLiteral("撮影日時順に並べ替え"));
    byDate->setFixedWidth(kSideButtonWidth);
    layout->insertWidget(layout->indexOf(w.downButton) + 1, byDate);
    QObject::connect(byDate, &QPushButton::clicked, &w, [&w] {
        if (w.imageList->isEnabled())
            ImageListOrder::sortByCaptureTime(*w.imageList, w.currentFolder());
    });
}

QWidget* MainWindowLayout::buildPreviewPanel(MainWindow& w) {
    w.previewPanel = new QFrame(&w);
    name(w.previewPanel, "Panel2");
    w.previewPanel->setFrameShape(QFrame::Panel);
    w.previewPanel->setFrameShadow(QFrame::Sunken);
    w.previewPanel->setToolTip(QStringLiteral("画像表示エリア"));
    w.previewPanel->setMinimumSize(60, 160);
    w.previewCaption = new QLabel(QStringLiteral("Preview Window"), w.previewPanel);
    name(w.previewCaption, "Panel3");
    w.previewCaption->setAlignment(Qt::AlignCenter);
    w.previewCaption->setFrameShape(QFrame::StyledPanel);
    w.previewImage = new QLabel(w.previewPanel);
    name(w.previewImage, "Image1");
    w.previewImage->setToolTip(QStringLiteral("画像表示エリア"));
    auto* layout = new QVBoxLayout(w.previewPanel);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(w.previewCaption);
    layout->addStretch();  // previewImage is placed by hand, centred in the panel
    return w.previewPanel;
}

void MainWindowLayout::buildMenus(MainWindow& w) {
    QMenuBar* bar = w.menuBar();
    w.fileMenu = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    name(w.fileMenu, "File2");
    w.openRotationAction = action(w.fileMenu, "N1", QStringLiteral("回転保存ウインドウを開く"));
    w.openContentsAction = action(w.fileMenu, "N3", QStringLiteral("目次作成ウインドウを開く"));
    w.openConverterAction = action(w.fileMenu, "BMP1", QStringLiteral("BMP変換ウインドウを開く"));
    w.openCommentsAction = action(w.fileMenu, "N9", QStringLiteral("ｺﾒﾝﾄ作成ウインドウを開く"));
    w.fileMenu->addSeparator();
    w.exitAction = action(w.fileMenu, "Exit1", QStringLiteral("終了(&X)"));
    w.settingsMenu = bar->addMenu(QStringLiteral("設定(&T)"));
    name(w.settingsMenu, "Edit1");
    w.optionsAction = action(w.settingsMenu, "Object1", QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    w.helpMenu = bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    name(w.helpMenu, "Help1");
    w.helpAction = action(w.helpMenu, "Contents1", QStringLiteral("ﾍﾙﾌﾟ&H)"));
    w.aboutAction = action(w.helpMenu, "About1", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."));
}

void MainWindowLayout::buildPopupMenus(MainWindow& w) {
    w.imageListMenu = new QMenu(&w);
    name(w.imageListMenu, "PopupMenu1");
    w.viewImageAction = action(w.imageListMenu, "N4", QStringLiteral("画像表示"));
    w.imageListMenu->addSeparator();
    w.moveToTopAction = action(w.imageListMenu, "maxup", QStringLiteral("最上部に移動"));
    w.moveToBottomAction = action(w.imageListMenu, "maxdown", QStringLiteral("最下部に移動"));
    w.imageListMenu->addSeparator();
    w.refreshImagesAction = action(w.imageListMenu, "Refresh2", QStringLiteral("最新の情報に更新"));
    w.folderMenu = new QMenu(&w);
    name(w.folderMenu, "PopupMenu2");
    w.nextFolderAction = action(w.folderMenu, "N6", QStringLiteral("次のフォルダへ"));
    w.folderMenu->addSeparator();
    w.refreshFoldersAction = action(w.folderMenu, "Refresh1", QStringLiteral("最新の情報に更新"));
    w.folderList->setContextMenuPolicy(Qt::CustomContextMenu);
}

void MainWindowLayout::buildStatusBar(MainWindow& w) {
    w.statusLine = new QStatusBar(&w);
    name(w.statusLine, "StatusBar1");
    // Design widths; a panel grows when the screen font needs more room for its longest text
    // (the phase "フィルター処理" and the counter " 000/ 000   ").
    const int widths[] = {233, 88, 50};
    const QString longest[] = {QString(), QStringLiteral("フィルター処理"),
                               QStringLiteral("000/000   ")};
    for (int i = 0; i < 3; ++i) {
        auto* panel = new QLabel(w.statusLine);
        panel->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i));
        const int needed = panel->fontMetrics().horizontalAdvance(longest[i]) + 8;
        panel->setFixedWidth(std::max(widths[i], needed));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setAlignment(i == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                   : Qt::AlignRight | Qt::AlignVCenter);
        w.statusLine->addWidget(panel);
        w.statusPanels[i] = panel;
    }
    w.setStatusBar(w.statusLine);
}

QPushButton* MainWindowLayout::button(QWidget* parent, const char* objectName,
                                      const QString& caption, const QString& hint) {
    auto* b = new QPushButton(caption, parent);
    name(b, objectName);
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

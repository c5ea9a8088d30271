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
    w.Panel1 = new QFrame(&w);
    name(w.Panel1, "Panel1");
    w.Panel1->setFrameShape(QFrame::StyledPanel);
    w.Panel1->setMinimumHeight(kTopPanelHeight);
    w.Drive1 = new VolumeBox(w.Panel1);
    name(w.Drive1, "Drive1");
    w.Drive1->setToolTip(QStringLiteral("ドライブを指定します。"));
    w.Dir1 = new FolderList(w.Panel1);
    name(w.Dir1, "Dir1");
    w.Dir1->setToolTip(QStringLiteral("対象フォルダを指定します。"));
    w.File1 = new FileList(w.Panel1);
    name(w.File1, "File1");
    w.File1->hide();
    w.Label1 = new QLabel(QStringLiteral("画像(*.JPG)ファイル"), w.Panel1);
    name(w.Label1, "Label1");

    auto* folders = new QVBoxLayout;
    folders->setSpacing(2);
    folders->addWidget(w.Drive1);
    folders->addWidget(w.Dir1, 1);
    folders->addWidget(w.Label1);
    auto* layout = new QHBoxLayout(w.Panel1);
    layout->setContentsMargins(4, 4, 4, 2);
    layout->addLayout(folders, 1);
    layout->addWidget(buildTitleArea(w, w.Panel1), 1);
    return w.Panel1;
}

QWidget* MainWindowLayout::buildTitleArea(MainWindow& w, QWidget* parent) {
    auto* area = new QWidget(parent);
    w.Button5 =
        button(area, "Button5", QStringLiteral("次のフォルダ"),
               QStringLiteral("現在のフォルダが含まれているフォルダで次のフォルダに移動します。"));
    w.Button7 =
        button(area, "Button7", QStringLiteral("実行(&X)"),
               QStringLiteral("カタログ表示するファイルを作成し、htmlのファイルを作ります。"));
    w.Button8 = button(area, "Button8", QStringLiteral("中止"), QString());
    for (QPushButton* large : {w.Button7, w.Button8}) {
        large->setMinimumHeight(44);
        QFont bold = large->font();
        bold.setBold(true);
        large->setFont(bold);
    }
    w.Button8->hide();
    w.Label7 = new QLabel(QStringLiteral("タイトル"), area);
    name(w.Label7, "Label7");
    w.HPtytlebox = new QLineEdit(area);
    name(w.HPtytlebox, "HPtytlebox");
    w.HPtytlebox->setToolTip(QStringLiteral("作成されたHTMLのタイトルになります。"));
    w.Label3 = new QLabel(QStringLiteral("一行の枚数"), area);
    name(w.Label3, "Label3");
    w.edit2 = new QLineEdit(QStringLiteral("5"), area);
    name(w.edit2, "edit2");
    w.edit2->setReadOnly(true);
    w.edit2->setFixedWidth(32);
    w.UpDown1 = new StepButtons(area);
    name(w.UpDown1, "UpDown1");
    w.UpDown1->setRange(1, 10);
    w.UpDown1->setPosition(5);
    const QString perRowHint = QStringLiteral("カタログの横方向の表示枚数を指定します。");
    for (QWidget* control : {static_cast<QWidget*>(w.edit2), static_cast<QWidget*>(w.UpDown1)})
        control->setToolTip(perRowHint);
    w.CommentBox = new QCheckBox(QStringLiteral("コメントを付加する"), area);
    name(w.CommentBox, "CommentBox");

    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(w.Button5, 0, 0);
    grid->addWidget(w.Button7, 0, 1, 1, 4);
    grid->addWidget(w.Button8, 0, 1, 1, 4);  // lies exactly over Button7
    grid->addWidget(w.Label7, 1, 0);
    grid->addWidget(w.HPtytlebox, 1, 1, 1, 4);
    grid->addWidget(w.Label3, 2, 0);
    grid->addWidget(w.edit2, 2, 1);
    grid->addWidget(w.UpDown1, 2, 2);
    grid->addWidget(w.CommentBox, 2, 3, 1, 2);
    grid->setColumnStretch(4, 1);
    grid->setRowStretch(3, 1);  // the controls stay together at the top when the panel grows
    return area;
}

QWidget* MainWindowLayout::buildBody(MainWindow& w) {
    w.Splitter1 = new QSplitter(Qt::Horizontal, &w);
    name(w.Splitter1, "Splitter1");
    w.OldFile = new QListWidget(w.Splitter1);
    name(w.OldFile, "OldFile");
    w.OldFile->setSelectionMode(QAbstractItemView::ExtendedSelection);
    w.OldFile->setToolTip(
        QStringLiteral("ファイル一覧が表示されます。 対象のファイルを選択して下さい。"));
    w.OldFile->setMinimumWidth(kSplitterLimit);
    w.OldFile->setContextMenuPolicy(Qt::CustomContextMenu);

    auto* right = new QWidget(w.Splitter1);
    name(right, "PreviewSide");
    right->setMinimumWidth(kSplitterLimit);
    auto* layout = new QHBoxLayout(right);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildButtonColumn(w));
    layout->addWidget(buildPreviewPanel(w), 1);
    w.Splitter1->addWidget(w.OldFile);
    w.Splitter1->addWidget(right);
    w.Splitter1->setChildrenCollapsible(false);
    w.Splitter1->setStretchFactor(0, 1);  // a wider window widens the list and the preview
    w.Splitter1->setStretchFactor(1, 1);
    w.Splitter1->setSizes({190, 331});
    return w.Splitter1;
}

QWidget* MainWindowLayout::buildButtonColumn(MainWindow& w) {
    w.ButtonColumn = new QWidget(&w);
    name(w.ButtonColumn, "ButtonColumn");
    w.ButtonColumn->setFixedWidth(kButtonColumnWidth);
    w.Button11 = button(w.ButtonColumn, "Button11", QStringLiteral("ﾌｧｲﾙ更新"),
                        QStringLiteral("ファイル一覧を読み直します。"));
    w.Button3 = button(w.ButtonColumn, "Button3", QStringLiteral("全選択"),
                       QStringLiteral("表示されているすべてのファイルを選択します。"));
    w.Button4 = button(w.ButtonColumn, "Button4", QStringLiteral("選択解除"),
                       QStringLiteral("ファイル一覧のすべての選択を解除します。"));
    w.Button1 = button(w.ButtonColumn, "Button1", QStringLiteral("上へ"),
                       QStringLiteral("選択したファイルの順番を上げます。"));
    w.Button2 = button(w.ButtonColumn, "Button2", QStringLiteral("下へ"),
                       QStringLiteral("選択したファイルの順番を下げます。"));
    w.Button9 = button(w.ButtonColumn, "Button9", QStringLiteral("画像表示"),
                       QStringLiteral("選択されている一番上の画像を表示します。"));
    w.Button6 = button(w.ButtonColumn, "Button6", QStringLiteral("画像回転"),
                       QStringLiteral("画像回転処理ウィンドウを開きます。"));
    auto* layout = new QVBoxLayout(w.ButtonColumn);
    layout->setContentsMargins(7, 4, 7, 4);
    layout->setSpacing(3);
    for (QPushButton* b :
         {w.Button11, w.Button3, w.Button4, w.Button1, w.Button2, w.Button9, w.Button6}) {
        b->setFixedWidth(kSideButtonWidth);
        layout->addWidget(b);
    }
    layout->addStretch();
    return w.ButtonColumn;
}

QWidget* MainWindowLayout::buildPreviewPanel(MainWindow& w) {
    w.Panel2 = new QFrame(&w);
    name(w.Panel2, "Panel2");
    w.Panel2->setFrameShape(QFrame::Panel);
    w.Panel2->setFrameShadow(QFrame::Sunken);
    w.Panel2->setToolTip(QStringLiteral("画像表示エリア"));
    w.Panel2->setMinimumSize(60, 160);
    w.Panel3 = new QLabel(QStringLiteral("Preview Window"), w.Panel2);
    name(w.Panel3, "Panel3");
    w.Panel3->setAlignment(Qt::AlignCenter);
    w.Panel3->setFrameShape(QFrame::StyledPanel);
    w.Image1 = new QLabel(w.Panel2);
    name(w.Image1, "Image1");
    w.Image1->setToolTip(QStringLiteral("画像表示エリア"));
    auto* layout = new QVBoxLayout(w.Panel2);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(w.Panel3);
    layout->addStretch();  // Image1 is placed by hand, centred in the panel
    return w.Panel2;
}

void MainWindowLayout::buildMenus(MainWindow& w) {
    QMenuBar* bar = w.menuBar();
    w.File2 = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    name(w.File2, "File2");
    w.N1 = action(w.File2, "N1", QStringLiteral("回転保存ウインドウを開く"));
    w.N3 = action(w.File2, "N3", QStringLiteral("目次作成ウインドウを開く"));
    w.BMP1 = action(w.File2, "BMP1", QStringLiteral("BMP変換ウインドウを開く"));
    w.N9 = action(w.File2, "N9", QStringLiteral("ｺﾒﾝﾄ作成ウインドウを開く"));
    w.File2->addSeparator();
    w.Exit1 = action(w.File2, "Exit1", QStringLiteral("終了(&X)"));
    w.Edit1 = bar->addMenu(QStringLiteral("設定(&T)"));
    name(w.Edit1, "Edit1");
    w.Object1 = action(w.Edit1, "Object1", QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    w.Help1 = bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    name(w.Help1, "Help1");
    w.Contents1 = action(w.Help1, "Contents1", QStringLiteral("ﾍﾙﾌﾟ&H)"));
    w.About1 = action(w.Help1, "About1", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."));
}

void MainWindowLayout::buildPopupMenus(MainWindow& w) {
    w.PopupMenu1 = new QMenu(&w);
    name(w.PopupMenu1, "PopupMenu1");
    w.N4 = action(w.PopupMenu1, "N4", QStringLiteral("画像表示"));
    w.PopupMenu1->addSeparator();
    w.maxup = action(w.PopupMenu1, "maxup", QStringLiteral("最上部に移動"));
    w.maxdown = action(w.PopupMenu1, "maxdown", QStringLiteral("最下部に移動"));
    w.PopupMenu1->addSeparator();
    w.Refresh2 = action(w.PopupMenu1, "Refresh2", QStringLiteral("最新の情報に更新"));
    w.PopupMenu2 = new QMenu(&w);
    name(w.PopupMenu2, "PopupMenu2");
    w.N6 = action(w.PopupMenu2, "N6", QStringLiteral("次のフォルダへ"));
    w.PopupMenu2->addSeparator();
    w.Refresh1 = action(w.PopupMenu2, "Refresh1", QStringLiteral("最新の情報に更新"));
    w.Dir1->setContextMenuPolicy(Qt::CustomContextMenu);
}

void MainWindowLayout::buildStatusBar(MainWindow& w) {
    w.StatusBar1 = new QStatusBar(&w);
    name(w.StatusBar1, "StatusBar1");
    // Design widths; a panel grows when the screen font needs more room for its longest text
    // (the phase "フィルター処理" and the counter " 000/ 000   ").
    const int widths[] = {233, 88, 50};
    const QString longest[] = {QString(), QStringLiteral("フィルター処理"),
                               QStringLiteral("000/000   ")};
    for (int i = 0; i < 3; ++i) {
        auto* panel = new QLabel(w.StatusBar1);
        panel->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i));
        const int needed = panel->fontMetrics().horizontalAdvance(longest[i]) + 8;
        panel->setFixedWidth(std::max(widths[i], needed));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setAlignment(i == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                   : Qt::AlignRight | Qt::AlignVCenter);
        w.StatusBar1->addWidget(panel);
        w.statusPanels[i] = panel;
    }
    w.setStatusBar(w.StatusBar1);
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

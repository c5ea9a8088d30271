#include "gui/main/folderpicker.h"

#include <QDir>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/common/folderlist.h"
#include "gui/common/volumebox.h"

namespace tessaly {

FolderPicker::FolderPicker(AppContext& context, QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      Drive2(new VolumeBox(this)),
      Dir2(new FolderList(this)),
      Button1(new QPushButton(QStringLiteral("選択"), this)),
      Button2(new QPushButton(QStringLiteral("キャンセル"), this)),
      context_(context) {
    setObjectName(QStringLiteral("TOpenfolda"));
    setWindowTitle(QStringLiteral("フォルダ選択"));
    Drive2->setObjectName(QStringLiteral("Drive2"));
    Dir2->setObjectName(QStringLiteral("Dir2"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2->setObjectName(QStringLiteral("Button2"));
    Button1->setAutoDefault(false);
    Button2->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Drive2);
    layout->addWidget(Dir2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    layout->addLayout(buttons);
    setFixedSize(300, 330);
    if (mainWindow) move(mainWindow->x() + 80, mainWindow->y() + 110);

    if (!Dir2->setDirectory(QDir::currentPath())) Dir2->setDirectory(QStringLiteral("/"));
    Drive2->setDrive(Dir2->directory());
    connect(Drive2, &VolumeBox::driveChanged, this, &FolderPicker::Drive2Change);
    connect(Dir2, &FolderList::directoryChanged, Drive2, &VolumeBox::setDrive);
    connect(Dir2, &FolderList::openFailed, this, [this](const QString& path) {
        context_.prompts.error(this, QStringLiteral("フォルダ %1 を開けません。").arg(path));
    });
    connect(Button1, &QPushButton::clicked, this, &FolderPicker::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &FolderPicker::Button2Click);
}

QString FolderPicker::choose() {
    exec();
    return chosen_;
}

void FolderPicker::Button1Click() {
    chosen_ = Dir2->directory();
    accept();
}

void FolderPicker::Button2Click() {
    chosen_.clear();
    reject();
}

void FolderPicker::Drive2Change(const QString& root) {
    if (Dir2->setDirectory(root)) return;
    context_.prompts.error(this, QStringLiteral("ドライブ %1 を読めません。").arg(root));
    Drive2->setDrive(Dir2->directory());
}

}  // namespace tessaly

#include "gui/main/folderpicker.h"

#include <QDir>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/common/focusframe.h"
#include "gui/common/folderlist.h"
#include "gui/common/volumebox.h"

namespace tessaly {

FolderPicker::FolderPicker(AppContext& context, QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      volumeBox(new VolumeBox(this)),
      folderList(new FolderList(this)),
      selectButton(new QPushButton(QStringLiteral("選択"), this)),
      cancelButton(new QPushButton(QStringLiteral("キャンセル"), this)),
      context_(context) {
    setObjectName(QStringLiteral("TOpenfolda"));
    setWindowTitle(QStringLiteral("フォルダ選択"));
    volumeBox->setObjectName(QStringLiteral("Drive2"));
    folderList->setObjectName(QStringLiteral("Dir2"));
    folderList->setAccessibleDescription(
        QStringLiteral("フォルダを開くには、ダブルクリックするか Enter キーを押します。"));
    showFocusClearly(*folderList);
    selectButton->setObjectName(QStringLiteral("Button1"));
    cancelButton->setObjectName(QStringLiteral("Button2"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(volumeBox);
    layout->addWidget(folderList, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(selectButton);
    buttons->addWidget(cancelButton);
    layout->addLayout(buttons);
    setFixedSize(300, 330);
    if (mainWindow) move(mainWindow->x() + 80, mainWindow->y() + 110);

    if (!folderList->setDirectory(QDir::currentPath()))
        folderList->setDirectory(QStringLiteral("/"));
    volumeBox->setDrive(folderList->directory());
    connect(volumeBox, &VolumeBox::driveChanged, this, &FolderPicker::volumeChanged);
    connect(folderList, &FolderList::directoryChanged, volumeBox, &VolumeBox::setDrive);
    connect(folderList, &FolderList::openFailed, this, [this](const QString& path) {
        context_.prompts.error(this, QStringLiteral("フォルダ %1 を開けません。").arg(path));
    });
    connect(selectButton, &QPushButton::clicked, this, &FolderPicker::selectFolder);
    connect(cancelButton, &QPushButton::clicked, this, &FolderPicker::cancelChoice);
}

QString FolderPicker::choose() {
    exec();
    return chosen_;
}

void FolderPicker::selectFolder() {
    chosen_ = folderList->directory();
    accept();
}

void FolderPicker::cancelChoice() {
    chosen_.clear();
    reject();
}

void FolderPicker::volumeChanged(const QString& root) {
    if (folderList->setDirectory(root)) return;
    context_.prompts.error(this, QStringLiteral("ドライブ %1 を読めません。").arg(root));
    volumeBox->setDrive(folderList->directory());
}

}  // namespace tessaly

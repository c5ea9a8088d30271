#include "gui/main/aboutbox.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/main/programicon.h"

namespace tessaly {

AboutBox::AboutBox(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("TAbout"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    infoPanel = new QWidget(this);
    infoPanel->setObjectName(QStringLiteral("Panel1"));
    infoPanel->setAutoFillBackground(true);
    QPalette white = infoPanel->palette();
    white.setColor(QPalette::Window, Qt::white);
    infoPanel->setPalette(white);

    iconLabel = new QLabel(infoPanel);
    iconLabel->setObjectName(QStringLiteral("Image1"));
    iconLabel->setFixedSize(49, 49);
    iconLabel->setScaledContents(true);
    iconLabel->setPixmap(ProgramIcon::pixmap(64));

    versionLabel = new QLabel(QStringLiteral("Tessaly Ver1.60 "), infoPanel);
    versionLabel->setObjectName(QStringLiteral("Label1"));
    QFont face = versionLabel->font();
    face.setPointSize(20);
    face.setBold(true);
    face.setItalic(true);
    face.setUnderline(true);
    versionLabel->setFont(face);
    versionLabel->setStyleSheet(QStringLiteral("color: #00FFFF;"));

    auto* panelLayout = new QVBoxLayout(infoPanel);
    panelLayout->addWidget(iconLabel, 0, Qt::AlignHCenter);
    panelLayout->addWidget(versionLabel, 0, Qt::AlignHCenter);

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("Button1"));
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(infoPanel);
    layout->addWidget(okButton, 0, Qt::AlignHCenter);
    setFixedSize(sizeHint().expandedTo(QSize(280, 170)));
    if (mainWindow) move(mainWindow->x() + 130, mainWindow->y() + 130);
}

}  // namespace tessaly

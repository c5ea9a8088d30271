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
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    QPalette white = Panel1->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(white);

    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(49, 49);
    Image1->setScaledContents(true);
    Image1->setPixmap(ProgramIcon::pixmap(64));

    Label1 = new QLabel(QStringLiteral("Tessaly Ver1.60 "), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont face = Label1->font();
    face.setPointSize(20);
    face.setBold(true);
    face.setItalic(true);
    face.setUnderline(true);
    Label1->setFont(face);
    Label1->setStyleSheet(QStringLiteral("color: #00FFFF;"));

    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->addWidget(Image1, 0, Qt::AlignHCenter);
    panelLayout->addWidget(Label1, 0, Qt::AlignHCenter);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    layout->addWidget(Button1, 0, Qt::AlignHCenter);
    setFixedSize(sizeHint().expandedTo(QSize(280, 170)));
    if (mainWindow) move(mainWindow->x() + 130, mainWindow->y() + 130);
}

}  // namespace tessaly

#include "gui/main/helpviewer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "core/text/formatting.h"

// The installed data folder as seen from the installed program folder (set by the build).
#ifndef TESSALY_DATA_FROM_BIN
#define TESSALY_DATA_FROM_BIN "../share/tessaly"
#endif

namespace tessaly {

QString HelpViewer::helpFileFor(const QString& programFolder) {
    const QString beside = folderPath(programFolder) + QStringLiteral("Quorvel.hlp");
    const QString installed = QDir::cleanPath(folderPath(programFolder) +
                                              QStringLiteral(TESSALY_DATA_FROM_BIN "/Quorvel.hlp"));
    return !QFileInfo::exists(beside) && QFileInfo::exists(installed) ? installed : beside;
}

HelpViewer::HelpViewer(QWidget* parent)
    : QDialog(parent, Qt::Window), helpText(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Tessaly ヘルプ"));
    helpText->setObjectName(QStringLiteral("HelpText"));
    helpText->setAccessibleName(QStringLiteral("ヘルプの本文"));
    helpText->setOpenExternalLinks(true);
    auto* contents = new QPushButton(QStringLiteral("目次"), this);
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    connect(contents, &QPushButton::clicked, this,
            [this] { helpText->scrollToAnchor("contents"); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(helpText, 1);
    layout->addLayout(buttons);
    resize(560, 480);
}

bool HelpViewer::showContents(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QString text = QString::fromUtf8(file.readAll());
    file_ = path;
    helpText->setSearchPaths({QFileInfo(path).absolutePath()});
    helpText->setHtml(text);
    helpText->moveCursor(QTextCursor::Start);
    helpText->scrollToAnchor(QStringLiteral("contents"));
    show();
    raise();
    activateWindow();
    return true;
}

}  // namespace tessaly

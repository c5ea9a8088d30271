#include "gui/common/qtprompts.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace tessaly {
namespace {

const QString kTitle = QStringLiteral("Tessaly");

}  // namespace

int windowsColor(int red, int green, int blue) {
    return (blue & 0xFF) << 16 | (green & 0xFF) << 8 | (red & 0xFF);
}

void QtPrompts::information(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, kTitle, text);
}

void QtPrompts::error(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, kTitle, text);
}

bool QtPrompts::question(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, kTitle, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

Prompts::Answer QtPrompts::questionWithCancel(QWidget* parent, const QString& text) {
    switch (QMessageBox::question(parent, kTitle, text,
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                  QMessageBox::Yes)) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}

bool QtPrompts::warningYesNo(QWidget* parent, const QString& caption, const QString& text) {
    return QMessageBox::warning(parent, caption, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

QString QtPrompts::openFileName(QWidget* parent, const QString& title, const QString& folder,
                                const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, folder, filter);
}

std::optional<int> QtPrompts::chooseColor(QWidget* parent, int colour) {
    const QColor initial(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid()) return std::nullopt;
    return windowsColor(chosen.red(), chosen.green(), chosen.blue());
}

}  // namespace tessaly

#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tessaly {

// The About box "バージョン情報": program icon and "Tessaly Ver1.60 " on a white panel, OK.
//     about->exec();
class AboutBox : public QDialog {
    Q_OBJECT
public:
    // Placed once at the main window's left + 130, top + 130.
    explicit AboutBox(QWidget* mainWindow);

private:
    // Controls; each carries its legacy form name as objectName.
    QWidget* infoPanel = nullptr;
    QLabel* iconLabel = nullptr;
    QLabel* versionLabel = nullptr;
    QPushButton* okButton = nullptr;
};

}  // namespace tessaly

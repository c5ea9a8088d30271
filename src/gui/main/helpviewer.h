#pragma once

#include <QDialog>

class QTextBrowser;

namespace tessaly {

// The program's help viewer: shows the help file (HTML text in UTF-8) from its contents page.
class HelpViewer : public QDialog {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget* parent = nullptr);

    // The help file of a program in programFolder: Quorvel.hlp beside it when there is one
    // (portable copies, the build folder), else the installed one in the data folder that
    // the installation puts beside the program folder (share/tessaly for bin/).
    static QString helpFileFor(const QString& programFolder);

    // Loads the file and shows its contents page (the top). False when it cannot be read.
    bool showContents(const QString& path);
    QString loadedFile() const { return file_; }

private:
    QTextBrowser* helpText = nullptr;  // objectName "HelpText"
    QString file_;
};

}  // namespace tessaly

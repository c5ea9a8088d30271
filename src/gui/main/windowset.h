#pragma once

#include <QObject>
#include <memory>

#include "gui/main/mainwindow.h"

namespace tessaly {

class HelpViewer;
class AboutBox;
class FolderPicker;
class BmpConverterWindow;
class OptionsDialog;
class CommentEditor;
class ContentsWindow;
class RotationWindow;

// The main window's secondary windows, created once at start-up right after the main window
// (in the order folder picker, options, About, rotation, contents, BMP converter, comment
// editor), each placed relative to the main window; the main window's requests open them. A
// menu item or button whose window is not part of this build stays disabled.
class WindowSet : public QObject {
    Q_OBJECT
public:
    explicit WindowSet(MainWindow& main);
    ~WindowSet() override;

    FolderPicker* folderPicker() const { return picker_; }
    AboutBox* about() const { return about_; }
    OptionsDialog* options() const { return options_; }
    RotationWindow* rotation() const { return rotation_; }
    ContentsWindow* contents() const { return contents_; }
    BmpConverterWindow* converter() const { return converter_; }
    CommentEditor* comments() const { return comments_; }

    // Opens a window as its menu item does.
    void open(SecondaryWindow window);

    void openOptions();
    void openAbout();
    void openRotation();
    void openContents();
    void openBmpConverter();
    void openComments();
    // The help file's contents page in the program's help viewer.
    void openHelp();

private:
    void createWindows();
    bool isPresent(SecondaryWindow window) const;
    void place(QWidget* window, int left, int top) const;

    MainWindow& main_;
    FolderPicker* picker_ = nullptr;
    OptionsDialog* options_ = nullptr;
    AboutBox* about_ = nullptr;
    RotationWindow* rotation_ = nullptr;
    ContentsWindow* contents_ = nullptr;
    BmpConverterWindow* converter_ = nullptr;
    CommentEditor* comments_ = nullptr;
    HelpViewer* help_ = nullptr;
};

}  // namespace tessaly

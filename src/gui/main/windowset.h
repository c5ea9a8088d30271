#pragma once

#include <QObject>
#include <memory>

namespace tessaly {

class HelpViewer;
class TAbout;
class TMain;
class TOpenfolda;
class TBMPtoJPEG;
class TOption;
class Tcomment;
class Tmokuji;
class Toption2;

// The main window's secondary windows, created once at start-up right after the main window
// (in the order folder picker, options, About, rotation, contents, BMP converter, comment
// editor), each placed relative to the main window, and the menu items and buttons that open
// them. A menu item or button whose window is not part of this build stays disabled.
class WindowSet : public QObject {
    Q_OBJECT
public:
    explicit WindowSet(TMain& main);
    ~WindowSet() override;

    TOpenfolda* folderPicker() const { return picker_; }
    TAbout* about() const { return about_; }
    TOption* options() const { return options_; }
    Toption2* rotation() const { return rotation_; }
    Tmokuji* contents() const { return contents_; }
    TBMPtoJPEG* converter() const { return converter_; }
    Tcomment* comments() const { return comments_; }

    // Enables the menu items and buttons of the windows present, disables the others.
    void updateActions();

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
    void connectActions();
    void place(QWidget* window, int left, int top) const;

    TMain& main_;
    TOpenfolda* picker_ = nullptr;
    TOption* options_ = nullptr;
    TAbout* about_ = nullptr;
    Toption2* rotation_ = nullptr;
    Tmokuji* contents_ = nullptr;
    TBMPtoJPEG* converter_ = nullptr;
    Tcomment* comments_ = nullptr;
    HelpViewer* help_ = nullptr;
};

}  // namespace tessaly

#pragma once

#include "gui/main/mainwindowcontrols.h"

class QMainWindow;
class QObject;
class QString;

namespace tessaly {

// Builds the main window's controls, menus and status bar with their names, captions, hints
// and accessible names, lays them out and sets the keyboard order that follows the work:
// drive, folder list, image list and its buttons, title, images per row, comments, Execute.
class MainWindowLayout {
public:
    static MainWindowControls build(QMainWindow& window);

private:
    static QWidget* buildTopPanel(MainWindowControls& c, QWidget* parent);
    static QWidget* buildTitleArea(MainWindowControls& c, QWidget* parent);
    static QWidget* buildBody(MainWindowControls& c, QWidget* parent);
    static QWidget* buildButtonColumn(MainWindowControls& c, QWidget* parent);
    static QWidget* buildPreviewPanel(MainWindowControls& c, QWidget* parent);
    static void buildMenus(MainWindowControls& c, QMainWindow& window);
    static void buildPopupMenus(MainWindowControls& c, QMainWindow& window);
    static void buildStatusBar(MainWindowControls& c, QMainWindow& window);
    static void setTabOrder(const MainWindowControls& c);
    static QPushButton* button(QWidget* parent, const char* name, const QString& caption,
                               const QString& hint);
    static QAction* action(QMenu* menu, const char* name, const QString& caption);
    static void name(QObject* object, const char* objectName);
};

}  // namespace tessaly

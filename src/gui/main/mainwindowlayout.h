#pragma once

class QAction;
class QMenu;
class QObject;
class QPushButton;
class QString;
class QWidget;

namespace tessaly {

class TMain;

// Builds the main window's controls, menus and status bar with their names, captions and
// hints, and lays them out at the window's design size.
class MainWindowLayout {
public:
    static void build(TMain& window);

private:
    static QWidget* buildTopPanel(TMain& window);
    static QWidget* buildTitleArea(TMain& window, QWidget* parent);
    static QWidget* buildBody(TMain& window);
    static QWidget* buildButtonColumn(TMain& window);
    static QWidget* buildPreviewPanel(TMain& window);
    static void buildMenus(TMain& window);
    static void buildPopupMenus(TMain& window);
    static void buildStatusBar(TMain& window);
    static QPushButton* button(QWidget* parent, const char* name, const QString& caption,
                               const QString& hint);
    static QAction* action(QMenu* menu, const char* name, const QString& caption);
    static void name(QObject* object, const char* objectName);
};

}  // namespace tessaly

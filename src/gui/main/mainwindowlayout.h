#pragma once

class QAction;
class QMenu;
class QObject;
class QPushButton;
class QString;
class QVBoxLayout;
class QWidget;

namespace tessaly {

class MainWindow;

// Builds the main window's controls, menus and status bar with their names, captions and
// hints, and lays them out at the window's design size.
class MainWindowLayout {
public:
    static void build(MainWindow& window);

private:
    static QWidget* buildTopPanel(MainWindow& window);
    static QWidget* buildTitleArea(MainWindow& window, QWidget* parent);
    static QWidget* buildBody(MainWindow& window);
    static QWidget* buildButtonColumn(MainWindow& window);
    static void addSortByDateButton(MainWindow& window, QVBoxLayout* layout);
    static QWidget* buildPreviewPanel(MainWindow& window);
    static void buildMenus(MainWindow& window);
    static void buildPopupMenus(MainWindow& window);
    static void buildStatusBar(MainWindow& window);
    static QPushButton* button(QWidget* parent, const char* name, const QString& caption,
                               const QString& hint);
    static QAction* action(QMenu* menu, const char* name, const QString& caption);
    static void name(QObject* object, const char* objectName);
};

}  // namespace tessaly

#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QThread>
#include <functional>
#include <memory>

#include "gui/main/imagelistorder.h"
#include "gui/main/mainwindow.h"
#include "gui/support/findchild.h"
#include "gui/support/scriptedprompts.h"
#include "support/tempdir.h"

namespace tessaly::test {

// A main window on a temporary program folder, with scripted prompts and a recording shell.
class MainFixture : public ::testing::Test {
protected:
    void SetUp() override { makeWindow(); }

    void makeWindow() {
        window.reset();
        window = std::make_unique<MainWindow>(app.path(), prompts, shell);
    }

    // Lets the window's events run until the condition holds; false when it never does (a
    // guard of a minute keeps a broken run from hanging the suite).
    static bool waitUntil(const std::function<bool()>& condition) {
        const QDeadlineTimer guard(60000);
        while (!condition()) {
            if (guard.hasExpired()) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(2);
        }
        return true;
    }

    // Execute, and wait until the run is over and the window idle again.
    void runCatalogue() {
        window->execute();
        ASSERT_TRUE(waitUntil([this] { return !window->runActive(); }));
    }

    // A folder under the temporary folder (created with its parents).
    QString folder(const QString& relative) const {
        const QString path = QDir::cleanPath(data.path() + "/" + relative);
        QDir().mkpath(path);
        return path;
    }

    // The window's controls, found by their objectNames.
    template <typename T>
    T* control(const char* name) const {
        return child<T>(*window, name);
    }
    QListWidget* imageList() const { return control<QListWidget>("OldFile"); }
    QLineEdit* titleEdit() const { return control<QLineEdit>("HPtytlebox"); }
    QSpinBox* perRowBox() const { return control<QSpinBox>("UpDown1"); }
    QPushButton* executeButton() const { return control<QPushButton>("Button7"); }
    QPushButton* cancelButton() const { return control<QPushButton>("Button8"); }
    QFrame* previewPanel() const { return control<QFrame>("Panel2"); }
    QLabel* previewImage() const { return control<QLabel>("Image1"); }
    QLabel* statusPanel(int panel) const {
        return control<QLabel>(("StatusBar1Panel" + QByteArray::number(panel)).constData());
    }

    QStringList listed() const {
        const QListWidget* list = imageList();
        QStringList names;
        for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
        return names;
    }

    QString selection() const {
        QString marks;
        for (bool selected : ImageListOrder::selectionFlags(*imageList()))
            marks += selected ? '*' : '.';
        return marks;
    }

    // Fills the list with the given names and selects those marked '*' in marks.
    void setList(const QStringList& names, const QString& marks) {
        QListWidget* list = imageList();
        list->clear();
        list->addItems(names);
        QItemSelection chosen;
        for (int i = 0; i < names.size(); ++i) {
            const QModelIndex index = list->model()->index(i, 0);
            if (marks.at(i) == '*') chosen.select(index, index);
        }
        list->selectionModel()->select(chosen, QItemSelectionModel::ClearAndSelect);
    }

    TempDir app;
    TempDir data;
    ScriptedPrompts prompts;
    RecordingShell shell;
    std::unique_ptr<MainWindow> window;
};

}  // namespace tessaly::test

#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QItemSelectionModel>
#include <QListWidget>
#include <memory>

#include "gui/main/imagelistorder.h"
#include "gui/main/mainwindow.h"
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

    // A folder under the temporary folder (created with its parents).
    QString folder(const QString& relative) const {
        const QString path = QDir::cleanPath(data.path() + "/" + relative);
        QDir().mkpath(path);
        return path;
    }

    QStringList listed() const {
        QStringList names;
        for (int i = 0; i < window->imageList->count(); ++i)
            names << window->imageList->item(i)->text();
        return names;
    }

    QString selection() const {
        QString marks;
        for (bool selected : ImageListOrder::selectionFlags(*window->imageList))
            marks += selected ? '*' : '.';
        return marks;
    }

    // Fills the list with the given names and selects those marked '*' in marks.
    void setList(const QStringList& names, const QString& marks) {
        window->imageList->clear();
        window->imageList->addItems(names);
        QItemSelection chosen;
        for (int i = 0; i < names.size(); ++i) {
            const QModelIndex index = window->imageList->model()->index(i, 0);
            if (marks.at(i) == '*') chosen.select(index, index);
        }
        window->imageList->selectionModel()->select(chosen, QItemSelectionModel::ClearAndSelect);
    }

    TempDir app;
    TempDir data;
    ScriptedPrompts prompts;
    RecordingShell shell;
    std::unique_ptr<MainWindow> window;
};

}  // namespace tessaly::test

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "core/catalog/catalogrun.h"
#include "core/settings/catalogsettings.h"
#include "gui/comments/tcomment.h"
#include "gui/support/scriptedprompts.h"
#include "support/tempdir.h"
#include "support/testimages.h"

using namespace tessaly;

namespace {

// A front end that answers No to every question and records what it was told.
class QuietHost : public CatalogRunHost {
public:
    QStringList told;
    void setInputsEnabled(bool) override {}
    void setStatus(int, const QString&) override {}
    void deselect(int) override {}
    void hidePreview() override {}
    void clearPreview() override {}
    void showPreview(const TNkDIB&) override {}
    void processEvents() override {}
    bool commentsOn() override { return true; }
    void information(const QString& text) override { told << text; }
    bool question(const QString& text) override {
        told << text;
        return false;
    }
    void showError(const QString& text) override { told << text; }
    void openCommentEditor() override { told << QStringLiteral("editor"); }
    void restoreWindow() override {}
};

TEST(CommentEditorAndCatalogue, CommentTypedInTheEditorAppearsInTheCataloguePage) {
    test::TempDir dir;
    test::writeTestJpeg(dir.file(QStringLiteral("a.jpg")), 64, 48);
    test::writeTestJpeg(dir.file(QStringLiteral("b.jpg")), 48, 64);

    CatalogSettings settings;
    test::ScriptedPrompts prompts;
    test::RecordingShell shell;
    AppContext context{settings, prompts, shell};
    Tcomment editor(context, nullptr);
    ASSERT_TRUE(editor.loadFolder(dir.path()));
    editor.findChild<QListWidget*>(QStringLiteral("File1"))->setCurrentRow(1);
    editor.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("桜の木"));
    editor.findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText(QStringLiteral("二〇二六年 春"));
    editor.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    editor.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    ASSERT_EQ(prompts.log.last(), QStringLiteral("information: コメントファイルを保存しました。"));

    QuietHost host;
    CatalogRun run(settings, host, shell);
    CatalogRunInput input;
    input.folder = dir.path();
    input.names = editor.fileNames();
    input.selected = {true, true};
    input.title = QStringLiteral("t");
    ASSERT_EQ(run.execute(input), CatalogRunOutcome::Completed)
        << host.told.join('|').toStdString();
    const QString page = test::sjisLines(dir.read(QStringLiteral("index.htm"))).join('\n');
    EXPECT_TRUE(page.contains(QStringLiteral("桜の木"))) << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("二〇二六年 春")));
}

}  // namespace

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "core/catalog/catalogrun.h"
#include "core/settings/catalogsettings.h"
#include "gui/comments/commenteditor.h"
#include "gui/support/scriptedprompts.h"
#include "support/recordingrunhost.h"
#include "support/tempdir.h"
#include "support/testimages.h"

using namespace tessaly;

namespace {

TEST(CommentEditorAndCatalogue, CommentTypedInTheEditorAppearsInTheCataloguePage) {
    test::TempDir dir;
    test::writeTestJpeg(dir.file(QStringLiteral("a.jpg")), 64, 48);
    test::writeTestJpeg(dir.file(QStringLiteral("b.jpg")), 48, 64);

    CatalogSettings settings;
    test::ScriptedPrompts prompts;
    test::RecordingShell shell;
    AppContext context{settings, prompts, shell};
    CommentEditor editor(context, nullptr);
    ASSERT_TRUE(editor.loadFolder(dir.path()));
    editor.findChild<QListWidget*>(QStringLiteral("File1"))->setCurrentRow(1);
    editor.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("桜の木"));
    editor.findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText(QStringLiteral("二〇二六年 春"));
    editor.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    editor.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    ASSERT_EQ(prompts.log.last(), QStringLiteral("information: コメントファイルを保存しました。"));

    test::RecordingRunHost host;
    host.comments = true;
    CatalogRun run(settings, host, shell);
    CatalogRunInput input;
    input.folder = dir.path();
    input.names = editor.fileNames();
    input.selected = {true, true};
    input.title = QStringLiteral("t");
    ASSERT_EQ(run.execute(input), CatalogRunOutcome::Completed)
        << (host.told + host.errors).join('|').toStdString();
    const QString page = test::sjisLines(dir.read(QStringLiteral("index.htm"))).join('\n');
    EXPECT_TRUE(page.contains(QStringLiteral("桜の木"))) << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("二〇二六年 春")));
}

}  // namespace

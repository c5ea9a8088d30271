#include "gui/common/desktopshell.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "gui/support/scriptedprompts.h"
#include "support/tempdir.h"

namespace tessaly {
namespace {

// A browser that cannot be started is reported with its command and the reason, never
// passed over in silence.
TEST(DesktopShell, ProgramThatCannotStartIsReportedWithCommandAndReason) {
    test::TempDir dir;
    dir.write(QStringLiteral("plain.txt"), "not a program");
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    const struct {
        QString program;
        const char* reason;
    } rows[] = {
        {dir.file(QStringLiteral("missing")), "プログラムが見つかりません。"},
        {QStringLiteral("tessaly-no-such-browser"), "プログラムが見つかりません。"},
        {dir.file(QStringLiteral("folder")), "プログラムではなくフォルダです。"},
        {dir.file(QStringLiteral("plain.txt")), "実行する権限がありません。"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.program.toStdString());
        test::ScriptedPrompts prompts;
        DesktopShell shell(prompts);
        shell.startProgram(row.program, QStringLiteral("/photos/index.htm"), dir.path());
        ASSERT_EQ(prompts.log.size(), 1);
        EXPECT_EQ(prompts.log[0], QStringLiteral("error: プログラムを起動できませんでした。\n"
                                                 "コマンド: ") +
                                      row.program + QStringLiteral(" /photos/index.htm\n理由: ") +
                                      QString::fromUtf8(row.reason));
    }
}

}  // namespace
}  // namespace tessaly

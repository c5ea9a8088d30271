// A catalogue page and a contents page are both written under the page name of the settings:
// a run of one tool over the other's page asks first in a window (No leaves it byte for byte)
// and says what it replaces in tessaly-batch.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>

#include "core/pages/pagekind.h"
#include "gui/main/mainfixture.h"
#include "gui/toc/contentswindow.h"
#include "support/batchprocess.h"
#include "support/testimages.h"

namespace tessaly::test {
namespace {

enum class FrontEnd { WindowYes, WindowNo, Batch };

class PageReplacement : public MainFixture {
protected:
    // A folder with a photograph of its own and a sub-folder holding a catalogue.
    void SetUp() override {
        MainFixture::SetUp();
        root = folder("album");
        writeTestJpeg(root + "/a.jpg", 90, 60);
        writeTestJpeg(folder("album/sub") + "/b.jpg", 90, 60);
        window->settings().noBrowserLaunch = "on";
        ASSERT_EQ(batch({"-q", folder("album/sub")}).status, 0);
    }
    BatchOutcome batch(QStringList args) {
        args << "-s" << app.path();
        return runBatch(args);
    }
    BatchOutcome runCatalogue(FrontEnd by) {
        if (by == FrontEnd::Batch) return batch({"-q", root});
        window->openFolder(root);
        titleEdit()->setText("アルバム");
        executeButton()->click();
        EXPECT_TRUE(waitUntil([this] { return !window->runActive(); }));
        status = statusPanel(0)->text();
        return {};
    }
    BatchOutcome runContents(FrontEnd by) {
        if (by == FrontEnd::Batch) return batch({"--toc", "-t", "目次", root});
        ContentsWindow contents(window->context(), window.get());
        contents.setFolder(root);
        child<QLineEdit>(contents, "HPtytlebox")->setText("目次");
        child<QPushButton>(contents, "Button1")->click();
        EXPECT_TRUE(waitUntil([&contents] { return !contents.isRunning(); }));
        status = child<QLabel>(contents, "Label2")->text();
        return {};
    }

    QString root;
    QString status;  // what the window's status line said after the run
};

TEST_F(PageReplacement, TheOtherToolsPageIsReplacedOnlyWhenAgreedOrAnnounced) {
    const QString page = "/album/index.htm";
    const struct {
        bool catalogueRun;  // a catalogue run over a contents page, else the other way
        FrontEnd by;
    } rows[] = {
        {true, FrontEnd::WindowYes},  {true, FrontEnd::WindowNo},  {true, FrontEnd::Batch},
        {false, FrontEnd::WindowYes}, {false, FrontEnd::WindowNo}, {false, FrontEnd::Batch},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.catalogueRun) + " " + std::to_string(int(row.by)));
        const PageKind before = row.catalogueRun ? PageKind::Contents : PageKind::Catalogue;
        const PageKind made = row.catalogueRun ? PageKind::Catalogue : PageKind::Contents;
        ASSERT_EQ(row.catalogueRun ? batch({"--toc", "-t", "目次", root}).status
                                   : batch({"-q", root}).status,
                  0);
        ASSERT_EQ(pageKindOf(root + "/index.htm"), before);
        const QByteArray old = readFile(root + "/index.htm");
        prompts.log.clear();
        prompts.answers = {row.by == FrontEnd::WindowYes};
        const BatchOutcome outcome = row.catalogueRun ? runCatalogue(row.by) : runContents(row.by);
        const QString told = row.by == FrontEnd::Batch ? outcome.errors : prompts.log.join('\n');
        const QString what = before == PageKind::Contents ? "目次作成で作った目次ページ"
                                                          : "実行で作ったカタログのページ";
        EXPECT_TRUE(told.contains(data.path() + page + " は" + what)) << told.toStdString();
        EXPECT_TRUE(told.contains(row.by == FrontEnd::Batch ? "置き換えます。" : "index.htm を"))
            << told.toStdString();
        if (row.by == FrontEnd::WindowNo) {
            EXPECT_EQ(readFile(root + "/index.htm"), old);
            EXPECT_EQ(status, row.catalogueRun ? "目次ページを残すため中止しました"
                                               : "目次は作りませんでした。");
        } else {
            EXPECT_EQ(pageKindOf(root + "/index.htm"), made);
        }
    }
}

}  // namespace
}  // namespace tessaly::test

// Every page laid out readably (gui/support/readability.h), and the dialog fits a screen of
// 1024 x 768 with room for its frame: the tab row scrolls rather than widen it. Set
// TESSALY_SCREENSHOT_DIR to also save a picture of every page (run under xvfb-run with
// QT_QPA_PLATFORM=xcb to see real fonts).
#include <QApplication>
#include <QTabBar>
#include <QTabWidget>

#include "gui/support/readability.h"
#include "optionsfixture.h"

namespace tessaly::test {
namespace {

TEST_F(OptionsTest, EveryPageIsReadable) {
    settings = unusualSettings(dir.path());
    dialog().show();
    auto* pages = control<QTabWidget>("PageControl1");
    const QString shots = qEnvironmentVariable("TESSALY_SCREENSHOT_DIR");
    for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        QApplication::processEvents();
        SCOPED_TRACE(pages->tabText(i).toStdString());
        expectReadable(pages->widget(i));
        if (!shots.isEmpty()) {
            dialog().grab().save(shots + QStringLiteral("/options-%1.png").arg(i + 1));
        }
    }
    EXPECT_TRUE(pages->usesScrollButtons());
    EXPECT_LE(dialog().width(), 1024 - 24);
    EXPECT_LE(dialog().height(), 768 - 60);
    dialog().hide();
}

}  // namespace
}  // namespace tessaly::test

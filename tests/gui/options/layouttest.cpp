// Every page laid out readably (gui/support/readability.h), and the dialog fits a screen of
// 1024 x 768 with room for its frame, its pages listed beside them rather than in a tab row. Set
// TESSALY_SCREENSHOT_DIR to also save a picture of every page (run under xvfb-run with
// QT_QPA_PLATFORM=xcb to see real fonts).
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "core/settings/catalogsettings.h"
#include "gui/support/accessibility.h"
#include "gui/support/readability.h"
#include "optionsfixture.h"

namespace tessaly::test {
namespace {

// Every control a user can reach is read out by a screen reader; each mnemonic letter of a
// page leads to one control; captions are Japanese but for names of formats and programs.
void expectNamedAndReachable(QWidget* page) {
    for (QWidget* widget : page->findChildren<QWidget*>()) {
        if (widget->focusPolicy() == Qt::NoFocus || widget->focusProxy()) continue;
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(widget);
        ASSERT_TRUE(reader) << widget->objectName().toStdString();
        EXPECT_FALSE(reader->text(QAccessible::Name).isEmpty())
            << widget->metaObject()->className() << " " << widget->objectName().toStdString();
    }
    static const QRegularExpression english(QStringLiteral("[A-Za-z]{2,}"));
    static const QStringList allowed = {"HTML",   "JavaScript", "Tessaly", "URL", "WWW",
                                        "mailto", "backup",     "jpg",     "gif"};
    QStringList letters;
    for (QLabel* label : page->findChildren<QLabel*>()) {
        for (const auto& word : english.globalMatch(label->text())) {
            EXPECT_TRUE(allowed.contains(word.captured())) << label->text().toStdString();
        }
        const int amp = label->text().indexOf(QLatin1Char('&'));
        if (amp < 0) continue;
        EXPECT_TRUE(label->buddy()) << label->text().toStdString();
        letters << label->text().mid(amp + 1, 1);
    }
    for (QAbstractButton* button : page->findChildren<QAbstractButton*>()) {
        const int amp = button->text().indexOf(QLatin1Char('&'));
        if (amp >= 0) letters << button->text().mid(amp + 1, 1);
    }
    EXPECT_EQ(letters.removeDuplicates(), 0) << letters.join(' ').toStdString();
}

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
        expectNamedAndReachable(pages->widget(i));
        if (!shots.isEmpty()) {
            dialog().grab().save(shots + QStringLiteral("/options-%1.png").arg(i + 1));
        }
    }
    // Every page is chosen from a list that shows all of their names, nothing scrolled away.
    EXPECT_FALSE(pages->tabBar()->isVisible());
    auto* list = control<QListWidget>("PageList");
    ASSERT_EQ(list->count(), pages->count());
    for (int i = 0; i < list->count(); ++i) {
        EXPECT_TRUE(list->viewport()->rect().contains(list->visualItemRect(list->item(i))))
            << list->item(i)->text().toStdString();
        EXPECT_EQ(list->item(i)->text(), pages->tabText(i));
    }
    list->setCurrentRow(7);
    EXPECT_EQ(pages->currentIndex(), 7);
    EXPECT_LE(dialog().width(), 1024 - 24);
    EXPECT_LE(dialog().height(), 768 - 60);
    dialog().hide();
}

// What has the keyboard focus after one Tab from where it is.
QWidget* tabOnce() {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    return QApplication::focusWidget();
}

// On every page Tab leads from the list of pages through the page's controls to 登録 and
// ｷｬﾝｾﾙ and round to the list again, never to a hidden widget; every box has its Alt letter.
TEST_F(OptionsTest, TabLeadsFromThePageListThroughThePageToTheButtons) {
    dialog().show();
    QApplication::setActiveWindow(&dialog());
    auto* pages = control<QTabWidget>("PageControl1");
    auto* list = control<QListWidget>("PageList");
    const QList<QWidget*> buttons = {control<QWidget>("optOK"), control<QWidget>("optCansel")};
    for (int i = 0; i < pages->count(); ++i) {
        SCOPED_TRACE(pages->tabText(i).toStdString());
        list->setCurrentRow(i);
        list->setFocus();
        QApplication::processEvents();
        QList<QWidget*> visited;
        for (QWidget* focused = tabOnce(); focused && focused != list && visited.size() < 80;
             focused = tabOnce()) {
            EXPECT_TRUE(focused->isVisible())
                << focused->metaObject()->className() << " " << focused->objectName().toStdString();
            visited << focused;
        }
        EXPECT_EQ(QApplication::focusWidget(), list);
        QList<QWidget*> expected;
        for (QWidget* control : focusableControls(pages->widget(i))) {
            if (control->isEnabled()) expected << control;
        }
        expected << buttons;
        for (QWidget* control : expected) {
            QWidget* taker = control->focusProxy() ? control->focusProxy() : control;
            EXPECT_TRUE(visited.contains(taker)) << control->objectName().toStdString();
        }
        EXPECT_EQ(visited.mid(visited.size() - 2), buttons);
    }
    for (QCheckBox* box : dialog().findChildren<QCheckBox*>())
        EXPECT_TRUE(box->text().contains(QLatin1Char('&'))) << box->text().toStdString();
}

// Enter presses the focused button; in a field it presses 登録, which stores the options.
TEST_F(OptionsTest, EnterPressesTheFocusedButtonOrRegisters) {
    dialog().show();
    QApplication::setActiveWindow(&dialog());
    auto* cancel = control<QPushButton>("optCansel");
    cancel->setFocus();
    QTest::keyClick(cancel, Qt::Key_Return);
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_FALSE(QFileInfo::exists(settingsFilePath(dir.path())));
    dialog().show();
    QApplication::setActiveWindow(&dialog());
    QWidget* field = control<QWidget>("Edit1");  // the start folder, on the first page
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Enter);
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_TRUE(QFileInfo::exists(settingsFilePath(dir.path())));
}

}  // namespace
}  // namespace tessaly::test

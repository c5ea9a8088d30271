// The secondary windows as a keyboard and screen-reader user meets them.
#include "gui/support/accessibility.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <functional>
#include <memory>

#include "core/settings/catalogsettings.h"
#include "gui/comments/commenteditor.h"
#include "gui/imaging/bmpconverterwindow.h"
#include "gui/imaging/rotationwindow.h"
#include "gui/main/mainwindow.h"
#include "gui/options/optionsdialog.h"
#include "gui/support/scriptedprompts.h"
#include "gui/toc/contentswindow.h"
#include "support/tempdir.h"

namespace tessaly {
namespace {

// The controls Tab visits, in order, from the window's first one.
QStringList tabOrder(QWidget* window) {
    QStringList names;
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(window) &&
            !w->objectName().startsWith(QLatin1String("qt_"))) {
            names << w->objectName();
        }
    }
    return names;
}

// Every text the window shows or reads out, with what may stay in Latin letters taken out:
// mnemonics, file types and masks, format names and the program's name.
QStringList latinInTexts(QWidget* window) {
    QStringList texts{window->windowTitle()};
    for (QWidget* w : window->findChildren<QWidget*>()) {
        texts << w->toolTip() << w->accessibleName() << w->accessibleDescription();
        if (auto* label = qobject_cast<QLabel*>(w)) texts << label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w)) texts << button->text();
    }
    for (QAction* action : window->findChildren<QAction*>()) texts << action->text();
    static const QRegularExpression allowed(QStringLiteral(
        R"(\(&[A-Z]\)|&[A-Z]|\*\.\w+|\b(BMP|JPE?G|jpg|HEIC|HEIF|URL|HTML|Tessaly|KB)\b)"));
    QStringList latin;
    for (QString text : texts) {
        if (text.remove(allowed).contains(QRegularExpression(QStringLiteral("[A-Za-z]")))) {
            latin << text;
        }
    }
    return latin;
}

// Each "(&X)" letter of the window's labels, buttons and menus once; a label's letter moves
// the focus to its control.
void expectMnemonicsDistinctAndLinked(QWidget* window) {
    QStringList captions;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (auto* label = qobject_cast<QLabel*>(w); label && label->text().contains('&')) {
            captions << label->text();
            EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString();
        }
        if (auto* button = qobject_cast<QAbstractButton*>(w)) captions << button->text();
    }
    for (QAction* action : window->findChildren<QAction*>()) {
        if (action->menu()) captions << action->text();
    }
    QStringList letters;
    static const QRegularExpression mnemonic(QStringLiteral("&(\\w)"));
    for (const QString& caption : captions) {
        const auto match = mnemonic.match(caption);
        if (!match.hasMatch()) continue;
        EXPECT_FALSE(letters.contains(match.captured(1).toUpper())) << caption.toStdString();
        letters << match.captured(1).toUpper();
    }
}

TEST(SecondaryWindows, EveryControlNamedReachableAndInJapanese) {
    CatalogSettings settings;
    test::ScriptedPrompts prompts;
    test::RecordingShell shell;
    AppContext context{settings, prompts, shell};
    using Make = std::function<QWidget*()>;
    const struct {
        Make make;
        QStringList order;
    } rows[] = {
        {[&] { return new RotationWindow(context, nullptr); },
         {"Edit1", "CheckLossless", "Button1", "Button2", "Button3", "Button4", "Button6",
          "Button5"}},
        {[&] { return new BmpConverterWindow(context, nullptr); },
         {"Drive1", "Dir1", "File1", "FilterComboBox1", "SubfolderCheck", "SpinEdit1", "Button1",
          "Button2"}},
        {[&] { return new CommentEditor(context, nullptr); },
         // The comment lines wait for a photograph to be selected.
         {"File1", "Button2", "Button1", "Button5"}},
        {[&] { return new ContentsWindow(context, nullptr); },
         {"Drive1", "Dir1", "HPtytlebox", "framecheck", "Check2", "Button3", "Check3", "Button1",
          "Button2"}},
    };
    for (const auto& row : rows) {
        std::unique_ptr<QWidget> window(row.make());
        SCOPED_TRACE(window->objectName().toStdString());
        test::expectEveryControlNamed(window.get());
        EXPECT_EQ(tabOrder(window.get()).join(' ').toStdString(),
                  row.order.join(' ').toStdString());
        EXPECT_EQ(latinInTexts(window.get()).join(" | ").toStdString(), "");
        expectMnemonicsDistinctAndLinked(window.get());
        test::expectEnterPressesFocusedButtons(window.get());
    }
}

// What a control holds, as a screen reader would read it for its value.
QString currentValue(QWidget* control) {
    if (auto* box = qobject_cast<QComboBox*>(control)) return box->currentText();
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(control)) return spin->text();
    if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit->text();
    return QString();
}

// Every control Tab reaches in window is named by what it is, not by what it holds, and every
// cell of its status line says what it shows.
void expectNamedByWhatTheyAre(QWidget* window) {
    for (QWidget* control : test::focusableControls(window)) {
        const std::string what = window->objectName().toStdString() + ": " +
                                 control->metaObject()->className() + " " +
                                 control->objectName().toStdString();
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(reader, nullptr) << what;
        const QString name = reader->text(QAccessible::Name).trimmed();
        EXPECT_FALSE(name.isEmpty()) << what;
        const QString value = currentValue(control).trimmed();
        EXPECT_TRUE(value.isEmpty() || name != value) << what << " is named by its value";
    }
    for (QStatusBar* line : window->findChildren<QStatusBar*>()) {
        for (QLabel* cell : line->findChildren<QLabel*>()) {
            EXPECT_FALSE(cell->accessibleDescription().isEmpty())
                << window->objectName().toStdString() << ": " << cell->objectName().toStdString();
        }
    }
    for (QToolButton* arrow : window->findChildren<QToolButton*>()) {
        if (!arrow->isVisibleTo(window) || arrow->objectName().startsWith(QLatin1String("qt_")))
            continue;
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(arrow);
        EXPECT_FALSE(reader->text(QAccessible::Name).isEmpty())
            << window->objectName().toStdString() << ": " << arrow->objectName().toStdString();
    }
}

TEST(EveryWindow, ControlsAreNamedByWhatTheyAreNotByWhatTheyHold) {
    const test::TempDir app;
    CatalogSettings settings;
    settings.appFolder = app.path();
    settings.titleFontEnabled = QStringLiteral("on");
    settings.titleUseTable = QStringLiteral("on");
    test::ScriptedPrompts prompts;
    test::RecordingShell shell;
    AppContext context{settings, prompts, shell};
    using Make = std::function<QWidget*()>;
    const Make rows[] = {
        [&] { return new MainWindow(app.path(), prompts, shell); },
        [&] { return new OptionsDialog(context, nullptr); },
        [&] { return new ContentsWindow(context, nullptr); },
        [&] { return new CommentEditor(context, nullptr); },
        [&] { return new RotationWindow(context, nullptr); },
        [&] { return new BmpConverterWindow(context, nullptr); },
    };
    for (const Make& make : rows) {
        std::unique_ptr<QWidget> window(make());
        SCOPED_TRACE(window->objectName().toStdString());
        auto* pages = window->findChild<QTabWidget*>();
        for (int page = 0; page < (pages ? pages->count() : 1); ++page) {
            if (pages) pages->setCurrentIndex(page);
            expectNamedByWhatTheyAre(window.get());
        }
    }
}

}  // namespace
}  // namespace tessaly

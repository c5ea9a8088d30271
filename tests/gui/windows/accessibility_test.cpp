// The secondary windows as a keyboard and screen-reader user meets them.
#include "gui/support/accessibility.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <functional>
#include <memory>

#include "core/settings/catalogsettings.h"
#include "gui/comments/commenteditor.h"
#include "gui/imaging/bmpconverterwindow.h"
#include "gui/imaging/rotationwindow.h"
#include "gui/support/scriptedprompts.h"
#include "gui/toc/contentswindow.h"

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

}  // namespace
}  // namespace tessaly

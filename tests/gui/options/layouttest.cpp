// Every page laid out readably: named controls do not overlap, texts get the room they ask
// for, and everything lies inside its page. Set TESSALY_SCREENSHOT_DIR to also save a picture
// of every page (run under xvfb-run with QT_QPA_PLATFORM=xcb to see real fonts).
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>

#include "optionsfixture.h"

namespace tessaly::test {
namespace {

bool isAncestor(const QWidget* ancestor, const QWidget* widget) {
    for (const QWidget* w = widget->parentWidget(); w; w = w->parentWidget()) {
        if (w == ancestor) return true;
    }
    return false;
}

QRect rectIn(const QWidget* widget, const QWidget* page) {
    return QRect(widget->mapTo(page, QPoint(0, 0)), widget->size());
}

void expectReadable(QWidget* page) {
    QList<QWidget*> controls;
    for (QWidget* widget : page->findChildren<QWidget*>()) {
        if (!widget->objectName().isEmpty() && widget->isVisibleTo(page) &&
            !widget->objectName().startsWith(QLatin1String("qt_"))) {
            controls << widget;
        }
    }
    const QRect area = page->rect();
    for (QWidget* a : controls) {
        const QRect ra = rectIn(a, page);
        EXPECT_TRUE(area.contains(ra)) << a->objectName().toStdString() << " leaves its page";
        const auto* label = qobject_cast<QLabel*>(a);
        const auto* button = qobject_cast<QAbstractButton*>(a);
        if ((label && !label->text().isEmpty()) || (button && !button->text().isEmpty())) {
            EXPECT_GE(a->width(), a->sizeHint().width()) << a->objectName().toStdString();
            EXPECT_GE(a->height(), a->minimumSizeHint().height()) << a->objectName().toStdString();
        }
        for (QWidget* b : controls) {
            if (a >= b || isAncestor(a, b) || isAncestor(b, a)) continue;
            EXPECT_FALSE(ra.intersects(rectIn(b, page)))
                << a->objectName().toStdString() << " overlaps " << b->objectName().toStdString();
        }
    }
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
        if (!shots.isEmpty()) {
            dialog().grab().save(shots + QStringLiteral("/options-%1.png").arg(i + 1));
        }
    }
    EXPECT_GE(pages->tabBar()->width(), pages->tabBar()->sizeHint().width());
    dialog().hide();
}

}  // namespace
}  // namespace tessaly::test

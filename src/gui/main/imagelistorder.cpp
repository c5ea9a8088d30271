#include "gui/main/imagelistorder.h"

#include <QItemSelectionModel>
#include <QListWidget>
#include <vector>

namespace tessaly {

bool ImageListOrder::isJpegName(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && name.mid(dot).toLower() == QLatin1String(".jpg");
}

void ImageListOrder::rebuild(QListWidget& list, const QStringList& files) {
    list.clear();
    for (const QString& name : files) {
        if (isJpegName(name)) list.addItem(name);
    }
    selectAll(list, true);
}

bool ImageListOrder::moveUp(QListWidget& list) {
    if (list.count() == 0) return true;
    if (list.item(0)->isSelected()) return false;
    shiftSelected(list, -1);
    return true;
}

bool ImageListOrder::moveDown(QListWidget& list) {
    if (list.count() == 0) return true;
    if (list.item(list.count() - 1)->isSelected()) return false;
    shiftSelected(list, 1);
    return true;
}

void ImageListOrder::moveToTop(QListWidget& list) {
    const int first = topmostSelected(list);
    if (first > 0) shiftSelected(list, -first);
}

void ImageListOrder::moveToBottom(QListWidget& list) {
    int last = -1;
    for (int i = list.count() - 1; i >= 0 && last < 0; --i) {
        if (list.item(i)->isSelected()) last = i;
    }
    if (last >= 0 && last < list.count() - 1) shiftSelected(list, list.count() - 1 - last);
}

void ImageListOrder::selectAll(QListWidget& list, bool selected) {
    for (int i = 0; i < list.count(); ++i) list.item(i)->setSelected(selected);
    if (list.count() > 0) {
        list.selectionModel()->setCurrentIndex(list.model()->index(0, 0),
                                               QItemSelectionModel::NoUpdate);
    }
    list.scrollToTop();
}

int ImageListOrder::topmostSelected(const QListWidget& list) {
    for (int i = 0; i < list.count(); ++i) {
        if (list.item(i)->isSelected()) return i;
    }
    return -1;
}

QStringList ImageListOrder::names(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i) texts << list.item(i)->text();
    return texts;
}

// Moving the selected entries one place at a time, |delta| times, puts every selected entry
// delta places away and keeps both the selected and the other entries in their order, so
// the result is built in one pass. The caller makes sure no selected entry leaves the list.
void ImageListOrder::shiftSelected(QListWidget& list, int delta) {
    const int count = list.count();
    std::vector<QString> texts(count);
    std::vector<bool> taken(count, false);
    QStringList others;
    for (int i = 0; i < count; ++i) {
        const QListWidgetItem* entry = list.item(i);
        if (entry->isSelected()) {
            texts[i + delta] = entry->text();
            taken[i + delta] = true;
        } else {
            others << entry->text();
        }
    }
    int next = 0;
    for (int i = 0; i < count; ++i) {
        if (!taken[i]) texts[i] = others.at(next++);
        QListWidgetItem* entry = list.item(i);
        entry->setText(texts[i]);
        entry->setSelected(taken[i]);
    }
    list.viewport()->update();
}

}  // namespace tessaly

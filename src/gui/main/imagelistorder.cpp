#include "gui/main/imagelistorder.h"

#include <QItemSelectionModel>
#include <QListWidget>
#include <vector>

#include "core/catalog/captureorder.h"
#include "core/imaging/reader/photoreader.h"

namespace tessaly {

bool ImageListOrder::isJpegName(const QString& name) { return hasPlainJpegEnding(name); }

void ImageListOrder::rebuild(QListWidget& list, const QStringList& files, bool allFormats) {
    list.clear();
    for (const QString& name : files) {
        if (allFormats ? isPhotoName(name, true) : isJpegName(name)) list.addItem(name);
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
    const std::vector<bool> selected = selectionFlags(list);
    int last = -1;
    for (int i = list.count() - 1; i >= 0 && last < 0; --i) {
        if (selected[i]) last = i;
    }
    if (last >= 0 && last < list.count() - 1) shiftSelected(list, list.count() - 1 - last);
}

void ImageListOrder::sortByCaptureTime(QListWidget& list, const QString& folder, bool allFormats) {
    const QStringList texts = names(list);
    const std::vector<bool> selected = selectionFlags(list);
    const std::vector<int> order = captureOrder(folder, texts, allFormats);
    QItemSelection selection;
    for (int i = 0; i < list.count(); ++i) {
        const int from = order[std::size_t(i)];
        list.item(i)->setText(texts[from]);
        if (selected[std::size_t(from)])
            selection.select(list.model()->index(i, 0), list.model()->index(i, 0));
    }
    list.selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    list.viewport()->update();
}

void ImageListOrder::selectAll(QListWidget& list, bool selected) {
    if (selected) {
        list.selectAll();
    } else {
        list.clearSelection();
    }
    if (list.count() > 0) {
        list.selectionModel()->setCurrentIndex(list.model()->index(0, 0),
                                               QItemSelectionModel::NoUpdate);
    }
    list.scrollToTop();
}

int ImageListOrder::topmostSelected(const QListWidget& list) {
    int top = -1;
    for (const QItemSelectionRange& range : list.selectionModel()->selection()) {
        if (top < 0 || range.top() < top) top = range.top();
    }
    return top;
}

std::vector<bool> ImageListOrder::selectionFlags(const QListWidget& list) {
    std::vector<bool> flags(list.count(), false);
    for (const QItemSelectionRange& range : list.selectionModel()->selection()) {
        for (int i = range.top(); i <= range.bottom() && i < list.count(); ++i) flags[i] = true;
    }
    return flags;
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
    const std::vector<bool> selected = selectionFlags(list);
    std::vector<QString> texts(count);
    std::vector<bool> taken(count, false);
    QStringList others;
    for (int i = 0; i < count; ++i) {
        if (selected[i]) {
            texts[i + delta] = list.item(i)->text();
            taken[i + delta] = true;
        } else {
            others << list.item(i)->text();
        }
    }
    int next = 0;
    QItemSelection selection;
    for (int i = 0; i < count; ++i) {
        if (!taken[i]) texts[i] = others.at(next++);
        list.item(i)->setText(texts[i]);
        if (!taken[i]) continue;
        int end = i;  // selected entries are handed over as runs, which is fast on long lists
        while (end + 1 < count && taken[end + 1]) ++end;
        selection.select(list.model()->index(i, 0), list.model()->index(end, 0));
        for (int j = i + 1; j <= end; ++j) list.item(j)->setText(texts[j]);
        i = end;
    }
    list.selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    list.viewport()->update();
}

}  // namespace tessaly

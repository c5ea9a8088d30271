#include "gui/common/filelist.h"

#include "core/text/folderlisting.h"
#include "gui/common/fittingitemdelegate.h"

namespace tessaly {

FileList::FileList(QWidget* parent) : QListWidget(parent) {
    setAccessibleName(QStringLiteral("ファイル"));  // the name screen readers read
}

void FileList::setDirectory(const QString& path) {
    directory_ = path;
    refresh();
}

void FileList::setMask(const QString& mask) {
    mask_ = mask;
    refresh();
}

void FileList::fitEntriesToWidth() {
    setItemDelegate(new FittingItemDelegate(this));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideMiddle);
}

void FileList::refresh() {
    files_ = directory_.isEmpty() ? QStringList() : listFiles(directory_, mask_);
    clear();
    addItems(files_);
    // A name shortened to the list's width is read whole in its tooltip.
    for (int i = 0; i < count(); ++i) item(i)->setToolTip(item(i)->text());
    emit contentsChanged();
}

}  // namespace tessaly

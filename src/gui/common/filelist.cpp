#include "gui/common/filelist.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "gui/common/fittingitemdelegate.h"

namespace tessaly {

FileList::FileList(QWidget* parent) : QListWidget(parent) {}

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
    emit contentsChanged();
}

QStringList FileList::listFiles(const QString& folder, const QString& mask) {
    QStringList patterns;
    for (const QString& part : mask.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString pattern = part.trimmed();
        if (pattern == QLatin1String("*.*") || pattern == QLatin1String("*")) {
            patterns.clear();
            break;
        }
        if (!pattern.isEmpty()) patterns << pattern;
    }
    QDir dir(folder);
    dir.setFilter(QDir::Files | QDir::NoDotAndDotDot);
    if (!patterns.isEmpty()) dir.setNameFilters(patterns);
    QStringList names;
    for (const QFileInfo& info : dir.entryInfoList()) {
        if (info.isFile() && !info.isHidden()) names << info.fileName();
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int order = QString::compare(a, b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    return names;
}

}  // namespace tessaly

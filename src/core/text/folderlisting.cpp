#include "core/text/folderlisting.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace tessaly {
namespace {

// The patterns of a mask; none when it takes every file.
QStringList maskPatterns(const QString& mask) {
    QStringList patterns;
    for (const QString& part : mask.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString pattern = part.trimmed();
        if (pattern == QLatin1String("*.*") || pattern == QLatin1String("*")) return {};
        if (!pattern.isEmpty()) patterns << pattern;
    }
    return patterns;
}

}  // namespace

bool precedesInListing(const QString& a, const QString& b) {
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

QStringList listFiles(const QString& folder, const QString& mask) {
    QDir dir(folder);
    dir.setFilter(QDir::Files | QDir::NoDotAndDotDot);
    const QStringList patterns = maskPatterns(mask);
    if (!patterns.isEmpty()) dir.setNameFilters(patterns);
    QStringList names;
    for (const QFileInfo& info : dir.entryInfoList(dir.filter(), QDir::NoSort)) {
        if (info.isFile() && !info.isHidden()) names << info.fileName();
    }
    std::sort(names.begin(), names.end(), precedesInListing);
    return names;
}

QStringList listSubFolders(const QString& folder) {
    QStringList names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
    std::sort(names.begin(), names.end(), precedesInListing);
    return names;
}

}  // namespace tessaly

#include "core/pages/photooutputnames.h"

#include <QSet>

#include "core/imaging/reader/photoreader.h"

namespace tessaly {

namespace {

QString unique(const QString& stem, const QString& end, QSet<QString>& taken) {
    QString name = stem + end;
    QString at = stem;
    while (taken.contains(name)) {
        at += QLatin1Char('_');
        name = at + end;
    }
    taken.insert(name);
    return name;
}

}  // namespace

bool needsBrowserCopy(const QString& name) { return browsersCannotShow(name); }

PhotoOutputNames photoOutputNames(const QStringList& names, bool webCopies) {
    QSet<QString> taken;
    for (const QString& name : names) {
        if (hasJpegExtension(name)) taken.insert(name);
    }
    QSet<QString> webTaken = taken;
    PhotoOutputNames out;
    for (const QString& name : names) {
        const bool jpeg = hasJpegExtension(name);
        out.thumbnails << (jpeg ? name : unique(name, QStringLiteral(".jpg"), taken));
        out.copies << (!jpeg && !webCopies && needsBrowserCopy(name)
                           ? unique(name, QStringLiteral(".view.jpg"), taken)
                           : QString());
        out.webCopies << (jpeg ? name
                               : unique(photoShortName(name), QStringLiteral(".jpg"), webTaken));
    }
    return out;
}

QString photoShortName(const QString& name) {
    const int dot = int(name.lastIndexOf(QLatin1Char('.')));
    return dot > 0 ? name.left(dot) : name;
}

}  // namespace tessaly

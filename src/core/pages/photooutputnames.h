#pragma once

#include <QString>
#include <QStringList>

namespace tessaly {

// The names a catalogue run gives, inside the thumbnail folder (before the thumbnail
// prefix), to what it makes of each photograph of its list.
struct PhotoOutputNames {
    // The thumbnail of each name: a JPEG photograph's keeps the photograph's own name;
    // another format's takes ".jpg" after its whole name ("a.png" -> "a.png.jpg"), with "_"
    // before it while that is a JPEG photograph's name in the list. So no two share a name,
    // and a photograph added to the list renames no other's thumbnail.
    QStringList thumbnails;
    // The JPEG copy linked in place of a HEIC/HEIF photograph, which browsers cannot show
    // ("a.heic" -> "a.heic.view.jpg", made unique the same way); empty for the rest, and for
    // every photograph when each is published through its web copy instead. A copy keeps the
    // date, the camera and the colour profile, never a position.
    QStringList copies;
    // The name of each photograph's web copy in the web copies' folder: a JPEG photograph's
    // own name; another's (a JPEG under another name) takes ".jpg" in place of its extension,
    // with "_" after the stem while that is taken ("x.png" -> "x_.jpg" beside "x.jpg").
    QStringList webCopies;
};

PhotoOutputNames photoOutputNames(const QStringList& names, bool webCopies = false);

// True for a photograph browsers cannot show, linked to a JPEG copy (".heic", ".heif").
bool needsBrowserCopy(const QString& name);

// The name shown for a photograph in its page cell: the name without its extension.
QString photoShortName(const QString& name);

}  // namespace tessaly

#pragma once

#include <QStringList>
#include <vector>

class QListWidget;

namespace tessaly {

// The image list's contents and order: rebuilding it from a folder's files and moving the
// selected entries. The selection moves with the entries.
class ImageListOrder {
public:
    // True when the extension from the last dot, lower-cased, is ".jpg".
    static bool isJpegName(const QString& name);
    // Clears the list, appends the ".jpg" entries of files in their order, selects all of
    // them and scrolls to the first.
    // Takes the ".jpg" files, or with allFormats every photograph name (isPhotoName).
    static void rebuild(QListWidget& list, const QStringList& files, bool allFormats = false);
    // One place up. False (nothing changed) when the first entry is selected.
    static bool moveUp(QListWidget& list);
    // One place down. False (nothing changed) when the last entry is selected.
    static bool moveDown(QListWidget& list);
    // Until the topmost selected entry is first; the gaps between selected entries stay.
    static void moveToTop(QListWidget& list);
    // Until the lowest selected entry is last.
    static void moveToBottom(QListWidget& list);
    // In the order the photographs in folder were taken (captureOrder); the selection stays
    // on the same files.
    static void sortByCaptureTime(QListWidget& list, const QString& folder,
                                  bool allFormats = false);
    // Selects or deselects every entry and scrolls to the first.
    static void selectAll(QListWidget& list, bool selected);
    // Index of the topmost selected entry; -1 when none is selected.
    static int topmostSelected(const QListWidget& list);
    // Texts of the entries in order.
    static QStringList names(const QListWidget& list);
    // One selection flag per entry, read in one pass over the selection's ranges.
    static std::vector<bool> selectionFlags(const QListWidget& list);

private:
    static void shiftSelected(QListWidget& list, int delta);
};

}  // namespace tessaly

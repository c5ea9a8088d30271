#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

namespace tessaly {

// The order in which photographs were taken, by the capture time of their EXIF data
// (CaptureDetails::taken), read from each file's head only. Photographs without one follow
// the dated ones; both groups, and photographs taken at the same second, go by name in the
// listing order. Returns the indexes of names in that order. With allFormats a photograph
// that is no JPEG by its name is read by its format's reader (its EXIF block).
std::vector<int> captureOrder(const QString& folder, const QStringList& names,
                              bool allFormats = false);

// The names themselves in that order.
QStringList sortedByCaptureTime(const QString& folder, const QStringList& names,
                                bool allFormats = false);

// The capture time of one photograph as captureOrder reads it; invalid when there is none or
// the file cannot be read.
QDateTime captureTimeOf(const QString& path, bool allFormats);

}  // namespace tessaly

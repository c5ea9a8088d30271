#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace tessaly {

// The order in which photographs were taken, by the capture time of their EXIF data
// (CaptureDetails::taken), read from each file's head only. Photographs without one follow
// the dated ones; both groups, and photographs taken at the same second, go by name in the
// listing order. Returns the indexes of names in that order.
std::vector<int> captureOrder(const QString& folder, const QStringList& names);

// The names themselves in that order.
QStringList sortedByCaptureTime(const QString& folder, const QStringList& names);

}  // namespace tessaly

#include "core/catalog/captureorder.h"

#include <QDateTime>
#include <QDir>
#include <algorithm>
#include <numeric>

#include "core/imaging/metadata/capturedetails.h"
#include "core/imaging/reader/photoreader.h"
#include "core/text/errors.h"
#include "core/text/folderlisting.h"

namespace tessaly {

QDateTime captureTimeOf(const QString& path, bool allFormats) {
    if (!allFormats || hasJpegExtension(path)) return CaptureDetails::read(path).taken;
    try {
        return openPhotoReader(path)->taken();
    } catch (const Error&) {
        return QDateTime();  // the run names the file when it cannot read it
    }
}

std::vector<int> captureOrder(const QString& folder, const QStringList& names, bool allFormats) {
    std::vector<QDateTime> taken;
    taken.reserve(std::size_t(names.size()));
    const QDir dir(folder);
    for (const QString& name : names)
        taken.push_back(captureTimeOf(dir.filePath(name), allFormats));
    std::vector<int> order(std::size_t(names.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return precedesInListing(names[a], names[b]); });
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const QDateTime& x = taken[std::size_t(a)];
        const QDateTime& y = taken[std::size_t(b)];
        if (x.isValid() != y.isValid()) return x.isValid();
        return x.isValid() && x < y;
    });
    return order;
}

QStringList sortedByCaptureTime(const QString& folder, const QStringList& names, bool allFormats) {
    QStringList sorted;
    for (int index : captureOrder(folder, names, allFormats)) sorted << names[index];
    return sorted;
}

}  // namespace tessaly

#include "core/toc/jpegsize.h"

#include <QDir>
#include <QFile>

#include "core/text/errors.h"
#include "core/text/textfile.h"

namespace tessaly {

std::optional<JpegSize> readJpegSize(const QString& path) {
    QFile file(path);
    if (!isRegularFile(path) || !file.open(QIODevice::ReadOnly)) return std::nullopt;
    JpegScanner scanner(file);
    while (const std::optional<JpegMarkerSegment> segment = scanner.next()) {
        if (JpegScanner::isFrameMarker(segment->marker)) {
            return JpegScanner::frameSize(scanner.payload(*segment));
        }
    }
    return std::nullopt;
}

JpegSize requireJpegSize(const QString& path) {
    const std::optional<JpegSize> size = readJpegSize(path);
    if (!size) {
        throw ImageError(QStringLiteral("ﾌｧｲﾙ %1 はJPEG画像として読み込めません")
                             .arg(QDir::toNativeSeparators(path)));
    }
    return *size;
}

}  // namespace tessaly

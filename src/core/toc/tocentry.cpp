#include "core/toc/tocentry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "core/pages/pagetext.h"
#include "core/text/charfuncs.h"
#include "core/text/errors.h"
#include "core/text/sjis.h"
#include "core/text/textfile.h"

namespace tessaly {
namespace {

// A page is read only as far as its leading lines need; this caps what one page may cost.
constexpr qint64 kReadBudget = 4 * 1024 * 1024;
constexpr qint64 kChunk = 8192;

// The line a modern (UTF-8) catalogue page declares its encoding on; classic pages are
// Shift-JIS and never hold it.
const QByteArray kUtf8Head = QByteArrayLiteral("<head><meta charset=\"utf-8\">");

QByteArray withoutCr(QByteArray line) {
    if (line.endsWith('\r')) line.chop(1);
    return line;
}

}  // namespace

const char* const kCatalogMarker = "<!-- Tessaly";

QStringList readLeadingLines(const QString& path, int count) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw IoError(cannotOpenMessage(path));
    QList<QByteArray> raw;
    QByteArray pending;
    qint64 budget = kReadBudget;
    while (raw.size() < count && budget > 0) {
        const QByteArray chunk = file.read(std::min(kChunk, budget));
        if (chunk.isEmpty()) break;
        budget -= chunk.size();
        pending.append(chunk);
        qsizetype newline;
        while (raw.size() < count && (newline = pending.indexOf('\n')) >= 0) {
            raw.append(withoutCr(pending.left(newline)));
            pending.remove(0, newline + 1);
        }
    }
    if (raw.size() < count && !pending.isEmpty()) raw.append(withoutCr(pending));
    const bool utf8 = raw.contains(kUtf8Head);
    QStringList lines;
    for (const QByteArray& line : raw)
        lines.append(utf8 ? QString::fromUtf8(line) : sjis::decode(line));
    while (lines.size() < count) lines.append(QString());
    return lines;
}

bool hasCatalogMarker(const QString& secondLine) {
    return secondLine.startsWith(QLatin1String(kCatalogMarker));
}

bool isCatalogPage(const QString& pagePath) {
    if (!QFileInfo(pagePath).isFile()) return false;
    return hasCatalogMarker(readLeadingLines(pagePath, 2).at(1));
}

std::optional<TocEntry> readTocEntry(const QString& pagePath, const QString& folderName) {
    if (!QFileInfo(pagePath).isFile()) return std::nullopt;
    const QStringList lines = readLeadingLines(pagePath, 7);
    if (!hasCatalogMarker(lines.at(1))) return std::nullopt;
    return cutTocEntry(lines, folderName);
}

TocEntry cutTocEntry(const QStringList& lines, const QString& folderName) {
    const QString line3 = lines.value(2);
    const QString line4 = lines.value(3);
    const QString line7 = lines.value(6);
    TocEntry entry;
    entry.folderName = folderName;
    entry.title = charMid(line7, 8, charLength(line7) - 15);
    entry.imageCount = charMid(line3, 11, 3);
    entry.date = charMid(line4, 6, 10);
    // Characters Shift-JIS cannot hold and line breaks stand there as "&#N;".
    entry.thumbnailName = decodeCharacterReferences(charMid(line3, 15, charLength(line3) - 18));
    return entry;
}

}  // namespace tessaly

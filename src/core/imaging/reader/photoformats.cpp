#include "core/imaging/reader/photoformats.h"

#include "core/imaging/heif/heifimage.h"
#include "core/imaging/reader/heifphotoreader.h"
#include "core/imaging/reader/jpegphotoreader.h"
#include "core/imaging/reader/pngphotoreader.h"
#include "core/imaging/reader/webpphotoreader.h"

namespace tessaly {

namespace {

template <typename Reader>
std::unique_ptr<PhotoReader> openAs(const QString& path) {
    return std::make_unique<Reader>(path);
}

bool jpegContent(const QByteArray& head) { return head.startsWith("\xFF\xD8"); }
bool pngContent(const QByteArray& head) { return head.startsWith("\x89PNG\r\n\x1A\n"); }
bool webpContent(const QByteArray& head) {
    return head.size() >= 12 && head.startsWith("RIFF") && head.mid(8, 4) == "WEBP";
}
bool heifContent(const QByteArray& head) { return HeifImage::looksLikeHeif(head); }
bool bmpContent(const QByteArray& head) { return head.startsWith("BM"); }

std::vector<PhotoFormatRow> makeTable() {
    using G = ConversionGroup;
    const auto s = [](const char* text) { return QString::fromLatin1(text); };
    return {
        {PhotoFormat::Jpeg,
         s("JPEG"),
         {s(".jpg"), s(".jpeg")},
         jpegContent,
         openAs<JpegPhotoReader>,
         true,
         G::None},
        {PhotoFormat::Png,
         s("PNG"),
         {s(".png")},
         pngContent,
         openAs<PngPhotoReader>,
         true,
         G::Other},
        {PhotoFormat::Webp,
         s("WebP"),
         {s(".webp")},
         webpContent,
         openAs<WebpPhotoReader>,
         true,
         G::Other},
        {PhotoFormat::Heif,
         s("AVIF"),
         {s(".avif")},
         heifContent,
         openAs<HeifPhotoReader>,
         true,
         G::Other},
        {PhotoFormat::Heif,
         s("HEIC/HEIF"),
         {s(".heic"), s(".heif")},
         heifContent,
         openAs<HeifPhotoReader>,
         false,
         G::Heif},
        {PhotoFormat::Bmp, s("BMP"), {s(".bmp")}, bmpContent, nullptr, true, G::Bmp},
    };
}

}  // namespace

bool PhotoFormatRow::hasEnding(const QString& name) const {
    for (const QString& ending : endings) {
        if (name.endsWith(ending, Qt::CaseInsensitive)) return true;
    }
    return false;
}

const std::vector<PhotoFormatRow>& photoFormatTable() {
    static const std::vector<PhotoFormatRow> table = makeTable();
    return table;
}

const PhotoFormatRow* photoFormatByName(const QString& name) {
    for (const PhotoFormatRow& row : photoFormatTable()) {
        if (row.hasEnding(name)) return &row;
    }
    return nullptr;
}

const PhotoFormatRow* photoFormatByContent(const QByteArray& head) {
    for (const PhotoFormatRow& row : photoFormatTable()) {
        if (row.open && row.hasContent(head)) return &row;
    }
    return nullptr;
}

const PhotoFormatRow& photoFormatRow(PhotoFormat format) {
    for (const PhotoFormatRow& row : photoFormatTable()) {
        if (row.format == format) return row;
    }
    return photoFormatTable().front();
}

PhotoFormat photoFormatOf(const QByteArray& head) {
    const PhotoFormatRow* row = photoFormatByContent(head);
    return row ? row->format : PhotoFormat::Unknown;
}

bool hasJpegExtension(const QString& name) {
    return photoFormatRow(PhotoFormat::Jpeg).hasEnding(name);
}

bool hasPlainJpegEnding(const QString& name) {
    return name.endsWith(photoFormatRow(PhotoFormat::Jpeg).endings.front(), Qt::CaseInsensitive);
}

bool turnsLosslessly(const QString& name) { return hasPlainJpegEnding(name); }

QStringList photoExtensions(bool allFormats) {
    if (!allFormats) return {photoFormatRow(PhotoFormat::Jpeg).endings.front()};
    QStringList endings;
    for (const PhotoFormatRow& row : photoFormatTable()) {
        if (row.open) endings << row.endings;
    }
    return endings;
}

bool isPhotoName(const QString& name, bool allFormats) {
    for (const QString& extension : photoExtensions(allFormats)) {
        if (name.endsWith(extension, Qt::CaseInsensitive) && name.size() > extension.size()) {
            return true;
        }
    }
    return false;
}

QString photoNameMask(bool allFormats) {
    QStringList patterns;
    for (const QString& extension : photoExtensions(allFormats)) patterns << "*" + extension;
    return patterns.join(QLatin1Char(';'));
}

bool browsersCannotShow(const QString& name) {
    const PhotoFormatRow* row = photoFormatByName(name);
    return row && !row->browserShows;
}

QString cataloguedFormatNames() {
    QStringList names;
    for (const PhotoFormatRow& row : photoFormatTable()) {
        if (row.open) names << row.name;
    }
    return names.join(QStringLiteral("、"));
}

QStringList conversionMasks(ConversionGroup group) {
    QStringList masks;
    for (const PhotoFormatRow& row : photoFormatTable()) {
        if (row.conversion != group) continue;
        for (const QString& ending : row.endings) masks << "*" + ending;
    }
    return masks;
}

QStringList conversionMasks() {
    QStringList masks;
    for (const PhotoFormatRow& row : photoFormatTable()) {
        if (row.conversion == ConversionGroup::None) continue;
        for (const QString& ending : row.endings) masks << "*" + ending;
    }
    return masks;
}

QString convertibleFormatNames() {
    QStringList names;
    for (const ConversionGroup group :
         {ConversionGroup::Bmp, ConversionGroup::Heif, ConversionGroup::Other}) {
        for (const PhotoFormatRow& row : photoFormatTable()) {
            if (row.conversion == group) names << row.name;
        }
    }
    return names.join(QStringLiteral("、"));
}

}  // namespace tessaly

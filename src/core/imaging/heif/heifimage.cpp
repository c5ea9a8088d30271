// The only source file that talks to libheif (for reading). libheif reports every failure
// through a returned heif_error and never jumps, so its objects are held by ordinary
// C++ owners here.

#include "core/imaging/heif/heifimage.h"

#include <libheif/heif.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <vector>

#include "core/imaging/metadata/srgbconversion.h"
#include "core/imaging/pixels/pixelstorage.h"
#include "core/imaging/reader/photoreader.h"
#include "core/text/textfile.h"

namespace tessaly {

namespace {

// Failures found by this program rather than by libheif.
constexpr int kNotHeif = -1;
constexpr int kTooLarge = -2;

// The longest side libheif may allocate for any image of the file, tiles and grids
// included (its own default lets a few damaged bytes ask for a 32768 x 32768 canvas).
constexpr int kMaxSide = 16384;

// An EXIF block larger than this is no photograph's: it is left out.
constexpr size_t kMaxExifBytes = size_t(4) << 20;

struct ContextFree {
    void operator()(heif_context* p) const { heif_context_free(p); }
};
struct HandleRelease {
    void operator()(heif_image_handle* p) const { heif_image_handle_release(p); }
};
struct ImageRelease {
    void operator()(heif_image* p) const { heif_image_release(p); }
};
struct OptionsFree {
    void operator()(heif_decoding_options* p) const { heif_decoding_options_free(p); }
};
struct NclxFree {
    void operator()(heif_color_profile_nclx* p) const { heif_nclx_color_profile_free(p); }
};

[[noreturn]] void fail(const QString& name, int code, const QString& detail) {
    // libheif's own text is the error's detail, for standard error only.
    throw HeifError(HeifImage::failureMessage(name, code, QString()), detail);
}

void check(const heif_error& error, const QString& name) {
    if (error.code == heif_error_Ok) return;
    const bool limit = error.subcode == heif_suberror_Security_limit_exceeded;
    fail(name, limit ? kTooLarge : int(error.code),
         QString::fromUtf8(error.message ? error.message : "libheif error"));
}

void checkSize(const QString& name, qint64 width, qint64 height) {
    if (!PixelStorage::fitsLimits(width, height, 24)) {
        fail(name, kTooLarge,
             QStringLiteral("HEIF image is too large (%1 x %2 pixels)").arg(width).arg(height));
    }
}

// The primary image as 8-bit interleaved red, green, blue, transforms applied.
std::unique_ptr<heif_image, ImageRelease> decodePrimary(heif_image_handle* handle,
                                                        const QString& name, bool alpha) {
    checkSize(name, heif_image_handle_get_width(handle), heif_image_handle_get_height(handle));
    checkSize(name, heif_image_handle_get_ispe_width(handle),
              heif_image_handle_get_ispe_height(handle));
    std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
    options->ignore_transformations = 0;
    options->convert_hdr_to_8bit = 1;
    heif_image* image = nullptr;
    const heif_chroma chroma = alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB;
    const heif_error error =
        heif_decode_image(handle, &image, heif_colorspace_RGB, chroma, options.get());
    std::unique_ptr<heif_image, ImageRelease> owned(image);
    check(error, name);
    if (!owned) fail(name, heif_error_Decoder_plugin_error, QStringLiteral("No image decoded"));
    return owned;
}

// Copies the decoded rows into a top-down 24-bit picture (blue, green, red).
PixelImage toPicture(const heif_image* image, const QString& name) {
    const int width = heif_image_get_width(image, heif_channel_interleaved);
    const int height = heif_image_get_height(image, heif_channel_interleaved);
    checkSize(name, width, height);
    int stride = 0;
    const uint8_t* rows = heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
    const bool alpha = heif_image_get_chroma_format(image) == heif_chroma_interleaved_RGBA;
    if (!rows || heif_image_get_bits_per_pixel_range(image, heif_channel_interleaved) != 8 ||
        stride < (alpha ? 4 : 3) * width) {
        fail(name, heif_error_Unsupported_feature, QStringLiteral("No 8-bit colour rows"));
    }
    if (alpha) return overWhite(rows, width, height, stride);
    PixelImage picture(width, -height, PixelFormat::Bgr24);
    for (int y = 0; y < height; ++y) {
        const uint8_t* from = rows + qint64(y) * stride;
        uchar* to = picture.scanLine(y);
        for (int x = 0; x < width; ++x, from += 3, to += 3) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    }
    return picture;
}

bool isTiffAt(const QByteArray& block, qsizetype at) {
    const QByteArray mark = block.mid(at, 4);
    return mark == QByteArray("MM\0*", 4) || mark == QByteArray("II*\0", 4);
}

// Where the TIFF header of a HEIF EXIF item starts: after the 32-bit offset field, at the
// offset it gives; else the first byte-order mark within the item's first bytes. -1: none.
qsizetype tiffStart(const QByteArray& block) {
    const auto* bytes = reinterpret_cast<const uchar*>(block.constData());
    const quint32 offset = (quint32(bytes[0]) << 24) | (quint32(bytes[1]) << 16) |
                           (quint32(bytes[2]) << 8) | quint32(bytes[3]);
    if (offset <= quint32(block.size() - 4 - 8) && isTiffAt(block, 4 + qsizetype(offset))) {
        return 4 + qsizetype(offset);
    }
    for (qsizetype at = 0; at < std::min<qsizetype>(block.size() - 8, 64); ++at) {
        if (isTiffAt(block, at)) return at;
    }
    return -1;
}

// The first EXIF block of the image, from the TIFF header on, behind libexif's "Exif\0\0";
// anything unexpected leaves the block out (the picture is what counts).
QByteArray exifOf(const heif_image_handle* handle) {
    heif_item_id id = 0;
    if (heif_image_handle_get_list_of_metadata_block_IDs(handle, "Exif", &id, 1) < 1) return {};
    const size_t size = heif_image_handle_get_metadata_size(handle, id);
    if (size < 4 + 8 || size > kMaxExifBytes) return {};
    QByteArray block(int(size), Qt::Uninitialized);
    if (heif_image_handle_get_metadata(handle, id, block.data()).code != heif_error_Ok) return {};
    const qsizetype start = tiffStart(block);
    return start < 0 ? QByteArray() : QByteArray("Exif\0\0", 6) + block.mid(start);
}

// The first XMP packet of the image: a "mime" item of content type application/rdf+xml;
// empty when there is none or it is larger than kMaxExifBytes.
QByteArray xmpOf(const heif_image_handle* handle) {
    const int count = heif_image_handle_get_number_of_metadata_blocks(handle, "mime");
    if (count < 1) return {};
    std::vector<heif_item_id> ids(size_t(std::min(count, 64)));
    const int listed = heif_image_handle_get_list_of_metadata_block_IDs(handle, "mime", ids.data(),
                                                                        int(ids.size()));
    for (int i = 0; i < listed; ++i) {
        const char* type = heif_image_handle_get_metadata_content_type(handle, ids[size_t(i)]);
        if (!type || std::strcmp(type, "application/rdf+xml") != 0) continue;
        const size_t size = heif_image_handle_get_metadata_size(handle, ids[size_t(i)]);
        if (size == 0 || size > kMaxExifBytes) return {};
        QByteArray packet(qsizetype(size), Qt::Uninitialized);
        if (heif_image_handle_get_metadata(handle, ids[size_t(i)], packet.data()).code !=
            heif_error_Ok) {
            return {};
        }
        return packet;
    }
    return {};
}

// The stored ICC profile, empty when there is none.
QByteArray iccProfileOf(const heif_image_handle* handle) {
    const size_t size = heif_image_handle_get_raw_color_profile_size(handle);
    if (size == 0 || size > kMaxExifBytes) return {};
    QByteArray profile(int(size), Qt::Uninitialized);
    if (heif_image_handle_get_raw_color_profile(handle, profile.data()).code != heif_error_Ok) {
        return {};
    }
    return profile;
}

SrgbConversion::Curve curveOf(heif_transfer_characteristics transfer) {
    switch (transfer) {
        case heif_transfer_characteristic_linear:
            return SrgbConversion::Curve::Linear;
        case heif_transfer_characteristic_ITU_R_BT_470_6_System_M:
            return SrgbConversion::Curve::Gamma22;
        case heif_transfer_characteristic_ITU_R_BT_470_6_System_B_G:
            return SrgbConversion::Curve::Gamma28;
        default:
            return SrgbConversion::Curve::Srgb;
    }
}

// A picture whose colours are described only by nclx primaries other than sRGB's is
// converted to sRGB.
void convertNclx(const heif_image_handle* handle, PixelImage& picture) {
    heif_color_profile_nclx* given = nullptr;
    const heif_error error = heif_image_handle_get_nclx_color_profile(handle, &given);
    // libheif may hand out a profile together with an error: it is ours to free either way.
    const std::unique_ptr<heif_color_profile_nclx, NclxFree> nclx(given);
    if (error.code != heif_error_Ok || !nclx) return;
    const Chromaticities space = {{nclx->color_primary_red_x, nclx->color_primary_red_y},
                                  {nclx->color_primary_green_x, nclx->color_primary_green_y},
                                  {nclx->color_primary_blue_x, nclx->color_primary_blue_y},
                                  {nclx->color_primary_white_x, nclx->color_primary_white_y}};
    const SrgbConversion::Curve curve = curveOf(nclx->transfer_characteristics);
    const bool unspecified = nclx->color_primaries == heif_color_primaries_unspecified;
    if (unspecified || space.white[1] <= 0 || SrgbConversion::isSrgb(space)) return;
    SrgbConversion::toSrgb(picture, space, curve);
}

}  // namespace

bool HeifImage::looksLikeHeif(const QByteArray& head) {
    if (head.size() < 12) return false;
    const int length = int(qMin<qsizetype>(head.size(), INT_MAX));
    return heif_check_filetype(reinterpret_cast<const uint8_t*>(head.constData()), length) !=
           heif_filetype_no;
}

void HeifImage::loadFromFile(const QString& path) {
    clear();
    QFile file(path);
    // Only a regular file: a device or a pipe under a photograph's name would never end.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        throw IoError(cannotOpenMessage(path));
    }
    // The compressed file is smaller than its pixels: a larger one is refused before reading.
    if (file.size() > kMaxImageBytes) {
        fail(path, kTooLarge, QStringLiteral("HEIF file is too large (%1 bytes)").arg(file.size()));
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) throw IoError(cannotOpenMessage(path));
    loadFromData(data, path);
}

void HeifImage::loadFromData(const QByteArray& data, const QString& name) {
    read(data, name, true);
}

void HeifImage::readHeader(const QByteArray& data, const QString& name) { read(data, name, false); }

void HeifImage::read(const QByteArray& data, const QString& name, bool pixels) {
    clear();
    if (!looksLikeHeif(data)) fail(name, kNotHeif, QStringLiteral("No HEIF 'ftyp' box"));
    std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    if (!context) throw std::bad_alloc();
    heif_context_set_maximum_image_size_limit(context.get(), kMaxSide);
    check(heif_context_read_from_memory_without_copy(context.get(), data.constData(),
                                                     size_t(data.size()), nullptr),
          name);
    heif_image_handle* primary = nullptr;
    const heif_error error = heif_context_get_primary_image_handle(context.get(), &primary);
    std::unique_ptr<heif_image_handle, HandleRelease> handle(primary);
    check(error, name);
    shownWidth_ = heif_image_handle_get_width(handle.get());
    shownHeight_ = heif_image_handle_get_height(handle.get());
    checkSize(name, shownWidth_, shownHeight_);
    exif_ = exifOf(handle.get());
    xmp_ = xmpOf(handle.get());
    iccProfile_ = iccProfileOf(handle.get());
    if (!pixels) return;
    const bool alpha = alphaOverWhite_ && heif_image_handle_has_alpha_channel(handle.get());
    const auto image = decodePrimary(handle.get(), name, alpha);
    picture_ = toPicture(image.get(), name);
    if (iccProfile_.isEmpty()) convertNclx(handle.get(), picture_);
    shownWidth_ = picture_.width();
    shownHeight_ = picture_.height();
    empty_ = false;
}

QString HeifImage::failureMessage(const QString& name, int errorCode, const QString& detail) {
    QString sentence = QStringLiteral("HEIC/HEIF ファイルが壊れているか、途中で切れています");
    switch (errorCode) {
        case kNotHeif:
            sentence = QStringLiteral("HEIC/HEIF ファイルではありません");
            break;
        case kTooLarge:
            sentence = QStringLiteral("画像が大きすぎるため読み込めません");
            break;
        case heif_error_Unsupported_filetype:
        case heif_error_Unsupported_feature:
            sentence = QStringLiteral("この形式の HEIC/HEIF ファイルには対応していません");
            break;
        case heif_error_Memory_allocation_error:
            sentence = QStringLiteral("メモリが足りないため読み込めません");
            break;
        default:
            break;
    }
    const QString text = detail.isEmpty()
                             ? sentence
                             : sentence + QStringLiteral("（") + detail + QStringLiteral("）");
    return name.isEmpty() ? text : QFileInfo(name).fileName() + QStringLiteral(": ") + text;
}

void HeifImage::clear() {
    picture_ = PixelImage();
    exif_.clear();
    xmp_.clear();
    iccProfile_.clear();
    empty_ = true;
    shownWidth_ = 0;
    shownHeight_ = 0;
}

}  // namespace tessaly

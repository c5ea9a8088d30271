// The only source file that talks to libpng. libpng reports fatal errors by jumping back to
// a setjmp: each stage that may jump is a small function holding no C++ object with a
// destructor, and the owners of libpng's structures live outside them.

#include "core/imaging/reader/pngphotoreader.h"

#include <png.h>

#include <QtGlobal>
#include <cstring>
#include <vector>

#include "core/imaging/metadata/orientation.h"
#include "core/imaging/pixels/pixelstorage.h"

namespace tessaly {

namespace {

// libpng's state for one read of a file held in memory.
struct PngJob {
    png_structp png = nullptr;
    png_infop info = nullptr;
    const unsigned char* data = nullptr;
    size_t size = 0;
    size_t at = 0;
    char message[200] = {};
};

void failed(png_structp png, png_const_charp text) {
    auto* job = static_cast<PngJob*>(png_get_error_ptr(png));
    qstrncpy(job->message, text ? text : "libpng error", sizeof job->message);
    png_longjmp(png, 1);
}

void warned(png_structp, png_const_charp) {}

void readBytes(png_structp png, png_bytep out, size_t count) {
    auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
    if (count > job->size - job->at) png_error(png, "The file is cut short");
    std::memcpy(out, job->data + job->at, count);
    job->at += count;
}

int readInfo(PngJob* job) {
    if (setjmp(png_jmpbuf(job->png))) return 1;
    png_read_info(job->png, job->info);
    return 0;
}

// Every pixel as 8-bit red, green, blue, alpha.
int setUpRgba(PngJob* job) {
    if (setjmp(png_jmpbuf(job->png))) return 1;
    png_structp png = job->png;
    const int type = png_get_color_type(png, job->info);
    png_set_scale_16(png);
    png_set_palette_to_rgb(png);
    png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, job->info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (!(type & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, job->info);
    return 0;
}

int readRows(PngJob* job, png_bytepp rows) {
    if (setjmp(png_jmpbuf(job->png))) return 1;
    png_read_image(job->png, rows);
    png_read_end(job->png, job->info);
    return 0;
}

// Owns libpng's structures for one read.
class PngRead {
public:
    PngRead(const QByteArray& data, const QString& name) : name_(name) {
        // The error and warning functions reach the job through the pointer given here.
        job_.data = reinterpret_cast<const unsigned char*>(data.constData());
        job_.size = size_t(data.size());
        job_.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &job_, failed, warned);
        if (job_.png) job_.info = png_create_info_struct(job_.png);
        if (!job_.info) {
            png_destroy_read_struct(&job_.png, nullptr, nullptr);
            throw std::bad_alloc();
        }
    }
    ~PngRead() { png_destroy_read_struct(&job_.png, &job_.info, nullptr); }
    PngRead(const PngRead&) = delete;
    PngRead& operator=(const PngRead&) = delete;

    // Reads the chunks before the pixels and checks the size.
    void open() {
        png_set_read_fn(job_.png, &job_, readBytes);
        png_set_user_limits(job_.png, 65535, 65535);
        if (readInfo(&job_)) fail();
        const qint64 w = png_get_image_width(job_.png, job_.info);
        const qint64 h = png_get_image_height(job_.png, job_.info);
        if (!PixelStorage::fitsLimits(w, h, 24)) {
            throw photoFileError(
                name_, QStringLiteral("PNG"),
                QStringLiteral("PNG image is too large (%1 x %2 pixels)").arg(w).arg(h));
        }
    }

    int width() const { return int(png_get_image_width(job_.png, job_.info)); }
    int height() const { return int(png_get_image_height(job_.png, job_.info)); }

    QByteArray exif() const {
        png_uint_32 size = 0;
        png_bytep block = nullptr;
        if (!png_get_eXIf_1(job_.png, job_.info, &size, &block) || !block || size < 8) return {};
        return QByteArray("Exif\0\0", 6) + QByteArray(reinterpret_cast<const char*>(block), size);
    }

    // The XMP packet of an iTXt chunk "XML:com.adobe.xmp" before the pixels (libpng holds no
    // decompressed text larger than its chunk memory limit).
    QByteArray xmp() const {
        png_textp texts = nullptr;
        int count = 0;
        png_get_text(job_.png, job_.info, &texts, &count);
        for (int i = 0; i < count; ++i) {
            const png_text& text = texts[i];
            if (text.compression < PNG_ITXT_COMPRESSION_NONE || !text.key || !text.text ||
                std::strcmp(text.key, "XML:com.adobe.xmp") != 0) {
                continue;
            }
            if (text.itxt_length > size_t(PhotoReader::kMaxXmpBytes)) return {};
            return QByteArray(text.text, qsizetype(text.itxt_length));
        }
        return {};
    }

    QByteArray iccProfile() const {
        png_charp name = nullptr;
        int compression = 0;
        png_bytep profile = nullptr;
        png_uint_32 size = 0;
        if (!png_get_iCCP(job_.png, job_.info, &name, &compression, &profile, &size)) return {};
        return QByteArray(reinterpret_cast<const char*>(profile), int(size));
    }

    PixelImage picture() {
        if (setUpRgba(&job_)) fail();
        const int w = width(), h = height();
        const size_t stride = png_get_rowbytes(job_.png, job_.info);
        if (stride != size_t(w) * 4) fail("Unexpected row layout");
        std::vector<png_byte> pixels(stride * size_t(h));
        std::vector<png_bytep> rows(static_cast<size_t>(h), nullptr);
        for (int y = 0; y < h; ++y) rows[size_t(y)] = pixels.data() + stride * size_t(y);
        if (readRows(&job_, rows.data())) fail();
        return overWhite(pixels.data(), w, h, qsizetype(stride));
    }

private:
    [[noreturn]] void fail(const char* text = nullptr) const {
        throw photoFileError(name_, QStringLiteral("PNG"),
                             QString::fromUtf8(text ? text : job_.message));
    }

    PngJob job_;
    QString name_;
};

}  // namespace

PngPhotoReader::PngPhotoReader(const QString& path)
    : name_(path), data_(readPhotoFile(path, QStringLiteral("PNG"))) {
    readHeader();
}

PngPhotoReader::PngPhotoReader(const QByteArray& data, const QString& name)
    : name_(name), data_(data) {
    readHeader();
}

void PngPhotoReader::readHeader() {
    PngRead read(data_, name_);
    read.open();
    takeExif(read.exif(), true);
    takeXmp(read.xmp());
    iccProfile_ = read.iccProfile();
    setStoredSize(read.width(), read.height());
}

PixelImage PngPhotoReader::picture(int) {
    PngRead read(data_, name_);
    read.open();
    return applyOrientation(read.picture(), orientation_);
}

}  // namespace tessaly

// The only source file that talks to libjpeg.
//
// libjpeg reports fatal errors through error_exit, which must not return. It longjmps back
// into one of the small stage functions below. Those stage functions, and everything
// between them and libjpeg, hold only plain C data, so no C++ destructor is skipped by the
// jump; the C++ objects (pictures, buffers, guards) live in the callers' frames, which the
// jump never leaves.

#include "core/imaging/tjpegimage.h"

#include <jerror.h>
#include <jpeglib.h>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#ifndef JCS_EXTENSIONS
#error "libjpeg-turbo's colour space extensions (JCS_EXT_BGR) are required"
#endif

#include "core/imaging/exiforientation.h"
#include "core/imaging/imagefilemessage.h"
#include "core/imaging/orientation.h"
#include "core/imaging/tnkinternaldib.h"
#include "core/text/textfile.h"

namespace tessaly {

namespace {

constexpr int kMaxWarnings = 4;

// More scans than any encoder writes: a progressive file past it is refused before it takes
// minutes of processor time (libjpeg-turbo advises such a limit for untrusted files).
constexpr int kMaxScans = 500;

struct ErrorManager {
    jpeg_error_mgr pub;
    jpeg_progress_mgr progress;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    char warnings[kMaxWarnings][JMSG_LENGTH_MAX];
    int warningCount;
    bool damaged;       // a warning that means missing or damaged image data
    bool tooManyScans;  // stopped by the scan limit
};

void errorExit(j_common_ptr cinfo) {
    ErrorManager* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings (level -1) are kept, every one of them classified; trace messages are dropped.
// Only extraneous bytes before a marker, which intact camera files often carry, leave the
// picture whole; every other warning means grey or black where data was missing or damaged.
void emitMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;
    ErrorManager* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (cinfo->err->msg_code != JWRN_EXTRANEOUS_DATA) err->damaged = true;
    if (err->warningCount < kMaxWarnings) {
        (*cinfo->err->format_message)(cinfo, err->warnings[err->warningCount++]);
    }
    ++cinfo->err->num_warnings;
}

void monitorProgress(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor) return;
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number <= kMaxScans) return;
    ErrorManager* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    err->tooManyScans = true;
    std::snprintf(err->message, sizeof err->message, "more than %d scans", kMaxScans);
    std::longjmp(err->jump, 1);
}

void installErrors(ErrorManager* err) {
    jpeg_std_error(&err->pub);
    err->pub.error_exit = errorExit;
    err->pub.emit_message = emitMessage;
    err->progress.progress_monitor = monitorProgress;
}

// Plain data of one decode; the guard in the caller destroys it.
struct DecodeJob {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    const unsigned char* data;
    unsigned long size;
    bool created;
    bool cmyk;
    unsigned char* base;  // first (top) output row
    long step;            // bytes from one output row to the next (negative: bottom-up)
    unsigned char* cmykRow;
};

// Stages return 0 on success and 1 when libjpeg raised a fatal error (text in err.message).
int readHeader(DecodeJob* job) {
    installErrors(&job->err);
    job->cinfo.err = &job->err.pub;
    if (setjmp(job->err.jump)) return 1;
    jpeg_create_decompress(&job->cinfo);
    job->created = true;
    job->cinfo.progress = &job->err.progress;
    jpeg_mem_src(&job->cinfo, job->data, job->size);
    jpeg_save_markers(&job->cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&job->cinfo, TRUE);
    return 0;
}

int startOutput(DecodeJob* job, J_COLOR_SPACE space) {
    if (setjmp(job->err.jump)) return 1;
    job->cinfo.out_color_space = space;
    job->cinfo.dct_method = JDCT_ISLOW;
    job->cinfo.do_fancy_upsampling = TRUE;
    job->cinfo.do_block_smoothing = TRUE;
    job->cinfo.scale_num = 1;
    job->cinfo.scale_denom = 1;
    job->cinfo.quantize_colors = FALSE;
    jpeg_start_decompress(&job->cinfo);
    return 0;
}

unsigned char cmykChannel(unsigned c, unsigned k, bool inverted) {
    if (!inverted) {
        c = 255 - c;
        k = 255 - k;
    }
    return static_cast<unsigned char>((c * k + 127) / 255);
}

// Reads every row; a CMYK row goes through cmykRow and becomes blue, green, red.
int readRows(DecodeJob* job) {
    if (setjmp(job->err.jump)) return 1;
    jpeg_decompress_struct* cinfo = &job->cinfo;
    const bool inverted = cinfo->saw_Adobe_marker;
    while (cinfo->output_scanline < cinfo->output_height) {
        unsigned char* out = job->base + job->step * long(cinfo->output_scanline);
        JSAMPROW row = job->cmyk ? job->cmykRow : out;
        jpeg_read_scanlines(cinfo, &row, 1);
        if (job->cmyk) {
            for (JDIMENSION x = 0; x < cinfo->output_width; ++x) {
                const unsigned char* p = job->cmykRow + 4 * x;
                out[3 * x] = cmykChannel(p[2], p[3], inverted);
                out[3 * x + 1] = cmykChannel(p[1], p[3], inverted);
                out[3 * x + 2] = cmykChannel(p[0], p[3], inverted);
            }
        }
    }
    return 0;
}

int finishDecode(DecodeJob* job) {
    if (setjmp(job->err.jump)) return 1;
    jpeg_finish_decompress(&job->cinfo);
    return 0;
}

struct DecodeGuard {
    DecodeJob* job;
    ~DecodeGuard() {
        if (job->created) jpeg_destroy_decompress(&job->cinfo);
    }
};

// Plain data of one encode; the guard in the caller destroys it and frees the output.
struct EncodeJob {
    jpeg_compress_struct cinfo;
    ErrorManager err;
    bool created;
    unsigned char* out;
    unsigned long outSize;
    int width;
    int height;
    int quality;
    const unsigned char* base;  // top row, blue, green, red
    long step;
};

int encodeRows(EncodeJob* job) {
    installErrors(&job->err);
    job->cinfo.err = &job->err.pub;
    if (setjmp(job->err.jump)) return 1;
    jpeg_compress_struct* cinfo = &job->cinfo;
    jpeg_create_compress(cinfo);
    job->created = true;
    jpeg_mem_dest(cinfo, &job->out, &job->outSize);
    cinfo->image_width = JDIMENSION(job->width);
    cinfo->image_height = JDIMENSION(job->height);
    cinfo->input_components = 3;
    cinfo->in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, job->quality, TRUE);
    jpeg_start_compress(cinfo, TRUE);
    while (cinfo->next_scanline < cinfo->image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(job->base + job->step * long(cinfo->next_scanline));
        jpeg_write_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_compress(cinfo);
    return 0;
}

struct EncodeGuard {
    EncodeJob* job;
    ~EncodeGuard() {
        if (job->created) jpeg_destroy_compress(&job->cinfo);
        std::free(job->out);
    }
};

[[noreturn]] void codecError(const char* message) { throw EJPEG(QString::fromLocal8Bit(message)); }

// A decode failure: the codec's message, or the scan limit's refusal.
[[noreturn]] void decodeError(const ErrorManager& err) {
    if (!err.tooManyScans) codecError(err.message);
    throw EJPEG(QStringLiteral("Too many progressive scans (more than %1)").arg(kMaxScans));
}

}  // namespace

namespace {

// The output colour space for the file's colour space; refuses the ones it cannot show.
J_COLOR_SPACE outputSpace(const jpeg_decompress_struct& cinfo, bool& grey, bool& cmyk) {
    grey = false;
    cmyk = false;
    switch (cinfo.jpeg_color_space) {
        case JCS_GRAYSCALE:
            grey = true;
            return JCS_GRAYSCALE;
        case JCS_RGB:
        case JCS_YCbCr:
            return JCS_EXT_BGR;
        case JCS_CMYK:
        case JCS_YCCK:
            cmyk = true;
            return JCS_CMYK;
        default:
            throw EJPEG(QStringLiteral("Unsupported JPEG color space (%1 components)")
                            .arg(cinfo.num_components));
    }
}

// The Orientation value of the first APP1 segment that holds EXIF data (1 when none).
int orientationOf(const jpeg_decompress_struct& cinfo) {
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) {
        if (m->marker == JPEG_APP0 + 1 && IsExifPayload(m->data, m->data_length)) {
            return ExifOrientation(m->data, m->data_length);
        }
    }
    return 1;
}

}  // namespace

void TJPEGImage::LoadFromFile(const QString& path) {
    Clear();
    QFile file(path);
    // Only a regular file: a device or a pipe under a photograph's name would never end.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        throw IoError(cannotOpenMessage(path));
    }
    // The compressed file is smaller than its pixels: a larger one is refused before reading.
    if (file.size() > kMaxImageBytes) {
        throw EJPEG(JpegFileMessage(
            path, QStringLiteral("JPEG file is too large (%1 bytes)").arg(file.size())));
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw IoError(cannotOpenMessage(path));
    }
    try {
        LoadFromData(data);
    } catch (const EJPEG& error) {
        throw EJPEG(JpegFileMessage(path, error.message()));
    }
}

void TJPEGImage::LoadFromData(const QByteArray& data) {
    Clear();
    DecodeJob job{};
    job.data = reinterpret_cast<const unsigned char*>(data.constData());
    job.size = static_cast<unsigned long>(data.size());
    DecodeGuard guard{&job};
    if (readHeader(&job)) decodeError(job.err);
    const qint64 w = job.cinfo.image_width, h = job.cinfo.image_height;
    if (!TNkInternalDIB::fitsLimits(w, h, 24)) {
        throw EJPEG(QStringLiteral("JPEG image is too large (%1 x %2 pixels)").arg(w).arg(h));
    }
    const int orientation = orientationOf(job.cinfo);
    bool grey = false, cmyk = false;
    const J_COLOR_SPACE space = outputSpace(job.cinfo, grey, cmyk);
    if (startOutput(&job, space)) decodeError(job.err);
    TNkDIB picture(int(job.cinfo.output_width), int(job.cinfo.output_height),
                   grey ? nk8Bit : nk24Bit);
    if (grey) {
        for (int i = 0; i < 256; ++i) picture.SetColors(i, quint32(i) * 0x010101u);
    }
    std::vector<unsigned char> cmykRow(cmyk ? size_t(w) * 4 : 0);
    job.cmyk = cmyk;
    job.cmykRow = cmykRow.data();
    job.base = picture.ScanLine(0);
    job.step = picture.TopDown() ? picture.Stride() : -long(picture.Stride());
    if (readRows(&job)) decodeError(job.err);
    if (job.err.pub.num_warnings == 0 && finishDecode(&job)) decodeError(job.err);
    for (int i = 0; i < job.err.warningCount; ++i) {
        warnings_ << QString::fromLocal8Bit(job.err.warnings[i]);
    }
    // Shown as browsers show it: turned or mirrored by the EXIF Orientation tag.
    picture_ = orientation == 1 ? std::move(picture) : ApplyOrientation(picture, orientation);
    orientation_ = orientation;
    grayscale_ = grey;
    damaged_ = job.err.damaged;
    empty_ = false;
}

QByteArray TJPEGImage::SaveToData() const {
    TNkDIB rows = picture_;
    if (rows.PixelFormat() != nk24Bit) rows.SetPixelFormat(nk24Bit);
    EncodeJob job{};
    EncodeGuard guard{&job};
    job.width = rows.Width();
    job.height = rows.Height();
    job.quality = quality_;
    job.base = rows.ConstScanLine(0);
    job.step = rows.TopDown() ? rows.Stride() : -long(rows.Stride());
    if (encodeRows(&job)) codecError(job.err.message);
    return QByteArray(reinterpret_cast<const char*>(job.out), int(job.outSize));
}

void TJPEGImage::SaveToFile(const QString& path) const {
    const QByteArray bytes = SaveToData();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        throw IoError(cannotCreateMessage(path));
    }
    // commit() alone does not notice buffered data that could not be written (a full disk):
    // it would put an empty file in place of the old one.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        throw IoError(cannotWriteMessage(path));
    }
    if (!file.commit()) throw IoError(cannotWriteMessage(path));
}

void TJPEGImage::SetCompressionQuality(int quality) { quality_ = qBound(1, quality, 100); }

int TJPEGImage::Width() const { return empty_ ? 0 : picture_.Width(); }
int TJPEGImage::Height() const { return empty_ ? 0 : picture_.Height(); }

void TJPEGImage::Assign(const TNkDIB& picture) {
    picture_ = picture;
    orientation_ = 1;
    grayscale_ = false;
    damaged_ = false;
    empty_ = false;
    warnings_.clear();
}

void TJPEGImage::Clear() {
    picture_ = TNkDIB();
    orientation_ = 1;
    grayscale_ = false;
    damaged_ = false;
    empty_ = true;
    warnings_.clear();
}

}  // namespace tessaly

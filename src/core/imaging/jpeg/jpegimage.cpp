// The only source file that talks to libjpeg.
//
// libjpeg reports fatal errors through error_exit, which must not return. It longjmps back
// into one of the small stage functions below. Those stage functions, and everything
// between them and libjpeg, hold only plain C data, so no C++ destructor is skipped by the
// jump; the C++ objects (pictures, buffers, guards) live in the callers' frames, which the
// jump never leaves.

#include "core/imaging/jpeg/jpegimage.h"

#include <jerror.h>
#include <jpeglib.h>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#ifndef JCS_EXTENSIONS
#error "libjpeg-turbo's colour space extensions (JCS_EXT_BGR) are required"
#endif

#include "core/imaging/files/folderhandle.h"
#include "core/imaging/imagefilemessage.h"
#include "core/imaging/jpeg/jpegscanner.h"
#include "core/imaging/metadata/exiforientation.h"
#include "core/imaging/metadata/orientation.h"
#include "core/imaging/pixels/pixelstorage.h"
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
    unsigned char* block;  // rows of a streamed decode, blockStride bytes apart
    long blockStride;
    int blockRows;  // rows to read into block, or to skip
};

// Rows a streamed decode reads at a time.
constexpr int kBlockRows = 16;

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

int startOutput(DecodeJob* job, J_COLOR_SPACE space, int eighths = 8) {
    if (setjmp(job->err.jump)) return 1;
    job->cinfo.out_color_space = space;
    job->cinfo.dct_method = JDCT_ISLOW;
    job->cinfo.do_fancy_upsampling = TRUE;
    job->cinfo.do_block_smoothing = TRUE;
    job->cinfo.scale_num = eighths < 8 ? JDIMENSION(eighths) : 1;
    job->cinfo.scale_denom = eighths < 8 ? 8 : 1;
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

// One row of CMYK pixels as blue, green, red.
void cmykToBgr(const unsigned char* cmyk, unsigned char* out, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x) {
        const unsigned char* p = cmyk + 4 * x;
        out[3 * x] = cmykChannel(p[2], p[3], inverted);
        out[3 * x + 1] = cmykChannel(p[1], p[3], inverted);
        out[3 * x + 2] = cmykChannel(p[0], p[3], inverted);
    }
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
        if (job->cmyk) cmykToBgr(job->cmykRow, out, cinfo->output_width, inverted);
    }
    return 0;
}

// Reads the next blockRows rows into block, as the codec outputs them.
int readBlock(DecodeJob* job) {
    if (setjmp(job->err.jump)) return 1;
    JSAMPROW rows[kBlockRows];
    for (int i = 0; i < job->blockRows; ++i) rows[i] = job->block + job->blockStride * i;
    JDIMENSION done = 0;
    while (done < JDIMENSION(job->blockRows)) {
        done += jpeg_read_scanlines(&job->cinfo, rows + done, JDIMENSION(job->blockRows) - done);
    }
    return 0;
}

// Skips the next blockRows rows without producing them.
int skipBlock(DecodeJob* job) {
    if (setjmp(job->err.jump)) return 1;
    jpeg_skip_scanlines(&job->cinfo, JDIMENSION(job->blockRows));
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

[[noreturn]] void codecError(const char* message) {
    throw JpegError(QString::fromLocal8Bit(message));
}

// A decode failure: the codec's message, or the scan limit's refusal. Data that ended too
// soon is named first: the codec then reports what it missed ("contains no image").
[[noreturn]] void decodeError(const ErrorManager& err) {
    if (err.tooManyScans) {
        throw JpegError(QStringLiteral("Too many progressive scans (more than %1)").arg(kMaxScans));
    }
    const QString first =
        err.warningCount > 0 ? QString::fromLocal8Bit(err.warnings[0]) : QString();
    if (first.startsWith(QLatin1String("Premature end of"))) {
        throw JpegError(first + QStringLiteral("; ") + QString::fromLocal8Bit(err.message));
    }
    codecError(err.message);
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
            throw JpegError(QStringLiteral("Unsupported JPEG color space (%1 components)")
                                .arg(cinfo.num_components));
    }
}

// The Orientation value of the first APP1 segment that holds EXIF data (1 when none).
int orientationOf(const jpeg_decompress_struct& cinfo) {
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) {
        if (m->marker == JPEG_APP0 + 1 && isExifPayload(m->data, m->data_length)) {
            return exifOrientation(m->data, m->data_length);
        }
    }
    return 1;
}

// The sampling layouts whose rows the codec skips without changing the rows read after them
// (tested against a full decode, sequential and progressive): greyscale 1x1, and three
// components whose second and third are 1x1 and whose first is 1x1, 2x1, 1x2 or 2x2. Others
// (greyscale 2x2, a 4x2 first component, 1x2 chroma beside 2x2 luma) are not exact.
bool rowsSkippable(const jpeg_decompress_struct& cinfo) {
    if (cinfo.arith_code || cinfo.data_precision != 8 || cinfo.CCIR601_sampling) return false;
    const jpeg_component_info* comp = cinfo.comp_info;
    if (cinfo.num_components == 1) {
        return cinfo.jpeg_color_space == JCS_GRAYSCALE && comp[0].h_samp_factor == 1 &&
               comp[0].v_samp_factor == 1;
    }
    if (cinfo.num_components != 3 ||
        (cinfo.jpeg_color_space != JCS_YCbCr && cinfo.jpeg_color_space != JCS_RGB)) {
        return false;
    }
    for (int c = 1; c < 3; ++c) {
        if (comp[c].h_samp_factor != 1 || comp[c].v_samp_factor != 1) return false;
    }
    return comp[0].h_samp_factor <= 2 && comp[0].v_samp_factor <= 2;
}

qint64 blocksAcross(qint64 size, int factor, int maxFactor) {
    return ((size * factor + maxFactor - 1) / maxFactor + 7) / 8;
}

// About what the codec allocates for a decode: the whole coefficient buffer when the file
// has several scans (progressive), otherwise a few rows of blocks; plus its row buffers.
qint64 decoderBytes(const jpeg_decompress_struct& cinfo) {
    const bool wholeImage = cinfo.progressive_mode || cinfo.comps_in_scan < cinfo.num_components;
    const int hMax = std::max(1, cinfo.max_h_samp_factor),
              vMax = std::max(1, cinfo.max_v_samp_factor);
    qint64 bytes = qint64(cinfo.image_width) * 4 * 3 * kBlockRows;
    for (int c = 0; c < cinfo.num_components; ++c) {
        const jpeg_component_info& comp = cinfo.comp_info[c];
        const qint64 wide = blocksAcross(cinfo.image_width, comp.h_samp_factor, hMax);
        const qint64 high = wholeImage ? blocksAcross(cinfo.image_height, comp.v_samp_factor, vMax)
                                       : 3 * comp.v_samp_factor;
        bytes += wide * high * DCTSIZE2 * qint64(sizeof(JCOEF));
    }
    return bytes;
}

// Reads and checks the header as every decode does; the job is guarded by the caller.
JpegHeader openDecode(DecodeJob& job, const QByteArray& data, J_COLOR_SPACE& space) {
    job.data = reinterpret_cast<const unsigned char*>(data.constData());
    job.size = static_cast<unsigned long>(data.size());
    if (readHeader(&job)) decodeError(job.err);
    const qint64 w = job.cinfo.image_width, h = job.cinfo.image_height;
    if (!PixelStorage::fitsLimits(w, h, 24)) {
        throw JpegError(QStringLiteral("JPEG image is too large (%1 x %2 pixels)").arg(w).arg(h));
    }
    JpegHeader header;
    header.orientation = orientationOf(job.cinfo);
    bool cmyk = false;
    space = outputSpace(job.cinfo, header.grayscale, cmyk);
    job.cmyk = cmyk;
    header.storedWidth = int(w);
    header.storedHeight = int(h);
    header.rowsSkippable = rowsSkippable(job.cinfo);
    header.decoderBytes = decoderBytes(job.cinfo);
    // At the end of the data the codec goes on in a buffer of its own.
    const unsigned char* at = job.cinfo.src->next_input_byte;
    header.withinData = at >= job.data && at <= job.data + job.size;
    return header;
}

// Where the stream of a DecodeRows call stands: the rows wanted and the block buffers.
class RowStream {
public:
    RowStream(DecodeJob& job, const JpegHeader& header, const std::vector<int>& wanted)
        : job_(job), header_(header), wanted_(wanted) {
        const size_t width = size_t(header.storedWidth);
        rawStride_ = width * size_t(job.cinfo.output_components);
        outStride_ = width * (header.grayscale ? 1 : 3);
        raw_.resize(rawStride_ * kBlockRows);
        if (job.cmyk) bgr_.resize(outStride_ * kBlockRows);
        job.block = raw_.data();
        job.blockStride = long(rawStride_);
    }

    void run(JpegRowSink& sink) {
        const int height = header_.storedHeight;
        for (int y = 0; y < height;) {
            const int target = nextTarget(y);
            if (target > y) {
                y += header_.rowsSkippable ? skip(target - y)
                                           : read(std::min(kBlockRows, target - y));
                continue;
            }
            const bool handOn = wanted(y);
            const int count = handOn ? runLength(y) : 1;
            read(count);
            if (handOn) sink.takeRows(y, count, rows(count), job_.cmyk ? outStride_ : rawStride_);
            y += count;
        }
    }

private:
    bool wanted(int y) const {
        return wanted_.empty() || (next_ < wanted_.size() && wanted_[next_] == y);
    }

    // The next row to decode at or after y: a wanted one, or the last row.
    int nextTarget(int y) {
        if (wanted_.empty()) return y;
        while (next_ < wanted_.size() && wanted_[next_] < y) ++next_;
        return next_ < wanted_.size() ? wanted_[next_] : header_.storedHeight - 1;
    }

    // Wanted rows in a row from y on, at most a block.
    int runLength(int y) const {
        const int left = header_.storedHeight - y;
        if (wanted_.empty()) return std::min(kBlockRows, left);
        int count = 1;
        while (count < kBlockRows && next_ + count < wanted_.size() &&
               wanted_[next_ + count] == y + count) {
            ++count;
        }
        return count;
    }

    int read(int count) {
        job_.blockRows = count;
        if (readBlock(&job_)) decodeError(job_.err);
        return count;
    }

    int skip(int count) {
        job_.blockRows = count;
        if (skipBlock(&job_)) decodeError(job_.err);
        return count;
    }

    // The rows just read, as blue, green, red (CMYK converted) or grey.
    const uchar* rows(int count) {
        if (!job_.cmyk) return raw_.data();
        const bool inverted = job_.cinfo.saw_Adobe_marker;
        for (int i = 0; i < count; ++i) {
            cmykToBgr(raw_.data() + rawStride_ * size_t(i), bgr_.data() + outStride_ * size_t(i),
                      job_.cinfo.output_width, inverted);
        }
        return bgr_.data();
    }

    DecodeJob& job_;
    const JpegHeader& header_;
    const std::vector<int>& wanted_;
    size_t next_ = 0;
    size_t rawStride_ = 0;
    size_t outStride_ = 0;
    std::vector<unsigned char> raw_;
    std::vector<unsigned char> bgr_;
};

}  // namespace

QByteArray JpegImage::readFile(const QString& path, qint64 limit) {
    QFile file(path);
    // Only a regular file: a device or a pipe under a photograph's name would never end.
    if (!isRegularFile(path) || !file.open(QIODevice::ReadOnly)) {
        throw IoError(unreadableMessage(path));
    }
    // The compressed file is smaller than its pixels: a larger one is refused before reading.
    if (file.size() > kMaxImageBytes) {
        throw jpegFileError(path,
                            QStringLiteral("JPEG file is too large (%1 bytes)").arg(file.size()));
    }
    // A file that does not start like a JPEG is refused from its first bytes, as the codec
    // would refuse it after the whole file had been read.
    const QByteArray start = file.peek(2);
    if (start.size() == 2 && !start.startsWith("\xFF\xD8")) {
        throw jpegFileError(path, QStringLiteral("Not a JPEG file: starts with 0x%1 0x%2")
                                      .arg(uchar(start[0]), 2, 16, QLatin1Char('0'))
                                      .arg(uchar(start[1]), 2, 16, QLatin1Char('0')));
    }
    const QByteArray data = limit < 0 ? file.readAll() : file.read(limit);
    if (file.error() != QFileDevice::NoError) {
        throw IoError(cannotOpenMessage(path));
    }
    return data;
}

void JpegImage::loadFromFile(const QString& path) {
    clear();
    const QByteArray data = readFile(path);  // its failures name the file already
    try {
        loadFromData(data);
    } catch (const JpegError& error) {
        throw jpegFileError(path, error);
    }
}

JpegHeader JpegImage::readHeader(const QByteArray& data) {
    DecodeJob job{};
    DecodeGuard guard{&job};
    J_COLOR_SPACE space = JCS_UNKNOWN;
    return openDecode(job, data, space);
}

JpegSegments JpegImage::readSegments(const QByteArray& data) {
    readHeader(data);  // the codec's checks, and its failures
    // The segments as the one marker walk finds them, past what the codec passes over too.
    const JpegHead head = JpegScanner::scan(data, JpegScanner::Extraneous::PassOver);
    JpegSegments segments;
    for (const JpegMarkerSegment& segment : head.segments) {
        if (!segment.isApplicationOrComment()) continue;
        segments.append(segment.marker, data.mid(segment.payloadAt, segment.payloadSize));
    }
    return segments;
}

JpegHeader JpegImage::decodeRows(const QByteArray& data, const std::vector<int>& rows,
                                 JpegRowSink& sink) {
    DecodeJob job{};
    DecodeGuard guard{&job};
    J_COLOR_SPACE space = JCS_UNKNOWN;
    const JpegHeader header = openDecode(job, data, space);
    if (startOutput(&job, space)) decodeError(job.err);
    RowStream(job, header, rows).run(sink);
    if (job.err.pub.num_warnings == 0 && finishDecode(&job)) decodeError(job.err);
    return header;
}

void JpegImage::loadFromData(const QByteArray& data, int reduction) {
    const int eighths = reduction == 2 || reduction == 4 || reduction == 8 ? 8 / reduction : 8;
    loadScaledFromData(data, eighths);
}

void JpegImage::loadScaledFromData(const QByteArray& data, int eighths) {
    clear();
    DecodeJob job{};
    DecodeGuard guard{&job};
    J_COLOR_SPACE space = JCS_UNKNOWN;
    const JpegHeader header = openDecode(job, data, space);
    if (startOutput(&job, space, std::clamp(eighths, 1, 8))) decodeError(job.err);
    const bool grey = header.grayscale;
    // Every row is decoded into it, so it is not zeroed first.
    PixelImage picture =
        PixelImage::unfilled(int(job.cinfo.output_width), int(job.cinfo.output_height),
                             grey ? PixelFormat::Indexed8 : PixelFormat::Bgr24);
    if (grey) {
        for (int i = 0; i < 256; ++i) picture.setColor(i, quint32(i) * 0x010101u);
    }
    std::vector<unsigned char> cmykRow(job.cmyk ? size_t(header.storedWidth) * 4 : 0);
    job.cmykRow = cmykRow.data();
    job.base = picture.scanLine(0);
    job.step = picture.topDown() ? picture.stride() : -long(picture.stride());
    if (readRows(&job)) decodeError(job.err);
    if (job.err.pub.num_warnings == 0 && finishDecode(&job)) decodeError(job.err);
    for (int i = 0; i < job.err.warningCount; ++i) {
        warnings_ << QString::fromLocal8Bit(job.err.warnings[i]);
    }
    // Shown as browsers show it: turned or mirrored by the EXIF Orientation tag.
    const int orientation = header.orientation;
    picture_ = orientation == 1 ? std::move(picture) : applyOrientation(picture, orientation);
    orientation_ = orientation;
    grayscale_ = grey;
    damaged_ = job.err.damaged;
    empty_ = false;
}

QByteArray JpegImage::saveToData() const {
    PixelImage rows = picture_;
    if (rows.pixelFormat() != PixelFormat::Bgr24) rows.setPixelFormat(PixelFormat::Bgr24);
    EncodeJob job{};
    EncodeGuard guard{&job};
    job.width = rows.width();
    job.height = rows.height();
    job.quality = quality_;
    job.base = rows.constScanLine(0);
    job.step = rows.topDown() ? rows.stride() : -long(rows.stride());
    if (encodeRows(&job)) codecError(job.err.message);
    const QByteArray encoded(reinterpret_cast<const char*>(job.out), int(job.outSize));
    return segments_.isEmpty() ? encoded : segments_.insertedInto(encoded);
}

void JpegImage::saveToFile(const QString& path) const {
    const QByteArray bytes = saveToData();
    // A link in place of the file is never written through.
    if (QFileInfo(path).isSymLink()) throw LinkRefusedError(FolderHandle::linkRefusedMessage(path));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        throw CreateError(cannotCreateMessage(path));
    }
    // commit() alone does not notice buffered data that could not be written (a full disk):
    // it would put an empty file in place of the old one.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        throw IoError(cannotWriteMessage(path));
    }
    if (!file.commit()) throw IoError(cannotWriteMessage(path));
}

void JpegImage::setCompressionQuality(int quality) { quality_ = qBound(1, quality, 100); }

int JpegImage::width() const { return empty_ ? 0 : picture_.width(); }
int JpegImage::height() const { return empty_ ? 0 : picture_.height(); }

void JpegImage::Assign(const PixelImage& picture) {
    picture_ = picture;
    orientation_ = 1;
    grayscale_ = false;
    damaged_ = false;
    empty_ = false;
    warnings_.clear();
}

void JpegImage::clear() {
    picture_ = PixelImage();
    orientation_ = 1;
    grayscale_ = false;
    damaged_ = false;
    empty_ = true;
    warnings_.clear();
}

}  // namespace tessaly

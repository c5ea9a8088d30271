// The only source file that talks to libwebp. libwebp reports failures by its return
// values; its demuxer is held by an ordinary C++ owner.

#include "core/imaging/reader/webpphotoreader.h"

#include <webp/decode.h>
#include <webp/demux.h>

#include <algorithm>
#include <cstdint>
#include <memory>

#include "core/imaging/metadata/orientation.h"
#include "core/imaging/pixels/pixelstorage.h"

namespace tessaly {

namespace {

struct DemuxDelete {
    void operator()(WebPDemuxer* p) const { WebPDemuxDelete(p); }
};
using Demux = std::unique_ptr<WebPDemuxer, DemuxDelete>;

// Frees the output buffer of a decode.
struct OutputFree {
    WebPDecBuffer* buffer;
    ~OutputFree() { WebPFreeDecBuffer(buffer); }
};

[[noreturn]] void fail(const QString& name, const QString& detail) {
    throw photoFileError(name, QStringLiteral("WebP"), detail);
}

Demux demuxOf(const QByteArray& data, const QString& name) {
    const WebPData bytes = {reinterpret_cast<const uint8_t*>(data.constData()),
                            size_t(data.size())};
    Demux demux(WebPDemux(&bytes));
    if (!demux) fail(name, QStringLiteral("Not a complete WebP file"));
    return demux;
}

// The first chunk of the type; empty when there is none or when it is longer than maxBytes.
QByteArray chunk(WebPDemuxer* demux, const char* fourcc, size_t maxBytes = SIZE_MAX) {
    WebPChunkIterator it;
    if (!WebPDemuxGetChunk(demux, fourcc, 1, &it)) return {};
    const QByteArray bytes =
        it.chunk.size > maxBytes
            ? QByteArray()
            : QByteArray(reinterpret_cast<const char*>(it.chunk.bytes), int(it.chunk.size));
    WebPDemuxReleaseChunkIterator(&it);
    return bytes;
}

// The EXIF chunk's block behind "Exif\0\0" (writers store it with or without).
QByteArray exifOf(WebPDemuxer* demux) {
    const QByteArray block = chunk(demux, "EXIF");
    if (block.size() < 8) return {};
    if (block.startsWith(QByteArray("Exif\0\0", 6))) return block;
    return QByteArray("Exif\0\0", 6) + block;
}

// Decodes a frame's bitstream (config initialised) as red, green, blue, alpha, scaled to w x h when
// asked.
void decodeFrame(const WebPIterator& frame, int w, int h, bool scaled, WebPDecoderConfig& config,
                 const QString& name) {
    config.output.colorspace = MODE_RGBA;
    config.options.use_scaling = scaled ? 1 : 0;
    config.options.scaled_width = w;
    config.options.scaled_height = h;
    const VP8StatusCode status = WebPDecode(frame.fragment.bytes, frame.fragment.size, &config);
    if (status != VP8_STATUS_OK) {
        fail(name, QStringLiteral("WebP decoding failed (status %1)").arg(int(status)));
    }
}

}  // namespace

WebpPhotoReader::WebpPhotoReader(const QString& path)
    : name_(path), data_(readPhotoFile(path, QStringLiteral("WebP"))) {
    readHeader();
}

WebpPhotoReader::WebpPhotoReader(const QByteArray& data, const QString& name)
    : name_(name), data_(data) {
    readHeader();
}

void WebpPhotoReader::readHeader() {
    const Demux demux = demuxOf(data_, name_);
    const qint64 w = WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_WIDTH);
    const qint64 h = WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_HEIGHT);
    if (w < 1 || h < 1 || !PixelStorage::fitsLimits(w, h, 24)) {
        fail(name_, QStringLiteral("WebP canvas size %1 x %2 is out of range").arg(w).arg(h));
    }
    WebPIterator frame;
    if (WebPDemuxGetFrame(demux.get(), 1, &frame)) {
        wholeCanvas_ =
            frame.x_offset == 0 && frame.y_offset == 0 && frame.width == w && frame.height == h;
        WebPDemuxReleaseIterator(&frame);
    }
    takeExif(exifOf(demux.get()), true);
    takeXmp(chunk(demux.get(), "XMP ", size_t(kMaxXmpBytes)));
    iccProfile_ = chunk(demux.get(), "ICCP");
    setStoredSize(int(w), int(h));
}

PixelImage WebpPhotoReader::picture(int reduction) {
    const Demux demux = demuxOf(data_, name_);
    const int cw = int(WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_WIDTH));
    const int ch = int(WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_HEIGHT));
    WebPIterator frame;
    if (!WebPDemuxGetFrame(demux.get(), 1, &frame)) fail(name_, QStringLiteral("No frame"));
    const bool whole =
        frame.x_offset == 0 && frame.y_offset == 0 && frame.width == cw && frame.height == ch;
    const int r = whole && (reduction == 2 || reduction == 4 || reduction == 8) ? reduction : 1;
    const int w = std::max(1, (cw + r - 1) / r), h = std::max(1, (ch + r - 1) / r);
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) fail(name_, QStringLiteral("libwebp version mismatch"));
    OutputFree owner{&config.output};
    try {
        decodeFrame(frame, r > 1 ? w : frame.width, r > 1 ? h : frame.height, r > 1, config, name_);
    } catch (...) {
        WebPDemuxReleaseIterator(&frame);
        throw;
    }
    const WebPRGBABuffer& rgba = config.output.u.RGBA;
    // The frame on its canvas; the rest of the canvas is transparent (white).
    std::vector<uint8_t> canvas(size_t(w) * size_t(h) * 4, 0);
    const int fx = r > 1 ? 0 : frame.x_offset, fy = r > 1 ? 0 : frame.y_offset;
    const int fw = std::min(config.output.width, w - fx),
              fh = std::min(config.output.height, h - fy);
    for (int y = 0; y < fh; ++y) {
        std::copy_n(rgba.rgba + size_t(y) * size_t(rgba.stride), size_t(fw) * 4,
                    canvas.data() + (size_t(fy + y) * size_t(w) + size_t(fx)) * 4);
    }
    WebPDemuxReleaseIterator(&frame);
    return applyOrientation(overWhite(canvas.data(), w, h, qsizetype(w) * 4), orientation_);
}

}  // namespace tessaly

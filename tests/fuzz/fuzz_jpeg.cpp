// JPEG decoding and the thumbnail maker on whatever it decodes, both ways: from the decoder's
// rows and through the whole picture. The two thumbnails must be the same picture, and both
// ways must fail alike. The thumbnail made with its double-size twin (from the rows, or from
// one reduced decode) must be made whenever it is made alone, at the same size.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/imaging/thumbnailmaker.h"
#include "core/text/errors.h"
#include "fuzzscratch.h"

namespace {

bool samePicture(const tessaly::PixelImage& a, const tessaly::PixelImage& b) {
    if (a.width() != b.width() || a.height() != b.height() || a.bitCount() != b.bitCount()) {
        return false;
    }
    const size_t bytes = size_t(a.width()) * size_t(a.bitCount() / 8);
    for (int y = 0; y < a.height(); ++y) {
        if (std::memcmp(a.constScanLine(y), b.constScanLine(y), bytes) != 0) return false;
    }
    return true;
}

// Opens and scales; false when the maker failed (or the picture is too large to bother).
bool scale(tessaly::ThumbnailMaker& maker, const QString& source, const tessaly::ThumbnailBox& box,
           QString& failure) {
    try {
        maker.open(source);
        if (static_cast<long long>(maker.imageWidth()) * maker.imageHeight() > 4000000) {
            return false;
        }
        maker.scale(box);
        return true;
    } catch (const tessaly::Error& error) {
        failure = error.message();
        return false;
    }
}

// The pair of the box and twice the box; traps when it is not made, or not at the size of the
// thumbnail made alone, while that one was made.
void checkPair(const QString& source, const tessaly::ThumbnailBox& box,
               const tessaly::PixelImage* alone) {
    const tessaly::ThumbnailBox larger{box.width * 2, box.height * 2, box.quality, box.filter};
    tessaly::ThumbnailMaker maker;
    try {
        maker.open(source);
        if (static_cast<long long>(maker.imageWidth()) * maker.imageHeight() > 4000000) return;
        tessaly::PixelImage twin;
        maker.scaleTwice(box, larger, twin);
        const tessaly::PixelImage& made = maker.picture();
        if (alone && (made.width() != alone->width() || made.height() != alone->height())) {
            __builtin_trap();
        }
    } catch (const tessaly::Error&) {
        if (alone) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString source = tessaly::fuzz::writeScratch(QStringLiteral("in.jpg"), data, size);
    const tessaly::ThumbnailBox box{40, 30, 75, size % 2 == 0};
    tessaly::ThumbnailMaker streamed;
    tessaly::ThumbnailMaker whole(tessaly::ThumbnailMaker::Decoding::FullPicture);
    QString streamedFailure, wholeFailure;
    const bool streamedMade = scale(streamed, source, box, streamedFailure);
    const bool wholeMade = scale(whole, source, box, wholeFailure);
    if (streamedMade != wholeMade || streamedFailure != wholeFailure) __builtin_trap();
    checkPair(source, box, streamedMade ? &streamed.picture() : nullptr);
    if (!streamedMade) return 0;
    if (!samePicture(streamed.picture(), whole.picture())) __builtin_trap();
    try {
        streamed.save(tessaly::fuzz::scratchFolder() + QStringLiteral("/thumb.jpg"), box.quality);
    } catch (const tessaly::Error&) {
    }
    return 0;
}

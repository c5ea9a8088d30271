#include "core/imaging/pixels/sampledstretch.h"

#include <algorithm>
#include <cstring>

#include "core/imaging/metadata/orientation.h"
#include "core/imaging/pixels/thumbnailfilters.h"

namespace tessaly {

// Stored position of the target pixel (tx, ty): the shown pixel under its centre, turned
// back by the orientation. For orientations 1 to 4 the stored row depends on ty alone and the
// stored column on tx alone; for 5 to 8 the other way round.
SampledStretch::SampledStretch(const JpegHeader& header, int tw, int th)
    : bytes_(header.grayscale ? 1 : 3),
      swapped_(header.orientation >= 5 && header.orientation <= 8),
      target_(PixelImage::unfilled(tw, th,
                                   header.grayscale ? PixelFormat::Indexed8 : PixelFormat::Bgr24)) {
    const int w = header.storedWidth, h = header.storedHeight;
    const int shownW = header.width(), shownH = header.height();
    const int lineCount = swapped_ ? tw : th, pixelCount = swapped_ ? th : tw;
    for (int line = 0; line < lineCount; ++line) {
        int sx = 0, sy = 0;
        if (swapped_) {
            orientedSource(header.orientation, stretchSample(line, shownW, tw), 0, w, h, sx, sy);
        } else {
            orientedSource(header.orientation, 0, stretchSample(line, shownH, th), w, h, sx, sy);
        }
        lines_.emplace_back(sy, line);
    }
    for (int i = 0; i < pixelCount; ++i) {
        int sx = 0, sy = 0;
        if (swapped_) {
            orientedSource(header.orientation, 0, stretchSample(i, shownH, th), w, h, sx, sy);
        } else {
            orientedSource(header.orientation, stretchSample(i, shownW, tw), 0, w, h, sx, sy);
        }
        pick_.push_back(sx);
    }
    std::sort(lines_.begin(), lines_.end());
    for (const auto& line : lines_) {
        if (rows_.empty() || rows_.back() != line.first) rows_.push_back(line.first);
    }
    if (header.grayscale) {
        for (int i = 0; i < 256; ++i) target_.setColor(i, quint32(i) * 0x010101u);
    }
    for (int y = 0; y < th; ++y) targetRows_.push_back(target_.scanLine(y));
}

void SampledStretch::takeRows(int first, int count, const uchar* rows, size_t stride) {
    for (int i = 0; i < count; ++i) {
        const int y = first + i;
        while (next_ < lines_.size() && lines_[next_].first < y) ++next_;
        while (next_ < lines_.size() && lines_[next_].first == y) {
            fillLine(lines_[next_++].second, rows + stride * size_t(i));
        }
    }
}

void SampledStretch::fillLine(int line, const uchar* row) {
    const size_t b = size_t(bytes_);
    if (swapped_) {
        for (size_t i = 0; i < pick_.size(); ++i) {
            std::memcpy(targetRows_[i] + b * size_t(line), row + b * size_t(pick_[i]), b);
        }
        return;
    }
    uchar* out = targetRows_[size_t(line)];
    if (b == 3) {
        for (size_t i = 0; i < pick_.size(); ++i) {
            const uchar* p = row + 3 * size_t(pick_[i]);
            out[3 * i] = p[0], out[3 * i + 1] = p[1], out[3 * i + 2] = p[2];
        }
    } else {
        for (size_t i = 0; i < pick_.size(); ++i) out[i] = row[pick_[i]];
    }
}

PixelImage SampledStretch::result() {
    if (next_ < lines_.size()) {
        throw ImageError(QStringLiteral("SampledStretch: rows missing from the decode"));
    }
    return std::move(target_);
}

}  // namespace tessaly

#include "core/imaging/pixels/areaaverager.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/imaging/pixels/thumbnailfilters.h"

namespace tessaly {

namespace {

// Rows summed into the 16-bit column sums before they are moved on: 255 times this still
// fits in 16 bits.
constexpr int kRowsPerFlush = 257;

int boundary(int index, long double step) { return int(std::trunc(index * step)); }

// sums[i] += bytes[i]: in blocks of a fixed length, which the compiler turns into vector
// instructions, then the rest one by one.
void addBytes(quint16* __restrict sums, const uchar* __restrict bytes, size_t count) {
    constexpr size_t kBlock = 16;
    size_t i = 0;
    for (; i + kBlock <= count; i += kBlock) {
        for (size_t k = 0; k < kBlock; ++k) sums[i + k] += bytes[i + k];
    }
    for (; i < count; ++i) sums[i] += bytes[i];
}

}  // namespace

AreaAverager::AreaAverager(int w, int h, int tw, int th, bool grey)
    : w_(w), h_(h), grey_(grey), step_(1.0L / averageReduceScale(w, h, tw, th)) {
    averageReduceSize(w, h, tw, th, outW_, outH_);
    for (int x0 = 0, i = 1, x1 = boundary(1, step_); x1 <= w; x1 = boundary(++i, step_)) {
        if (x1 > x0) runs_.emplace_back(x0, x1);  // a run without columns is skipped
        x0 = x1;
    }
    columns_.assign(runs_.empty() ? 0 : 3 * size_t(runs_.back().second), quint16(0));
    band_.resize(runs_.size());
    if (grey_) expanded_.resize(columns_.size());
    // Output row j - 1 comes from band j; a band without rows writes nothing.
    covers_ = outW_ >= 1 && outH_ >= 1 && int(runs_.size()) >= outW_;
    for (int j = 1; covers_ && j <= outH_; ++j) {
        covers_ = boundary(j, step_) <= h && boundary(j, step_) > boundary(j - 1, step_);
    }
    y1_ = boundary(1, step_);
    if (y1_ <= y0_) nextBand();
    if (outW_ >= 1 && outH_ >= 1) out_ = PixelImage(outW_, outH_, PixelFormat::Bgr24);
}

void AreaAverager::startFrom(const PixelImage& source) {
    for (int y = 0; y < outH_; ++y) {
        std::memcpy(out_.scanLine(y), source.constScanLine(y), 3 * size_t(outW_));
    }
}

void AreaAverager::takeRows(int first, int count, const uchar* rows, size_t stride) {
    for (int i = 0; i < count; ++i) {
        const int y = first + i;
        if (y != nextRow_) throw ImageError(QStringLiteral("AreaAverager: rows out of order"));
        ++nextRow_;
        if (y1_ > h_ || y < y0_) continue;  // below the last band
        addRow(rows + stride * size_t(i));
        if (y == y1_ - 1) {
            finishBand();
            nextBand();
        }
    }
}

void AreaAverager::addRow(const uchar* row) {
    if (grey_) {
        for (size_t x = 0; x < expanded_.size() / 3; ++x) {
            expanded_[3 * x] = expanded_[3 * x + 1] = expanded_[3 * x + 2] = row[x];
        }
        row = expanded_.data();
    }
    addBytes(columns_.data(), row, columns_.size());
    if (++pending_ == kRowsPerFlush) flushColumns();
}

// Moves the per-byte column sums into the band sums of each run and clears them.
void AreaAverager::flushColumns() {
    for (size_t n = 0; n < runs_.size(); ++n) {
        Sums& acc = band_[n];
        for (int x = runs_[n].first; x < runs_[n].second; ++x) {
            acc.b += columns_[3 * size_t(x)];
            acc.g += columns_[3 * size_t(x) + 1];
            acc.r += columns_[3 * size_t(x) + 2];
        }
    }
    std::fill(columns_.begin(), columns_.end(), quint16(0));
    pending_ = 0;
}

// Writes output row j - 1 from the band's sums (the columns and row the result keeps).
void AreaAverager::finishBand() {
    flushColumns();
    const int row = j_ - 1;
    uchar* out = row < outH_ ? out_.scanLine(row) : nullptr;
    const qint64 bandRows = y1_ - y0_;
    for (size_t c = 0; c < runs_.size(); ++c) {
        if (out && int(c) < outW_) {
            const qint64 count = qint64(runs_[c].second - runs_[c].first) * bandRows;
            out[3 * c] = uchar(band_[c].b / count);
            out[3 * c + 1] = uchar(band_[c].g / count);
            out[3 * c + 2] = uchar(band_[c].r / count);
        }
        band_[c] = Sums();
    }
}

// The next band with rows; a band without rows still counts.
void AreaAverager::nextBand() {
    do {
        y0_ = y1_;
        y1_ = boundary(++j_, step_);
    } while (y1_ <= y0_ && y1_ <= h_);
}

PixelImage AreaAverager::result() {
    if (outW_ < 1 || outH_ < 1) throw ImageSizeError(QString::fromLatin1(imagemsg::kCreateStorage));
    return std::move(out_);
}

}  // namespace tessaly

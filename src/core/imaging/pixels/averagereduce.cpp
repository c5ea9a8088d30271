#include <cmath>

#include "core/imaging/pixels/areaaverager.h"
#include "core/imaging/pixels/real48.h"
#include "core/imaging/pixels/thumbnailfilters.h"

namespace tessaly {

long double averageReduceScale(int w, int h, int tw, int th) {
    const long double ratioH = static_cast<long double>(h) / th;
    const long double ratioW = static_cast<long double>(w) / tw;
    const long double s =
        ratioH >= ratioW ? static_cast<long double>(th) / h : static_cast<long double>(tw) / w;
    return roundToReal48(s);
}

void averageReduceSize(int w, int h, int tw, int th, int& outW, int& outH) {
    const long double s = averageReduceScale(w, h, tw, th);
    outW = int(std::trunc(s * w));
    outH = int(std::trunc(s * h));
}

// Every output pixel is the truncated mean of its block: the same sums as adding each row's
// run into a row accumulator and the rows into a band accumulator, gathered column by column
// so that the inner loop runs over plain bytes. Written into a picture of its own, which is
// what writing into the top-left corner of the source comes to: no output pixel lands on a
// source pixel still to be read.
void averageReduce(PixelImage& picture, int w, int h, int tw, int th) {
    if (picture.pixelFormat() != PixelFormat::Bgr24) picture.setPixelFormat(PixelFormat::Bgr24);
    AreaAverager averager(w, h, tw, th);
    if (averager.resultWidth() < 1 || averager.resultHeight() < 1) {
        picture.cutTo(averager.resultWidth(), averager.resultHeight());  // refuses the size
    }
    if (!averager.coversResult()) averager.startFrom(picture);
    for (int y = 0; y < h; ++y) averager.takeRows(y, 1, picture.constScanLine(y), 0);
    picture = averager.result();
}

}  // namespace tessaly

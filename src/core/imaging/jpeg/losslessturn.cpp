// The only source file that talks to libjpeg-turbo's TurboJPEG interface, which reports its
// failures through return values (it never jumps over our frames).
#include "core/imaging/jpeg/losslessturn.h"

#include <turbojpeg.h>

#include <array>
#include <memory>

namespace tessaly {

namespace {

// Where each transform takes a point (x, y) measured from the picture's centre:
// (m[0] x + m[1] y, m[2] x + m[3] y), y pointing down.
using Matrix = std::array<int, 4>;
const std::array<Matrix, 8> kMatrices = {{
    {1, 0, 0, 1},    // 1
    {-1, 0, 0, 1},   // 2
    {-1, 0, 0, -1},  // 3
    {1, 0, 0, -1},   // 4
    {0, 1, 1, 0},    // 5
    {0, -1, 1, 0},   // 6
    {0, -1, -1, 0},  // 7
    {0, 1, -1, 0},   // 8
}};

const std::array<int, 8> kOperations = {TJXOP_NONE,       TJXOP_HFLIP,     TJXOP_ROT180,
                                        TJXOP_VFLIP,      TJXOP_TRANSPOSE, TJXOP_ROT90,
                                        TJXOP_TRANSVERSE, TJXOP_ROT270};

const Matrix& matrixOf(int transform) {
    return kMatrices[size_t(transform >= 1 && transform <= 8 ? transform - 1 : 0)];
}

struct HandleDestroy {
    void operator()(void* handle) const { tjDestroy(handle); }
};

struct BufferFree {
    void operator()(unsigned char* buffer) const { tjFree(buffer); }
};

}  // namespace

int LosslessTurn::composed(int first, int then) {
    const Matrix& a = matrixOf(first);
    const Matrix& b = matrixOf(then);
    const Matrix product = {b[0] * a[0] + b[1] * a[2], b[0] * a[1] + b[1] * a[3],
                            b[2] * a[0] + b[3] * a[2], b[2] * a[1] + b[3] * a[3]};
    for (size_t i = 0; i < kMatrices.size(); ++i) {
        if (kMatrices[i] == product) return int(i) + 1;
    }
    return 1;
}

QByteArray LosslessTurn::transformed(const QByteArray& jpeg, int transform) {
    std::unique_ptr<void, HandleDestroy> handle(tjInitTransform());
    if (!handle || jpeg.isEmpty()) return {};
    tjtransform operation{};
    operation.op = kOperations[size_t(transform >= 1 && transform <= 8 ? transform - 1 : 0)];
    operation.options = TJXOPT_PERFECT | TJXOPT_COPYNONE;
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    const int failed =
        tjTransform(handle.get(), reinterpret_cast<const unsigned char*>(jpeg.constData()),
                    static_cast<unsigned long>(jpeg.size()), 1, &out, &outSize, &operation,
                    TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS);
    const std::unique_ptr<unsigned char, BufferFree> owned(out);
    if (failed != 0 || !out || outSize == 0) return {};
    return QByteArray(reinterpret_cast<const char*>(out), int(outSize));
}

}  // namespace tessaly

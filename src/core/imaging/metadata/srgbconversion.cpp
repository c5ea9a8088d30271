#include "core/imaging/metadata/srgbconversion.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tessaly {

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;
using Vector = std::array<double, 3>;

constexpr int kEncodeSteps = 4096;

Vector xyzOf(const double xy[2]) { return {xy[0] / xy[1], 1.0, (1 - xy[0] - xy[1]) / xy[1]}; }

Matrix multiplied(const Matrix& a, const Matrix& b) {
    Matrix m{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            for (int k = 0; k < 3; ++k) m[i][j] += a[i][k] * b[k][j];
        }
    }
    return m;
}

Matrix inverted(const Matrix& m) {
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    Matrix r{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            const int a = (j + 1) % 3, b = (j + 2) % 3, c = (i + 1) % 3, d = (i + 2) % 3;
            r[i][j] = (m[a][c] * m[b][d] - m[a][d] * m[b][c]) / det;
        }
    }
    return r;
}

// RGB (linear) to XYZ for the space, its white at Y = 1.
Matrix toXyz(const Chromaticities& space) {
    const Vector r = xyzOf(space.red), g = xyzOf(space.green), b = xyzOf(space.blue);
    const Matrix primaries = {{{r[0], g[0], b[0]}, {r[1], g[1], b[1]}, {r[2], g[2], b[2]}}};
    const Vector white = xyzOf(space.white);
    const Matrix inverse = inverted(primaries);
    Matrix m = primaries;
    for (int c = 0; c < 3; ++c) {
        const double s =
            inverse[c][0] * white[0] + inverse[c][1] * white[1] + inverse[c][2] * white[2];
        for (int row = 0; row < 3; ++row) m[row][c] *= s;
    }
    return m;
}

double decoded(double v, SrgbConversion::Curve curve) {
    switch (curve) {
        case SrgbConversion::Curve::Linear:
            return v;
        case SrgbConversion::Curve::Gamma22:
            return std::pow(v, 2.2);
        case SrgbConversion::Curve::Gamma28:
            return std::pow(v, 2.8);
        case SrgbConversion::Curve::Srgb:
            break;
    }
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

unsigned char encoded(double v) {
    v = std::clamp(v, 0.0, 1.0);
    const double e = v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
    return static_cast<unsigned char>(std::lround(e * 255));
}

}  // namespace

Chromaticities SrgbConversion::srgb() {
    return {{0.64, 0.33}, {0.30, 0.60}, {0.15, 0.06}, {0.3127, 0.3290}};
}

bool SrgbConversion::isSrgb(const Chromaticities& space) {
    const Chromaticities s = srgb();
    const double* a[] = {space.red, space.green, space.blue, space.white};
    const double* b[] = {s.red, s.green, s.blue, s.white};
    for (int i = 0; i < 4; ++i) {
        if (std::abs(a[i][0] - b[i][0]) > 0.001 || std::abs(a[i][1] - b[i][1]) > 0.001) {
            return false;
        }
    }
    return true;
}

void SrgbConversion::toSrgb(PixelImage& picture, const Chromaticities& space, Curve curve) {
    const Vector from = xyzOf(space.white), to = xyzOf(srgb().white);
    Matrix adapt{};
    for (int i = 0; i < 3; ++i) adapt[i][i] = to[i] / from[i];
    const Matrix m = multiplied(inverted(toXyz(srgb())), multiplied(adapt, toXyz(space)));
    std::array<double, 256> linear{};
    for (int i = 0; i < 256; ++i) linear[size_t(i)] = decoded(i / 255.0, curve);
    std::array<unsigned char, kEncodeSteps + 1> encode{};
    for (int i = 0; i <= kEncodeSteps; ++i) encode[size_t(i)] = encoded(double(i) / kEncodeSteps);
    const auto out = [&](const Vector& rgb, int row) {
        const double v =
            std::clamp(m[row][0] * rgb[0] + m[row][1] * rgb[1] + m[row][2] * rgb[2], 0.0, 1.0);
        return encode[size_t(std::lround(v * kEncodeSteps))];
    };
    for (int y = 0; y < picture.height(); ++y) {
        uchar* p = picture.scanLine(y);
        for (int x = 0; x < picture.width(); ++x, p += 3) {
            const Vector rgb = {linear[p[2]], linear[p[1]], linear[p[0]]};
            const uchar r = out(rgb, 0), g = out(rgb, 1), b = out(rgb, 2);
            p[0] = b;
            p[1] = g;
            p[2] = r;
        }
    }
}

}  // namespace tessaly

#include "core/imaging/pixels/real48.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace tessaly {

static_assert(std::numeric_limits<long double>::digits == 64,
              "long double must be the x87 extended format");

namespace {

// The x87 extended layout: 64-bit significand with explicit leading bit, then sign and
// 15-bit exponent (bias 16383).
struct Extended {
    std::uint64_t significand;
    std::uint16_t signExponent;
};

}  // namespace

long double roundToReal48(long double value) {
    Extended e{};
    std::memcpy(&e, &value, 10);
    int exponent = e.signExponent & 0x7FFF;
    if (exponent == 0 || exponent == 0x7FFF) {
        return exponent == 0 ? 0.0L * value : value;  // zero or denormal; infinity, NaN
    }
    // Keep the top 40 significand bits; the first dropped bit decides (halves away from 0).
    constexpr std::uint64_t kDropped = (std::uint64_t(1) << 24) - 1;
    std::uint64_t significand = e.significand + (std::uint64_t(1) << 23);
    if (significand < e.significand) {  // carried out of the top bit
        significand = std::uint64_t(1) << 63;
        ++exponent;
    } else {
        significand &= ~kDropped;
    }
    // The 6-byte real's exponent byte is exponent - 16383 + 129 (value 1.f x 2^(byte - 129)).
    const int stored = exponent - 16383 + 129;
    if (stored <= 0) return 0.0L;
    if (stored > 255) throw std::overflow_error("6-byte real overflow");
    e.significand = significand;
    e.signExponent = std::uint16_t((e.signExponent & 0x8000) | exponent);
    long double result = 0;
    std::memcpy(&result, &e, 10);
    return result;
}

long double sharpenNeighbourWeight() { return roundToReal48(-0.1L); }

long double sharpenCentreWeight() { return roundToReal48(1.0L - 8.0L * sharpenNeighbourWeight()); }

}  // namespace tessaly

#include "core/imaging/real48.h"

#include <cmath>
#include <stdexcept>

namespace tessaly {

long double roundToReal48(long double value) {
    if (value == 0.0L || !std::isfinite(value)) return value;
    int exponent = 0;
    const long double fraction = std::frexp(value, &exponent);  // 0.5 <= |fraction| < 1
    // roundl rounds halves away from zero; the 64-bit product is exact.
    long double significand = std::round(std::ldexp(fraction, 40));
    if (std::fabs(significand) == 0x1p40L) {  // rounded up to the next power of two
        significand /= 2;
        ++exponent;
    }
    // The stored exponent byte is exponent + 128; 0 means zero, above 255 cannot be stored.
    if (exponent + 128 <= 0) return 0.0L;
    if (exponent + 128 > 255) throw std::overflow_error("6-byte real overflow");
    return std::ldexp(significand, exponent - 40);
}

long double sharpenNeighbourWeight() { return roundToReal48(-0.1L); }

long double sharpenCentreWeight() {
    return roundToReal48(1.0L - 8.0L * sharpenNeighbourWeight());
}

}  // namespace tessaly

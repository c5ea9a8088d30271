#pragma once

namespace tessaly {

// Rounds an extended-precision value to the 6-byte real: 1 sign bit, 8-bit exponent
// (bias 129) and a 40-bit significand (39 stored bits and a hidden leading 1). Halves are
// rounded away from zero (the first dropped bit decides); values too small for the exponent
// become 0. The result is returned as an extended value.
long double roundToReal48(long double value);

// The sharpening weights: k = -0.1 and 1 - 8k, both as 6-byte reals.
long double sharpenNeighbourWeight();
long double sharpenCentreWeight();

}  // namespace tessaly

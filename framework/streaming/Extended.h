// The 80-bit extended floats of form streams.
//
// An extended float is ten little-endian bytes: a 64-bit mantissa with an explicit integer bit,
// then a 15-bit biased exponent and the sign bit. The values are carried in `long double`,
// which holds them exactly on the x86 targets (and on those with a wider long double).
#pragma once

#include <array>
#include <cstdint>

namespace lx::framework {

using TExtendedBytes = std::array<std::uint8_t, 10>;

TExtendedBytes EncodeExtended(long double value);
/// The value of the bytes; an exponent of all ones gives an infinity or a NaN.
long double DecodeExtended(const TExtendedBytes& bytes);
/// The extended nearest to the shortest decimal that reads back as `value`, so that a double
/// such as 0.1 is stored as the extended 0.1 and reads back as the same double.
long double ExtendedOfDouble(double value);

}  // namespace lx::framework

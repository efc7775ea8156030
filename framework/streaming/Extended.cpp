#include "framework/streaming/Extended.h"

#include <charconv>
#include <cmath>

namespace lx::framework {

namespace {

constexpr int kBias = 16383;
constexpr int kMaxExponent = 0x7FFF;
constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;

void Store(TExtendedBytes& bytes, std::uint64_t mantissa, int exponent, bool negative) {
  for (int i = 0; i < 8; ++i)
    bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(mantissa >> (8 * i));
  const unsigned top = static_cast<unsigned>(exponent) | (negative ? 0x8000u : 0u);
  bytes[8] = static_cast<std::uint8_t>(top);
  bytes[9] = static_cast<std::uint8_t>(top >> 8);
}

}  // namespace

TExtendedBytes EncodeExtended(long double value) {
  TExtendedBytes bytes{};
  const bool negative = std::signbit(value);
  if (std::isnan(value)) {
    Store(bytes, kIntegerBit | (kIntegerBit >> 1), kMaxExponent, negative);
  } else if (std::isinf(value)) {
    Store(bytes, kIntegerBit, kMaxExponent, negative);
  } else if (value == 0) {
    Store(bytes, 0, 0, negative);
  } else {
    int exponent = 0;
    const long double fraction = std::frexp(std::fabs(value), &exponent);  // in [0.5, 1)
    const int biased = exponent - 1 + kBias;
    if (biased >= kMaxExponent) {
      Store(bytes, kIntegerBit, kMaxExponent, negative);
    } else if (biased <= 0) {
      // Below the smallest normal extended: no integer bit, the exponent field 0.
      const long double scaled = std::ldexp(std::fabs(value), kBias - 1 + 63);
      Store(bytes, static_cast<std::uint64_t>(scaled), 0, negative);
    } else {
      Store(bytes, static_cast<std::uint64_t>(std::ldexp(fraction, 64)), biased, negative);
    }
  }
  return bytes;
}

long double DecodeExtended(const TExtendedBytes& bytes) {
  std::uint64_t mantissa = 0;
  for (int i = 7; i >= 0; --i)
    mantissa = (mantissa << 8) | bytes[static_cast<std::size_t>(i)];
  const unsigned top = bytes[8] | (static_cast<unsigned>(bytes[9]) << 8);
  const int exponent = static_cast<int>(top & 0x7FFFu);
  const bool negative = (top & 0x8000u) != 0;
  long double value;
  if (exponent == kMaxExponent) {
    value = (mantissa & ~kIntegerBit) == 0 ? HUGE_VALL : NAN;
  } else {
    value =
        std::ldexp(static_cast<long double>(mantissa), (exponent == 0 ? 1 : exponent) - kBias - 63);
  }
  return negative ? -value : value;
}

long double ExtendedOfDouble(double value) {
  if (!std::isfinite(value)) return value;
  // Ended by a null: the library's conversion may look past the given end for one.
  char text[64];
  const auto written = std::to_chars(text, text + sizeof text - 1, value);
  if (written.ec != std::errc()) return value;
  *written.ptr = '\0';
  long double nearest = 0;
  const auto parsed = std::from_chars(text, written.ptr, nearest);
  if (parsed.ec != std::errc() || static_cast<double>(nearest) != value) return value;
  return nearest;
}

}  // namespace lx::framework

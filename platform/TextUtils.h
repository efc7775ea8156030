// Small text helpers of the run-time: ASCII case mapping and the
// text-to-integer conversion used by settings files and parsers.
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace lx::platform {

/// Maps a-z to A-Z and leaves every other byte alone.
std::string UpperCaseAscii(std::string_view text);
/// Maps A-Z to a-z and leaves every other byte alone.
std::string LowerCaseAscii(std::string_view text);
/// Equal after ASCII case folding.
bool SameTextAscii(std::string_view a, std::string_view b);

namespace detail {
// Equal when the first and the last `sizeof(Word)` bytes are: for sizes up to twice a word.
template <typename Word>
inline bool SameEnds(const char* a, const char* b, std::size_t size) {
  Word a0, a1, b0, b1;
  std::memcpy(&a0, a, sizeof(Word));
  std::memcpy(&b0, b, sizeof(Word));
  std::memcpy(&a1, a + size - sizeof(Word), sizeof(Word));
  std::memcpy(&b1, b + size - sizeof(Word), sizeof(Word));
  return ((a0 ^ b0) | (a1 ^ b1)) == 0;
}
}  // namespace detail

/// Equal byte for byte, as `a == b`. Made for hot loops over the short names and texts of
/// forms: up to 16 bytes are compared in place, as two words that may overlap, without a call.
inline bool SameBytes(std::string_view a, std::string_view b) {
  const std::size_t size = a.size();
  if (size != b.size()) return false;
  if (size > 16) return a == b;
  if (size >= 8) return detail::SameEnds<std::uint64_t>(a.data(), b.data(), size);
  if (size >= 4) return detail::SameEnds<std::uint32_t>(a.data(), b.data(), size);
  for (std::size_t i = 0; i < size; ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

/// The run-time's whole-number conversion: leading blanks, then an optional
/// sign, then decimal digits or hexadecimal digits after "$", "0x" or "0X".
/// Nothing may follow the digits. Decimal values must fit 32 signed bits;
/// hexadecimal ones may use all 32 bits ("$FFFFFFFF" is -1).
std::optional<std::int32_t> TryStrToInt(std::string_view text);
/// `TryStrToInt`, or `fallback` when the text does not convert.
std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback);
/// `TryStrToInt`; raises EConvertError "'<text>' is not a valid integer value".
std::int32_t StrToInt(std::string_view text);

}  // namespace lx::platform

// Small text helpers of the run-time: ASCII case mapping and the
// text-to-integer conversion used by settings files and parsers.
#pragma once

#include <cstdint>
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

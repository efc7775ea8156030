// The font signature of a locale (Windows LOCALESIGNATURE): which Unicode
// ranges its language uses and which ANSI code pages serve it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "platform/LocaleIds.h"

namespace lx::platform {

struct FontSignature {
  /// 128 bits of Unicode ranges, numbered as in OpenType fonts (bit 0 Basic Latin,
  /// 9 Cyrillic, 11 Hebrew, 49 Hiragana, ...); bit 123 marks right-to-left
  /// layout and bit 127 is always set.
  std::array<std::uint32_t, 4> unicodeSubsets{};
  /// Bit b of the first word: the locale's ANSI code page is the one of bit b
  /// (`FontSignatureBitOfCodePage`). No bit for a Unicode-only locale.
  std::array<std::uint32_t, 2> defaultCodePages{};
  /// Every ANSI code page that holds all letters of the locale's language,
  /// the default one always included.
  std::array<std::uint32_t, 2> supportedCodePages{};

  /// The 32 bytes as the system hands them out: the eight words in the order
  /// above, each little-endian.
  std::array<std::uint8_t, 32> Bytes() const;

  bool operator==(const FontSignature&) const = default;
};

/// The signature of a locale (0, 0x0400 and 0x0800 stand for the defaults);
/// nullopt for an unknown LCID.
std::optional<FontSignature> LocaleFontSignature(Lcid lcid);

/// The code-page bit of an ANSI code page: 0 1252, 1 1250, 2 1251, 3 1253, 4 1254,
/// 5 1255, 6 1256, 7 1257, 16 874, 17 932, 18 936, 19 949, 20 950, 21 1361,
/// 22 1258; -1 for any other code page.
int FontSignatureBitOfCodePage(std::uint32_t codePage);

}  // namespace lx::platform

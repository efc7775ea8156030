// Code pages and font character sets of languages and locales: the code page
// to assume when the system names none, and the mapping between code pages,
// character sets and a locale's font signature.
#pragma once

#include <array>
#include <cstdint>

namespace lx::lang {

/// One row of `CharsetTable`: a font character set and the ANSI code page it goes with.
struct TLxCharsetRow {
  std::uint8_t Charset = 0;
  int CodePage = 0;
};

/// The rows by bit number of the code-page field of a font signature; unused bits are all zero.
extern const std::array<TLxCharsetRow, 32> CharsetTable;

/// The default character set, for a code page that has none of its own.
inline constexpr std::uint8_t kLxDefaultCharset = 1;

/// The ANSI code page of lcid: Chinese by its sub-language alone (950 for Taiwan, Hong Kong
/// and Macao, else 936), otherwise what the system says, and where it says nothing (an
/// unknown or Unicode-only locale) the usual code page of the primary language.
int DefaultCodePageOf(int lcid);

/// The character set of the first row of `CharsetTable` holding codePage (so 0 gives 0);
/// kLxDefaultCharset when no row does.
std::uint8_t CharsetFromCodePage(int codePage);

/// The character set of the lowest default code-page bit of lcid's font signature; that of
/// the first row (0) when the system has no signature or it names no code page.
std::uint8_t CharsetFromLocale(int lcid);

}  // namespace lx::lang

// Windows code pages: conversion between 8-bit text and UTF-16, and what a
// code page looks like (character size, lead bytes).
//
// Code page N is ICU's converter "windows-N": 874, 932, 936, 949, 950,
// 1250..1258, OEM pages such as 437 and 850, 20127, 65001 (UTF-8), ... The
// stand-ins CP_ACP and CP_THREAD_ACP are resolved first; the OEM and Mac
// stand-ins (1 and 2) are not supported. A code page ICU cannot open (1361
// Johab with ICU's standard data, 12345, ...) counts as not installed: it
// converts to nothing and has no info. The UTF-16 and UTF-32 "code pages"
// (1200, 1201, 12000, 12001) are no 8-bit code pages and count as not
// installed too. Opened converters are kept for the life of the process.
// Single-threaded, like the rest of the locale services.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lx::platform {

using CodePage = std::uint32_t;

/// The system's ANSI code page (`AnsiCodePage()` of SystemLocale.h).
inline constexpr CodePage CP_ACP = 0;
/// The ANSI code page of the thread locale.
inline constexpr CodePage CP_THREAD_ACP = 3;
inline constexpr CodePage CP_UTF8 = 65001;

/// Replaces the stand-ins CP_ACP and CP_THREAD_ACP by the code page they stand for.
CodePage ResolveCodePage(CodePage codePage);

/// True when the code page (after `ResolveCodePage`) can be converted.
bool IsValidCodePage(CodePage codePage);

/// 8-bit text in codePage to UTF-16, like MultiByteToWideChar without flags: every
/// byte counts (NULs included); a byte sequence that is invalid or unassigned in
/// the code page becomes U+FFFD. Empty when the code page is not installed (and
/// for a text of half a billion characters or more, which ICU cannot take).
std::u16string MultiByteToWide(std::string_view text, CodePage codePage);

/// UTF-16 to 8-bit text in codePage, like WideCharToMultiByte without flags and
/// without a caller's default character: a character the code page cannot hold
/// (and an unpaired surrogate) becomes '?'. *usedDefaultChar, when given, tells
/// whether that happened. Empty when the code page is not installed (or the text
/// is too long, as above).
std::string WideToMultiByte(std::u16string_view text, CodePage codePage,
                            bool* usedDefaultChar = nullptr);

/// True when every character of text has its own place in the code page
/// (no '?' stands in for one). False for a code page that is not installed.
bool CanEncode(std::u16string_view text, CodePage codePage);

/// A range of lead bytes, both ends included.
struct ByteRange {
  std::uint8_t first = 0;
  std::uint8_t last = 0;
  bool operator==(const ByteRange&) const = default;
};

/// What GetCPInfo tells about a code page.
struct CodePageInfo {
  /// Longest byte sequence of one character: 1 for single-byte pages, 2 for the
  /// double-byte ones, 4 for UTF-8.
  unsigned maxCharSize = 1;
  /// The character that stands in for what the code page cannot hold.
  char defaultChar = '?';
  /// The lead-byte ranges of a double-byte code page (at most 6), ascending;
  /// empty for every other code page.
  std::vector<ByteRange> leadByteRanges;
};

/// Info on the code page (after `ResolveCodePage`); nullopt when it is not installed.
std::optional<CodePageInfo> GetCodePageInfo(CodePage codePage);

/// The number of bytes of the character of `text` that starts at byte `at` (1 <= result
/// <= text.size() - at; 0 when `at` is at or past the end). A lead byte of a double-byte
/// code page takes the byte after it, a UTF-8 (65001) lead byte its continuation bytes;
/// a byte that starts no whole character (a lead byte at the end, a stray UTF-8
/// continuation byte) counts alone, so that stepping by it always moves on. Single-byte
/// code pages and code pages that are not installed step byte by byte.
std::size_t CharSizeAt(std::string_view text, std::size_t at, CodePage codePage);

}  // namespace lx::platform

#include "screen/internal/ScreenTexts.h"

#include <pango/pango.h>

#include <algorithm>
#include <array>
#include <map>
#include <memory>

#include "platform/CodePages.h"
#include "platform/SystemLocale.h"

namespace lx::screen {

namespace {

constexpr unsigned kUtf8 = 65001;

struct CharsetCodePageEntry {
  framework::TFontCharset charset;
  unsigned codePage;
};

// The code pages Windows writes each font character set in.
constexpr CharsetCodePageEntry kCharsetCodePages[] = {
    {framework::ANSI_CHARSET, 1252},       {framework::MAC_CHARSET, 10000},
    {framework::SHIFTJIS_CHARSET, 932},    {framework::HANGEUL_CHARSET, 949},
    {framework::JOHAB_CHARSET, 1361},      {framework::GB2312_CHARSET, 936},
    {framework::CHINESEBIG5_CHARSET, 950}, {framework::GREEK_CHARSET, 1253},
    {framework::TURKISH_CHARSET, 1254},    {framework::VIETNAMESE_CHARSET, 1258},
    {framework::HEBREW_CHARSET, 1255},     {framework::ARABIC_CHARSET, 1256},
    {framework::BALTIC_CHARSET, 1257},     {framework::RUSSIAN_CHARSET, 1251},
    {framework::THAI_CHARSET, 874},        {framework::EASTEUROPE_CHARSET, 1250},
};

// The family quoted for CSS: quotes and backslashes escaped.
std::string CssString(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    if (c == '\n' || c == '\r') continue;
    quoted += c;
  }
  return quoted + "\"";
}

// True when every byte of text belongs to a whole UTF-8 character.
bool IsWholeUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t size = platform::CharSizeAt(text, at, kUtf8);
    if (size == 1 && static_cast<unsigned char>(text[at]) >= 0x80) return false;
    at += size;
  }
  return true;
}

std::string Converted(std::string_view text, unsigned codePage) {
  std::u16string wide = platform::MultiByteToWide(text, codePage);
  // A code page the system lacks: show the bytes as Western text rather than nothing.
  if (wide.empty() && !text.empty()) wide = platform::MultiByteToWide(text, 1252);
  return platform::WideToMultiByte(wide, kUtf8);
}

// What a code page's bytes read as, worked out once: the converter costs more than the texts
// of a window switching language.
struct TByteTexts {
  bool asciiSame = false;  // bytes below 0x80 stand for themselves
  bool everyByte = false;  // one byte per character, each read as `utf8` says
  std::array<std::string, 256> utf8;
};

std::unique_ptr<TByteTexts> ByteTextsFor(unsigned codePage) {
  auto bytes = std::make_unique<TByteTexts>();
  std::string ascii(0x80, '\0');
  for (std::size_t i = 0; i < ascii.size(); ++i)
    ascii[i] = static_cast<char>(i);
  bytes->asciiSame = Converted(ascii, codePage) == ascii;
  const auto info = platform::GetCodePageInfo(codePage);
  if (!info || info->maxCharSize != 1) return bytes;
  for (unsigned byte = 0; byte < 256; ++byte) {
    const char one = static_cast<char>(byte);
    // A byte the converter cannot read alone leaves the page to the converter.
    if (platform::MultiByteToWide(std::string_view(&one, 1), codePage).empty()) return bytes;
    bytes->utf8[byte] = Converted(std::string_view(&one, 1), codePage);
  }
  bytes->everyByte = true;
  return bytes;
}

const TByteTexts& ByteTextsOf(unsigned codePage) {
  thread_local std::map<unsigned, std::unique_ptr<TByteTexts>> pages;
  std::unique_ptr<TByteTexts>& page = pages[codePage];
  if (!page) page = ByteTextsFor(codePage);
  return *page;
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

unsigned CharsetCodePage(framework::TFontCharset charset) {
  for (const CharsetCodePageEntry& entry : kCharsetCodePages) {
    if (entry.charset == charset) return entry.codePage;
  }
  return platform::AnsiCodePage();
}

std::string ToUtf8(std::string_view text, unsigned codePage) {
  // Damaged UTF-8 goes through the converter, which shows each bad byte as U+FFFD.
  if (codePage == kUtf8 && IsWholeUtf8(text)) return std::string(text);
  const TByteTexts& bytes = ByteTextsOf(platform::ResolveCodePage(codePage));
  if (bytes.asciiSame && IsAscii(text)) return std::string(text);
  if (!bytes.everyByte) return Converted(text, codePage);
  std::string utf8;
  utf8.reserve(text.size() + text.size() / 2);
  for (const char c : text)
    utf8 += bytes.utf8[static_cast<unsigned char>(c)];
  return utf8;
}

std::string FromUtf8(std::string_view text, unsigned codePage) {
  if (codePage == kUtf8) return std::string(text);
  return platform::WideToMultiByte(platform::MultiByteToWide(text, kUtf8), codePage);
}

std::string MnemonicText(std::string_view caption) {
  std::string text;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    const char c = caption[i];
    if (c == '_') {
      text += "__";
    } else if (c != '&') {
      text += c;
    } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
      text += '&';
      ++i;
    } else if (i + 1 < caption.size()) {
      text += '_';
    }
  }
  return text;
}

PangoDirection OwnDirection(std::string_view text) {
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  return pango_find_base_dir(text.data(), static_cast<gint>(text.size()));
  G_GNUC_END_IGNORE_DEPRECATIONS
}

bool HasOwnDirection(std::string_view text) {
  return OwnDirection(text) != PANGO_DIRECTION_NEUTRAL;
}

std::string RightToLeftText(std::string text) {
  return HasOwnDirection(text) ? text : "\u200F" + text;
}

std::vector<std::size_t> HotKeyPlaces(std::string_view caption) {
  std::vector<std::size_t> places;
  std::size_t shown = 0;  // bytes of the plain text so far
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != '&') {
      ++shown;
    } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
      ++shown;
      ++i;
    } else if (i + 1 < caption.size()) {
      places.push_back(shown);
    }
  }
  return places;
}

TFontFace FaceOf(const framework::TFont& font) {
  const framework::TFontStyles style = font.Style();
  return {font.Name(),
          font.Size(),
          style.Contains(framework::fsBold),
          style.Contains(framework::fsItalic),
          style.Contains(framework::fsUnderline),
          style.Contains(framework::fsStrikeOut)};
}

std::string FontCss(const framework::TFont& font) {
  const TFontFace face = FaceOf(font);
  std::string css = "* { font-family: " + CssString(face.family) + ";";
  // A font with no size of its own keeps the toolkit's.
  if (face.size > 0) css += " font-size: " + std::to_string(face.size) + "pt;";
  css += face.bold ? " font-weight: bold;" : " font-weight: normal;";
  css += face.italic ? " font-style: italic;" : " font-style: normal;";
  std::string lines;
  if (face.underline) lines += " underline";
  if (face.strikeOut) lines += " line-through";
  css += " text-decoration-line:" + (lines.empty() ? std::string(" none") : lines) + "; }";
  return css;
}

}  // namespace lx::screen

// Dictionary images (".pld") described field by field, written to bytes and
// parsed back: what tests and the lxpld tool build images from.
//
// Texts are UTF-8 here. An 8-bit image holds each text in the code page of its
// field: a language's native name and its translations in the language's code
// page, a locale's native texts in the locale's code page, and every other text
// (which the reader takes in the system's code page) in `PldImage::textCodePage`,
// so that an image never depends on the machine that wrote it. A UTF-16 image
// holds every text as UTF-16.
//
// The writer lays the sections out as header, languages, translations, locales.
// Every number that the format has is a field here, so tests can write any
// value; the helpers at the end damage finished images on purpose.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/Exception.h"

namespace lx::tools {

/// A description or an image that cannot be written or parsed. The message names the
/// record and field: "languages[2].nativeName: ...".
class PldImageError : public platform::Exception {
 public:
  using Exception::Exception;
};

struct PldLanguage {
  int primaryLanguage = 0;
  int subLanguage = 0;
  /// ISO codes of at most two characters, padded with NULs (version 2 and later).
  std::string isoLanguage;
  std::string isoCountry;
  /// Comma-separated sub-language ids, and the codes kept beside them (version 2 on).
  std::string subLanguages;
  std::string subLanguageCodes;
  /// Written from version 3 on.
  int charset = 0;
  int codePage = 0;
  int flags = 0;
  std::string englishName;
  std::string nativeName;
  std::string fontName;
  int fontSize = 0;
  /// Bytes after the known fields, counted in the record length (version 3 and later).
  std::vector<std::uint8_t> extra;

  bool operator==(const PldLanguage&) const = default;
};

struct PldLocale {
  int primaryLanguage = 0;
  int subLanguage = 0;
  std::string isoLanguage;
  std::string isoCountry;
  int charset = 0;
  int codePage = 0;
  int custom = 1;
  std::string englishLanguageName;
  std::string englishCountryName;
  std::string nativeLanguageName;
  std::string nativeCountryName;
  std::string abbrevLanguageName;
  std::string countryName;
  int measurement = 0;
  std::string currencyString;
  int currencyFormat = 0;
  int negCurrFormat = 0;
  int currencyDecimals = 0;
  /// One-character fields; empty writes NUL.
  std::string thousandSeparator;
  std::string decimalSeparator;
  std::string dateSeparator;
  std::string shortDateFormat;
  std::string longDateFormat;
  std::string timeSeparator;
  std::string timeAMString;
  std::string timePMString;
  int hourLeadingZero = 0;
  int timeFormat = 0;
  int timeMarkPosition = 0;
  int calendarType = 0;
  int optionalCalendar = 0;
  int firstDayOfWeek = 0;
  int firstWeekOfYear = 0;
  std::array<std::string, 12> shortMonthNames;
  std::array<std::string, 12> longMonthNames;
  /// Monday first.
  std::array<std::string, 7> shortDayNames;
  std::array<std::string, 7> longDayNames;
  std::vector<std::uint8_t> extra;

  bool operator==(const PldLocale&) const = default;
};

/// What the variants of a translation are chosen by.
enum class PldVariantKind { None = 0, Plural = 1, Choice = 2 };

/// One variant of a text: its keyword (a CLDR plural category "one", "few", ... or a
/// choice's keyword "male"), then one text per language, the native one first ("" = the
/// language has none of this variant).
struct PldVariant {
  std::string keyword;
  std::vector<std::string> texts;

  bool operator==(const PldVariant&) const = default;
};

struct PldTranslation {
  /// The native text first, then one text per further language ("" = not translated).
  std::vector<std::string> texts;
  /// Written when the image's content flags carry them.
  std::string context;
  std::string id;
  /// Plural or choice variants, written to the variant section (version 2 on) under the
  /// same keys; a reader that does not know that section sees `texts` alone.
  PldVariantKind variantKind = PldVariantKind::None;
  std::vector<PldVariant> variants{};

  bool operator==(const PldTranslation&) const = default;
};

struct PldImage {
  int version = 3;
  bool bigEndian = false;
  bool utf16 = false;
  /// 0 = no key strings, 1 = context and id, 2 = id only, 3 = context only.
  int contentFlags = 0;
  /// Code page of the texts the reader takes in the system's code page, in 8-bit images;
  /// 0 = that of language 0, or 1252 when it names none.
  int textCodePage = 0;
  std::vector<PldLanguage> languages;
  std::vector<PldTranslation> translations;
  std::vector<PldLocale> locales;

  bool operator==(const PldImage&) const = default;
};

/// The code page `textCodePage` stands for in `image`.
int EffectiveTextCodePage(const PldImage& image);

/// The image's bytes. Fields that its version does not have are left out. Raises
/// PldImageError for a value that does not fit its field, a text that its code page cannot
/// hold, a code page that is not installed or a translation with the wrong number of texts.
std::vector<std::uint8_t> WritePldImage(const PldImage& image);

/// Puts the translations in the order a reading dictionary sorts them into: by native text,
/// then (with key strings) character 127, context and id, as the image's bytes, so that it
/// finds them in order and sorts nothing. When two records share a key the order stays as it
/// is, since that order decides which of them answers. The image's texts are in the code
/// page `textCodePage` stands for; for UTF-16 images the same order is a good guess.
void SortTranslationsByKey(PldImage& image);

/// `WritePldImage` of the image with its translations sorted by key, as lxpld and lxpo write
/// them. An error names the record by its place in `image`, as `WritePldImage` does.
std::vector<std::uint8_t> WritePldImageInKeyOrder(const PldImage& image);

/// Reads back an image laid out as the writer lays it out (sections found by their
/// offsets). Raises PldImageError, naming the record, for bytes that do not make one.
PldImage ParsePldImage(std::span<const std::uint8_t> bytes);

/// Three languages (native with primary 0, German with code page 1252, Russian with 1251),
/// four translations keyed by context and id (content flags 1) of which some lack a text,
/// and one custom locale (German, Austria). Version 3, little-endian, 8-bit texts; change
/// what a test needs.
PldImage SamplePldImage();

// ---- Damage on purpose

constexpr int kPldHeaderSize = 42;

/// The fourth section holds the variants.
/// The fourth section holds the variants.
enum class PldSection { Languages, Translations, Locales, Fourth };

/// Header fields of a finished image, in the image's byte order.
std::uint16_t SectionCount(std::span<const std::uint8_t> image, PldSection section);
std::uint32_t SectionOffset(std::span<const std::uint8_t> image, PldSection section);
void SetSectionCount(std::vector<std::uint8_t>& image, PldSection section, std::uint16_t count);
void SetSectionOffset(std::vector<std::uint8_t>& image, PldSection section, std::uint32_t offset);

}  // namespace lx::tools

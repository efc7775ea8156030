// The fields of language and locale records in the order the image holds them,
// walked by the writer, the parser and the JSON form alike so that all agree by
// construction. `io` knows the image's version and how to move one field (U8,
// U16, Text, Fixed, Texts); a code page of 0 stands for the text code page.
#pragma once

#include "pldimage/PldImage.h"

namespace lx::tools::detail {

template <class Io, class Language>
void LanguageFields(Io& io, Language& language) {
  io.U16("primaryLanguage", language.primaryLanguage);
  if (io.version >= 2) io.Fixed("isoLanguage", language.isoLanguage, 2, 0);
  io.U16("subLanguage", language.subLanguage);
  if (io.version >= 2) io.Fixed("isoCountry", language.isoCountry, 2, 0);
  io.Text("subLanguages", language.subLanguages, 0);
  if (io.version >= 2) io.Text("subLanguageCodes", language.subLanguageCodes, 0);
  if (io.version >= 3) io.U16("charset", language.charset);
  io.U16("codePage", language.codePage);
  io.U8("flags", language.flags);
  io.Text("englishName", language.englishName, 0);
  io.Text("nativeName", language.nativeName, language.codePage);
  io.Text("fontName", language.fontName, 0);
  io.U8("fontSize", language.fontSize);
}

/// For the binary layouts: a fixed number of texts one after the other.
template <class Io, class Names>
void TextsInTurn(Io& io, const char* name, Names& names, int codePage) {
  for (auto& text : names)
    io.Text(name, text, codePage);
}

template <class Io, class Locale>
void LocaleFields(Io& io, Locale& locale) {
  io.U16("primaryLanguage", locale.primaryLanguage);
  if (io.version >= 2) io.Fixed("isoLanguage", locale.isoLanguage, 2, 0);
  io.U16("subLanguage", locale.subLanguage);
  if (io.version >= 2) io.Fixed("isoCountry", locale.isoCountry, 2, 0);
  if (io.version >= 3) io.U16("charset", locale.charset);
  io.U16("codePage", locale.codePage);
  const int cp = locale.codePage;
  io.U8("custom", locale.custom);
  io.Text("englishLanguageName", locale.englishLanguageName, 0);
  io.Text("englishCountryName", locale.englishCountryName, 0);
  io.Text("nativeLanguageName", locale.nativeLanguageName, cp);
  io.Text("nativeCountryName", locale.nativeCountryName, cp);
  io.Text("abbrevLanguageName", locale.abbrevLanguageName, 0);
  io.Text("countryName", locale.countryName, 0);
  io.U8("measurement", locale.measurement);
  io.Text("currencyString", locale.currencyString, cp);
  io.U8("currencyFormat", locale.currencyFormat);
  io.U8("negCurrFormat", locale.negCurrFormat);
  io.U8("currencyDecimals", locale.currencyDecimals);
  io.Fixed("thousandSeparator", locale.thousandSeparator, 1, cp);
  io.Fixed("decimalSeparator", locale.decimalSeparator, 1, cp);
  io.Fixed("dateSeparator", locale.dateSeparator, 1, cp);
  io.Text("shortDateFormat", locale.shortDateFormat, cp);
  io.Text("longDateFormat", locale.longDateFormat, cp);
  io.Fixed("timeSeparator", locale.timeSeparator, 1, cp);
  io.Text("timeAMString", locale.timeAMString, cp);
  io.Text("timePMString", locale.timePMString, cp);
  io.U8("hourLeadingZero", locale.hourLeadingZero);
  io.U8("timeFormat", locale.timeFormat);
  io.U8("timeMarkPosition", locale.timeMarkPosition);
  io.U8("calendarType", locale.calendarType);
  io.U8("optionalCalendar", locale.optionalCalendar);
  io.U8("firstDayOfWeek", locale.firstDayOfWeek);
  io.U8("firstWeekOfYear", locale.firstWeekOfYear);
  io.Texts("shortMonthNames", locale.shortMonthNames, cp);
  io.Texts("longMonthNames", locale.longMonthNames, cp);
  io.Texts("shortDayNames", locale.shortDayNames, cp);
  io.Texts("longDayNames", locale.longDayNames, cp);
}

/// Version 0 and 1 are laid out alike, and anything above 3 as 3.
inline int LayoutVersion(int version) {
  return version < 1 ? 1 : (version > 3 ? 3 : version);
}

/// Header offsets.
inline constexpr int kVersionAt = 3;
inline constexpr int kLittleEndianAt = 4;
inline constexpr int kAnsiAt = 5;
inline constexpr int kContentFlagsAt = 6;
inline constexpr int kVersion1AnsiAt = 7;
inline constexpr int kCountAt[4] = {12, 18, 24, 30};
inline constexpr int kOffsetAt[4] = {14, 20, 26, 32};

}  // namespace lx::tools::detail

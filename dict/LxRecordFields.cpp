#include "dict/LxRecordFields.h"

namespace lx::dict {

bool TLxRecordIo::HasCharset() const {
  switch (layout_) {
    case TLxRecordLayout::kFile:
      return version_ >= 3;
    case TLxRecordLayout::kList:
      return version_ >= 2;
    case TLxRecordLayout::kData:
      break;
  }
  return true;
}

namespace {

// A field a record holds in another shape: `get` gives the stored value to a writer, `set`
// takes the value a reader found.
template <typename Value, typename Move, typename Get, typename Set>
void Shaped(TLxRecordIo& io, Move move, Get get, Set set) {
  Value value = io.Reading() ? Value{} : get();
  move(value);
  if (io.Reading()) set(value);
}

template <typename Number>
void SmallNumber(TLxRecordIo& io, Number& field) {
  Shaped<int>(
      io, [&io](int& value) { io.Small(value); }, [&field] { return static_cast<int>(field); },
      [&field](int value) { field = static_cast<Number>(value); });
}

void Charset(TLxRecordIo& io, std::uint8_t& charset) {
  Shaped<int>(
      io, [&io](int& value) { io.Word(value); }, [&charset] { return static_cast<int>(charset); },
      [&charset](int value) { charset = static_cast<std::uint8_t>(value); });
}

std::string Joined(const framework::TStrings& list) {
  std::string text;
  for (int i = 0; i < list.Count(); ++i)
    text += (i > 0 ? "," : "") + list.Strings(i);
  return text;
}

void SubLanguages(TLxRecordIo& io, lang::TLxLanguage& language) {
  Shaped<std::string>(
      io, [&io](std::string& text) { io.Text(text, 0); },
      [&language] { return language.GetSubLanguagesText(); },
      [&language](const std::string& text) { language.SetSubLanguagesText(text); });
}

void SubLanguageCodes(TLxRecordIo& io, lang::TLxLanguage& language) {
  Shaped<std::string>(
      io, [&io](std::string& text) { io.Text(text, 0); },
      [&language] { return Joined(language.SubLanguageCodes); },
      [&language](const std::string& text) { language.SetSubLanguageCodesText(text); });
}

void LanguageFlags(TLxRecordIo& io, lang::TLxLanguage& language) {
  Shaped<std::uint8_t>(
      io, [&io](std::uint8_t& bits) { io.FlagBits(bits); },
      [&language] { return static_cast<std::uint8_t>(language.Flags.ToMask() & 3); },
      [&language](std::uint8_t bits) { language.SetFlagsFromByte(bits); });
}

// The ISO codes of the dictionary file stand for no language or country under id 0.
void IsoCode(TLxRecordIo& io, std::string& code, int id) {
  io.IsoCode(code, true);
  if (io.Reading() && id == 0) code.clear();
}

template <std::size_t N>
void Texts(TLxRecordIo& io, std::array<std::string, N>& texts, int codePage) {
  for (std::string& text : texts)
    io.Text(text, codePage);
}

void LocaleNames(TLxRecordIo& io, lang::TLxLocale& locale) {
  const int codePage = locale.CodePage;
  io.Text(locale.EnglishLanguageName, 0);
  io.Text(locale.EnglishCountryName, 0);
  io.Text(locale.NativeLanguageName, codePage);
  io.Text(locale.NativeCountryName, codePage);
  io.Text(locale.AbbrevLanguageName, 0);
  io.Text(locale.CountryName, 0);
}

void LocaleFormats(TLxRecordIo& io, lang::TLxLocale& locale) {
  const int codePage = locale.CodePage;
  SmallNumber(io, locale.Measurement);
  io.Text(locale.CurrencyString, codePage);
  SmallNumber(io, locale.CurrencyFormat);
  SmallNumber(io, locale.NegCurrFormat);
  SmallNumber(io, locale.CurrencyDecimals);
  io.Char(locale.ThousandSeparator, codePage);
  io.Char(locale.DecimalSeparator, codePage);
  io.Char(locale.DateSeparator, codePage);
  io.Text(locale.ShortDateFormat, codePage);
  io.Text(locale.LongDateFormat, codePage);
  io.Char(locale.TimeSeparator, codePage);
  io.Text(locale.TimeAMString, codePage);
  io.Text(locale.TimePMString, codePage);
  io.Flag(locale.HourLeadingZero);
  SmallNumber(io, locale.TimeFormat);
  SmallNumber(io, locale.TimeMarkPosition);
  SmallNumber(io, locale.CalendarType);
  SmallNumber(io, locale.OptionalCalendar);
  SmallNumber(io, locale.FirstDayOfWeek);
  SmallNumber(io, locale.FirstWeekOfYear);
  Texts(io, locale.ShortMonthNames, codePage);
  Texts(io, locale.LongMonthNames, codePage);
  Texts(io, locale.ShortDayNames, codePage);
  Texts(io, locale.LongDayNames, codePage);
}

}  // namespace

// The file holds the sub-languages after the ids and the flags before the names; the
// embedded forms the sub-languages between the ids and the flags last.
void LanguageFields(TLxRecordIo& io, lang::TLxLanguage& language) {
  const bool file = io.Layout() == TLxRecordLayout::kFile;
  io.Word(language.PrimaryLanguage);
  if (io.HasIsoCodes()) IsoCode(io, language.IsoLanguageName, language.PrimaryLanguage);
  if (!file) SubLanguages(io, language);
  io.Word(language.SubLanguage);
  if (io.HasIsoCodes()) IsoCode(io, language.IsoCountryName, language.SubLanguage);
  if (file) SubLanguages(io, language);
  if (io.HasIsoCodes()) SubLanguageCodes(io, language);
  if (io.HasCharset()) Charset(io, language.Charset);
  Shaped<int>(
      io, [&io](int& value) { io.Word(value); }, [&language] { return language.CodePage; },
      [&language](int value) { language.SetCodePage(value); });
  if (file) LanguageFlags(io, language);
  io.Text(language.EnglishName, 0);
  io.Text(language.NativeName, language.CodePage);
  io.Text(language.FontName, 0);
  SmallNumber(io, language.FontSize);
  if (!file) LanguageFlags(io, language);
}

// A locale's ISO codes in the file are derived from its ids and never kept; the sort id and
// the list separator are not stored.
void LocaleFields(TLxRecordIo& io, lang::TLxLocale& locale) {
  io.Word(locale.PrimaryLanguage);
  std::string unused;
  if (io.HasIsoCodes()) io.IsoCode(unused, false);
  io.Word(locale.SubLanguage);
  if (io.HasIsoCodes()) io.IsoCode(unused, false);
  if (io.Reading()) {
    locale.SortId = 0;
    locale.ListSeparator = '\0';
  }
  if (io.HasCharset()) {
    Charset(io, locale.Charset);
  } else if (io.Reading()) {
    locale.Charset = 0;
  }
  io.Word(locale.CodePage);
  io.Flag(locale.Custom);
  LocaleNames(io, locale);
  LocaleFormats(io, locale);
}

}  // namespace lx::dict

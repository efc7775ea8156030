// TLxCustomFileDictionary: the binary dictionary data a form carries, read and written.
#include <algorithm>

#include "dict/LxAPoly.h"
#include "framework/streaming/FormResources.h"
#include "lang/LxParser.h"
#include "platform/Exception.h"

namespace lx::dict {

namespace {

using framework::TStream;

constexpr int kDataVersion = 1;
constexpr std::size_t kMaxText = 0xFFFF;

// ---- Primitives. Every read takes exactly its bytes or raises the stream read error, so
// data cut short is an error rather than whatever happens to follow.

template <typename T>
T ReadNumber(TStream& data) {
  std::uint8_t bytes[sizeof(T)];
  data.ReadBuffer(bytes, sizeof(T));
  T value = 0;
  for (std::size_t i = sizeof(T); i-- > 0;)
    value = static_cast<T>((value << 8) | bytes[i]);
  return value;
}

std::uint8_t ReadU8(TStream& data) {
  return ReadNumber<std::uint8_t>(data);
}

std::uint16_t ReadU16(TStream& data) {
  return ReadNumber<std::uint16_t>(data);
}

std::uint32_t ReadU32(TStream& data) {
  return ReadNumber<std::uint32_t>(data);
}

// Read as a u16 into a byte field, as the format stores some byte fields.
std::uint8_t ReadU16Byte(TStream& data) {
  return static_cast<std::uint8_t>(ReadU16(data));
}

std::string ReadText16(TStream& data) {
  const std::uint16_t length = ReadU16(data);
  if (length > data.Remaining()) throw platform::EReadError("Stream read error");
  std::string text(length, '\0');
  data.ReadBuffer(text.data(), length);
  return text;
}

void SkipText16(TStream& data) {
  const std::uint16_t length = ReadU16(data);
  if (length > data.Remaining()) throw platform::EReadError("Stream read error");
  data.Seek(length, framework::TSeekOrigin::soCurrent);
}

template <std::size_t N>
void ReadTexts(TStream& data, std::array<std::string, N>& texts) {
  for (std::string& text : texts)
    text = ReadText16(data);
}

template <typename T>
void WriteNumber(TStream& data, T value) {
  std::uint8_t bytes[sizeof(T)];
  for (std::size_t i = 0; i < sizeof(T); ++i)
    bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
  data.WriteBuffer(bytes, sizeof(T));
}

void WriteU8(TStream& data, int value) {
  WriteNumber(data, static_cast<std::uint8_t>(value));
}

void WriteU16(TStream& data, int value) {
  WriteNumber(data, static_cast<std::uint16_t>(value));
}

void WriteU32(TStream& data, std::uint32_t value) {
  WriteNumber(data, value);
}

// A text longer than its count can say is cut to what the count holds.
void WriteText16(TStream& data, std::string_view text) {
  const std::size_t length = std::min(text.size(), kMaxText);
  WriteU16(data, static_cast<int>(length));
  data.WriteBuffer(text.data(), static_cast<std::int64_t>(length));
}

template <std::size_t N>
void WriteTexts(TStream& data, const std::array<std::string, N>& texts) {
  for (const std::string& text : texts)
    WriteText16(data, text);
}

void CheckVersion(TStream& data, const char* what) {
  const std::uint16_t version = ReadU16(data);
  if (version > kDataVersion) {
    throw platform::Exception(std::string("Unknown ") + what +
                              " data version: " + std::to_string(version));
  }
}

bool HasContext(int contentFlags) {
  return contentFlags == 1 || contentFlags == 3;
}

bool HasId(int contentFlags) {
  return contentFlags == 1 || contentFlags == 2;
}

void ReadLocaleFormats(TStream& data, lang::TLxLocale& locale) {
  locale.Measurement = ReadU16Byte(data);
  locale.CurrencyString = ReadText16(data);
  locale.CurrencyFormat = ReadU16Byte(data);
  locale.NegCurrFormat = ReadU16Byte(data);
  locale.CurrencyDecimals = ReadU16Byte(data);
  locale.ThousandSeparator = static_cast<char>(ReadU8(data));
  locale.DecimalSeparator = static_cast<char>(ReadU8(data));
  locale.DateSeparator = static_cast<char>(ReadU8(data));
  locale.ShortDateFormat = ReadText16(data);
  locale.LongDateFormat = ReadText16(data);
  locale.TimeSeparator = static_cast<char>(ReadU8(data));
  locale.TimeAMString = ReadText16(data);
  locale.TimePMString = ReadText16(data);
  locale.HourLeadingZero = ReadU8(data) != 0;
  locale.TimeFormat = ReadU16Byte(data);
  locale.TimeMarkPosition = ReadU16Byte(data);
  locale.CalendarType = ReadU16Byte(data);
  locale.OptionalCalendar = ReadU16Byte(data);
  locale.FirstDayOfWeek = ReadU16Byte(data);
  locale.FirstWeekOfYear = ReadU16Byte(data);
  ReadTexts(data, locale.ShortMonthNames);
  ReadTexts(data, locale.LongMonthNames);
  ReadTexts(data, locale.ShortDayNames);
  ReadTexts(data, locale.LongDayNames);
}

void WriteLocaleFormats(TStream& data, const lang::TLxLocale& locale) {
  WriteU16(data, locale.Measurement);
  WriteText16(data, locale.CurrencyString);
  WriteU16(data, locale.CurrencyFormat);
  WriteU16(data, locale.NegCurrFormat);
  WriteU16(data, locale.CurrencyDecimals);
  WriteU8(data, locale.ThousandSeparator);
  WriteU8(data, locale.DecimalSeparator);
  WriteU8(data, locale.DateSeparator);
  WriteText16(data, locale.ShortDateFormat);
  WriteText16(data, locale.LongDateFormat);
  WriteU8(data, locale.TimeSeparator);
  WriteText16(data, locale.TimeAMString);
  WriteText16(data, locale.TimePMString);
  WriteU8(data, locale.HourLeadingZero ? 1 : 0);
  WriteU16(data, locale.TimeFormat);
  WriteU16(data, locale.TimeMarkPosition);
  WriteU16(data, locale.CalendarType);
  WriteU16(data, locale.OptionalCalendar);
  WriteU16(data, locale.FirstDayOfWeek);
  WriteU16(data, locale.FirstWeekOfYear);
  WriteTexts(data, locale.ShortMonthNames);
  WriteTexts(data, locale.LongMonthNames);
  WriteTexts(data, locale.ShortDayNames);
  WriteTexts(data, locale.LongDayNames);
}

}  // namespace

std::unique_ptr<framework::TMemoryStream> TLxCustomFileDictionary::ReadStoredProperty(
    const TLxStoredComponent& component, std::string_view propertyName) {
  const auto resource =
      framework::FindFormResource(platform::MainModule(), component.ownerClassName);
  TLxReader reader(*resource, 4096);
  TLxReader::FindStoredProperty(reader, component.className, component.componentName, propertyName);
  if (reader.NextValue() != framework::vaBinary) {
    throw platform::Exception("Invalid property type!");
  }
  return std::make_unique<framework::TMemoryStream>(reader.ReadBinary());
}

// ---- Entries

void TLxCustomFileDictionary::ReadLanguageEntry(TStream& data, lang::TLxLanguage& language) {
  language.PrimaryLanguage = ReadU16(data);
  language.SetSubLanguagesText(ReadText16(data));
  language.SubLanguage = ReadU16(data);
  language.Charset = ReadU16Byte(data);
  language.SetCodePage(ReadU16(data));
  language.EnglishName = ReadText16(data);
  language.NativeName = ReadText16(data);
  language.FontName = ReadText16(data);
  language.FontSize = ReadU16(data);
  language.SetFlagsFromByte(ReadU8(data));
  language.Validate();
}

void TLxCustomFileDictionary::WriteLanguageEntry(TStream& data, const lang::TLxLanguage& language) {
  WriteU16(data, language.PrimaryLanguage);
  WriteText16(data, language.GetSubLanguagesText());
  WriteU16(data, language.SubLanguage);
  WriteU16(data, language.Charset);
  WriteU16(data, language.CodePage);
  WriteText16(data, language.EnglishName);
  WriteText16(data, language.NativeName);
  WriteText16(data, language.FontName);
  WriteU16(data, language.FontSize);
  WriteU8(data, language.Flags.ToMask() & 3);
}

void TLxCustomFileDictionary::ReadLocaleEntry(TStream& data, lang::TLxLocale& locale) {
  locale.PrimaryLanguage = ReadU16(data);
  locale.SubLanguage = ReadU16(data);
  locale.Charset = ReadU16Byte(data);
  locale.CodePage = ReadU16(data);
  locale.Custom = ReadU8(data) != 0;
  locale.EnglishLanguageName = ReadText16(data);
  locale.EnglishCountryName = ReadText16(data);
  locale.NativeLanguageName = ReadText16(data);
  locale.NativeCountryName = ReadText16(data);
  locale.AbbrevLanguageName = ReadText16(data);
  locale.CountryName = ReadText16(data);
  ReadLocaleFormats(data, locale);
  locale.Validate();
}

void TLxCustomFileDictionary::WriteLocaleEntry(TStream& data, const lang::TLxLocale& locale) {
  WriteU16(data, locale.PrimaryLanguage);
  WriteU16(data, locale.SubLanguage);
  WriteU16(data, locale.Charset);
  WriteU16(data, locale.CodePage);
  WriteU8(data, locale.Custom ? 1 : 0);
  WriteText16(data, locale.EnglishLanguageName);
  WriteText16(data, locale.EnglishCountryName);
  WriteText16(data, locale.NativeLanguageName);
  WriteText16(data, locale.NativeCountryName);
  WriteText16(data, locale.AbbrevLanguageName);
  WriteText16(data, locale.CountryName);
  WriteLocaleFormats(data, locale);
}

// ---- Counting passes

int TLxCustomFileDictionary::CountLanguageData(TStream& data) {
  CheckVersion(data, "language");
  const int count = ReadU16(data);
  for (int i = 0; i < count; ++i) {
    lang::TLxLanguage language;
    ReadLanguageEntry(data, language);
  }
  return count;
}

int TLxCustomFileDictionary::CountTranslationData(TStream& data, int languageCount) {
  CheckVersion(data, "translation");
  const int contentFlags = ReadU16(data);
  const std::uint32_t count = ReadU32(data);
  const int keys = (HasContext(contentFlags) ? 1 : 0) + (HasId(contentFlags) ? 1 : 0);
  const int texts = 1 + keys + std::max(languageCount - 1, 0);
  for (std::uint32_t i = 0; i < count; ++i) {
    for (int text = 0; text < texts; ++text)
      SkipText16(data);
  }
  return static_cast<int>(std::min<std::uint32_t>(count, INT32_MAX));
}

int TLxCustomFileDictionary::CountLocaleData(TStream& data) {
  CheckVersion(data, "locale");
  const int count = ReadU16(data);
  for (int i = 0; i < count; ++i) {
    lang::TLxLocale locale;
    ReadLocaleEntry(data, locale);
  }
  return count;
}

// ---- Queries

void TLxCustomFileDictionary::ReadLanguageData(TStream& data, int index, lang::TLxLanguage& dest) {
  CheckVersion(data, "language");
  ReadU16(data);
  const lang::TLxLanguage empty;
  for (int i = 0; i <= index; ++i) {
    dest.Assign(empty);
    ReadLanguageEntry(data, dest);
  }
}

void TLxCustomFileDictionary::ReadLanguagesData(
    TStream& data, std::vector<std::unique_ptr<lang::TLxLanguage>>& list) {
  CheckVersion(data, "language");
  for (int i = 0, count = ReadU16(data); i < count; ++i) {
    auto language = std::make_unique<lang::TLxLanguage>();
    ReadLanguageEntry(data, *language);
    list.push_back(std::move(language));
  }
}

void TLxCustomFileDictionary::ReadLocaleData(TStream& data, int index, lang::TLxLocale& dest) {
  CheckVersion(data, "locale");
  ReadU16(data);
  const lang::TLxLocale empty;
  for (int i = 0; i <= index; ++i) {
    dest.Assign(empty);
    ReadLocaleEntry(data, dest);
  }
}

void TLxCustomFileDictionary::ReadLocalesData(TStream& data,
                                              std::vector<std::unique_ptr<lang::TLxLocale>>& list) {
  CheckVersion(data, "locale");
  for (int i = 0, count = ReadU16(data); i < count; ++i) {
    auto locale = std::make_unique<lang::TLxLocale>();
    ReadLocaleEntry(data, *locale);
    list.push_back(std::move(locale));
  }
}

bool TLxCustomFileDictionary::LoadTranslationData(TStream& data, int languageCount, int activeIndex,
                                                  int fallbackIndex) {
  CheckVersion(data, "translation");
  const int contentFlags = ReadU16(data);
  const std::uint32_t count = ReadU32(data);
  for (std::uint32_t i = 0; i < count; ++i) {
    lang::TLxTranslation translation;
    translation.Native = lang::TLxStringParser::DecodeString(ReadText16(data));
    if (HasContext(contentFlags)) translation.Context = ReadText16(data);
    if (HasId(contentFlags)) translation.Id = ReadText16(data);
    std::string active;
    std::string fallback;
    for (int language = 1; language < languageCount; ++language) {
      if (language == activeIndex) {
        active = lang::TLxStringParser::DecodeString(ReadText16(data));
      } else if (language == fallbackIndex) {
        fallback = lang::TLxStringParser::DecodeString(ReadText16(data));
      } else {
        SkipText16(data);
      }
    }
    if (SetTranslationText(translation, active, fallback) == lang::TLxTranslation::kNoText)
      continue;
    ConvertNativeString(translation);
    TranslationTable().Add(translation);
  }
  return contentFlags != 0;
}

// ---- Writers

void TLxCustomFileDictionary::WriteLanguageData(TStream& data, TLxPLDFile& file) {
  WriteU16(data, kDataVersion);
  WriteU16(data, file.LanguageCount());
  file.SeekLanguages();
  for (int i = 0; i < file.LanguageCount(); ++i)
    WriteLanguageEntry(data, file.ReadLanguage());
}

void TLxCustomFileDictionary::WriteTranslationData(TStream& data, TLxPLDFile& file) {
  WriteU16(data, kDataVersion);
  WriteU16(data, file.ContentFlags());
  WriteU32(data, static_cast<std::uint32_t>(file.TranslationCount()));
  file.SeekTranslations();
  for (int i = 0; i < file.TranslationCount(); ++i) {
    framework::TStringList texts;
    std::string context;
    std::string id;
    file.ReadRawTranslation(texts, context, id);
    WriteText16(data, texts.Strings(0));
    if (file.HasContext()) WriteText16(data, context);
    if (file.HasId()) WriteText16(data, id);
    for (int text = 1; text < texts.Count(); ++text)
      WriteText16(data, texts.Strings(text));
  }
}

void TLxCustomFileDictionary::WriteLocaleData(TStream& data, TLxPLDFile& file) {
  WriteU16(data, kDataVersion);
  WriteU16(data, file.LocaleCount());
  if (file.LocaleCount() == 0) return;
  file.SeekLocales();
  for (int i = 0; i < file.LocaleCount(); ++i)
    WriteLocaleEntry(data, file.ReadLocale());
}

}  // namespace lx::dict

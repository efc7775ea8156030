// TLxCustomFileDictionary: the binary dictionary data a form carries, read and written.
#include <algorithm>

#include "dict/LxAPoly.h"
#include "dict/LxRecordFields.h"
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

// The embedded data's fields: ids, character sets and one-byte numbers as u16, flags and
// separators as one byte, texts with a u16 count.
class TDataReader final : public TLxRecordIo {
 public:
  explicit TDataReader(TStream& data) : TLxRecordIo(TLxRecordLayout::kData, 1, true), data_(data) {}
  void Word(int& value) override { value = ReadU16(data_); }
  void Small(int& value) override { value = ReadU16(data_); }
  void Flag(bool& value) override { value = ReadU8(data_) != 0; }
  void FlagBits(std::uint8_t& bits) override { bits = ReadU8(data_); }
  void Char(char& value, int) override { value = static_cast<char>(ReadU8(data_)); }
  void Text(std::string& value, int) override { value = ReadText16(data_); }
  void IsoCode(std::string&, bool) override {}

 private:
  TStream& data_;
};

class TDataWriter final : public TLxRecordIo {
 public:
  explicit TDataWriter(TStream& data)
      : TLxRecordIo(TLxRecordLayout::kData, 1, false), data_(data) {}
  void Word(int& value) override { WriteU16(data_, value); }
  void Small(int& value) override { WriteU16(data_, value); }
  void Flag(bool& value) override { WriteU8(data_, value ? 1 : 0); }
  void FlagBits(std::uint8_t& bits) override { WriteU8(data_, bits); }
  void Char(char& value, int) override { WriteU8(data_, value); }
  void Text(std::string& value, int) override { WriteText16(data_, value); }
  void IsoCode(std::string&, bool) override {}

 private:
  TStream& data_;
};

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
  TDataReader reader(data);
  LanguageFields(reader, language);
  language.Validate();
}

// The walk takes the record as it is; a writer leaves it untouched.
void TLxCustomFileDictionary::WriteLanguageEntry(TStream& data, const lang::TLxLanguage& language) {
  TDataWriter writer(data);
  LanguageFields(writer, const_cast<lang::TLxLanguage&>(language));
}

void TLxCustomFileDictionary::ReadLocaleEntry(TStream& data, lang::TLxLocale& locale) {
  TDataReader reader(data);
  LocaleFields(reader, locale);
  locale.Validate();
}

void TLxCustomFileDictionary::WriteLocaleEntry(TStream& data, const lang::TLxLocale& locale) {
  TDataWriter writer(data);
  LocaleFields(writer, const_cast<lang::TLxLocale&>(locale));
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

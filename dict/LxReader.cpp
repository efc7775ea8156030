#include "dict/LxReader.h"

#include <algorithm>

#include "dict/LxRecordFields.h"
#include "framework/streaming/FormResources.h"
#include "lang/LxParser.h"
#include "platform/Exception.h"

namespace lx::dict {

namespace {

using framework::TReader;

constexpr int kBufferSize = 4096;
constexpr int kLastListVersion = 2;

// The one stored property open for a list-form query, and the resource it is read from.
std::unique_ptr<framework::TResourceStream> openStream;
std::unique_ptr<TLxReader> openReader;

[[noreturn]] void NotFound() {
  throw platform::EResNotFound("Could not find the property");
}

void ReadComponentHeader(TReader& reader, std::string& className, std::string& name) {
  framework::TFilerFlags flags;
  int childPos = 0;
  reader.ReadPrefix(flags, childPos);
  className = reader.ReadStr();
  name = reader.ReadStr();
}

// Reads the list head: the list marker and the version, which must not pass 2.
int ReadListVersion(TReader& reader, const char* what) {
  reader.ReadListBegin();
  const int version = reader.ReadInteger();
  if (version > kLastListVersion) {
    throw platform::Exception(std::string("Unknown ") + what +
                              " data version: " + std::to_string(version));
  }
  return version;
}

// The list form's fields: numbers as integers, flags as booleans, separators as characters.
class TListReader final : public TLxRecordIo {
 public:
  TListReader(TReader& reader, int version)
      : TLxRecordIo(TLxRecordLayout::kList, version, true), reader_(reader) {}
  void Word(int& value) override { value = reader_.ReadInteger(); }
  void Small(int& value) override { value = reader_.ReadInteger(); }
  void Flag(bool& value) override { value = reader_.ReadBoolean(); }
  void FlagBits(std::uint8_t& bits) override {
    const bool user = reader_.ReadBoolean();
    const bool anyCodePage = reader_.ReadBoolean();
    bits = static_cast<std::uint8_t>((user ? 1 : 0) | (anyCodePage ? 2 : 0));
  }
  void Char(char& value, int) override { value = reader_.ReadChar(); }
  void Text(std::string& value, int) override { value = reader_.ReadString(); }
  void IsoCode(std::string&, bool) override {}

 private:
  TReader& reader_;
};

void ReadListLanguageEntry(TReader& reader, int version, lang::TLxLanguage& language) {
  reader.ReadListBegin();
  TListReader fields(reader, version);
  LanguageFields(fields, language);
  reader.ReadListEnd();
  language.Validate();
}

void ReadListLocaleEntry(TReader& reader, int version, lang::TLxLocale& locale) {
  reader.ReadListBegin();
  TListReader fields(reader, version);
  LocaleFields(fields, locale);
  reader.ReadListEnd();
  locale.Validate();
}

// Closes the open property when the query is over, whatever happens.
class TOpenProperty {
 public:
  TOpenProperty(const TLxStoredComponent& component, std::string_view propertyName)
      : reader_(TLxReader::OpenStoredProperty(component, propertyName)) {}
  ~TOpenProperty() { TLxReader::CloseStoredProperty(); }
  TOpenProperty(const TOpenProperty&) = delete;
  TOpenProperty& operator=(const TOpenProperty&) = delete;
  TLxReader& Reader() { return reader_; }

 private:
  TLxReader& reader_;
};

}  // namespace

void TLxReader::FindStoredProperty(TReader& reader, std::string_view className,
                                   std::string_view componentName, std::string_view propertyName) {
  reader.ReadSignature();
  std::string storedClass;
  std::string storedName;
  ReadComponentHeader(reader, storedClass, storedName);
  while (!reader.EndOfList())
    SkipProperty(reader);
  reader.ReadListEnd();
  for (;;) {
    if (reader.EndOfList()) NotFound();
    ReadComponentHeader(reader, storedClass, storedName);
    if (storedClass == className && storedName == componentName) break;
    reader.SkipComponent(false);
  }
  for (;;) {
    if (reader.EndOfList()) NotFound();
    if (reader.ReadStr() == propertyName) return;
    SkipValue(reader);
  }
}

TLxReader& TLxReader::OpenStoredProperty(const TLxStoredComponent& component,
                                         std::string_view propertyName) {
  CloseStoredProperty();
  auto stream = framework::FindFormResource(platform::MainModule(), component.ownerClassName);
  auto reader = std::make_unique<TLxReader>(*stream, kBufferSize);
  FindStoredProperty(*reader, component.className, component.componentName, propertyName);
  openStream = std::move(stream);
  openReader = std::move(reader);
  return *openReader;
}

void TLxReader::CloseStoredProperty() {
  openReader.reset();
  openStream.reset();
}

int CountListLanguages(TReader& reader) {
  const int version = ReadListVersion(reader, "language");
  const int count = reader.ReadInteger();
  for (int i = 0; i < count; ++i) {
    lang::TLxLanguage language;
    ReadListLanguageEntry(reader, version, language);
  }
  reader.ReadListEnd();
  return count;
}

namespace {

// The keys of the records: the content flags of version 2, none before.
int ReadListContentFlags(TReader& reader, int version) {
  return version >= 2 ? reader.ReadInteger() : 0;
}

bool HasContext(int contentFlags) {
  return contentFlags == 1 || contentFlags == 3;
}

bool HasId(int contentFlags) {
  return contentFlags == 1 || contentFlags == 2;
}

}  // namespace

int CountListTranslations(TReader& reader, int languageCount) {
  const int version = ReadListVersion(reader, "translation");
  const int contentFlags = ReadListContentFlags(reader, version);
  const int count = reader.ReadInteger();
  const int keys = (HasContext(contentFlags) ? 1 : 0) + (HasId(contentFlags) ? 1 : 0);
  for (int i = 0; i < count; ++i) {
    reader.ReadListBegin();
    for (int text = 0; text < 1 + keys + std::max(languageCount - 1, 0); ++text)
      reader.ReadString();
    reader.ReadListEnd();
  }
  reader.ReadListEnd();
  return count;
}

int CountListLocales(TReader& reader) {
  const int version = ReadListVersion(reader, "locale");
  const int count = reader.ReadInteger();
  for (int i = 0; i < count; ++i) {
    lang::TLxLocale locale;
    ReadListLocaleEntry(reader, version, locale);
  }
  reader.ReadListEnd();
  return count;
}

void ReadListLanguage(const TLxStoredComponent& component, int index, lang::TLxLanguage& dest) {
  TOpenProperty property(component, "Languages");
  TReader& reader = property.Reader();
  const int version = ReadListVersion(reader, "language");
  reader.ReadInteger();
  const lang::TLxLanguage empty;
  for (int i = 0; i <= index; ++i) {
    dest.Assign(empty);
    ReadListLanguageEntry(reader, version, dest);
  }
}

void ReadListLanguages(const TLxStoredComponent& component,
                       std::vector<std::unique_ptr<lang::TLxLanguage>>& list) {
  TOpenProperty property(component, "Languages");
  TReader& reader = property.Reader();
  const int version = ReadListVersion(reader, "language");
  for (int i = 0, count = reader.ReadInteger(); i < count; ++i) {
    auto language = std::make_unique<lang::TLxLanguage>();
    ReadListLanguageEntry(reader, version, *language);
    list.push_back(std::move(language));
  }
}

void ReadListLocale(const TLxStoredComponent& component, int index, lang::TLxLocale& dest) {
  TOpenProperty property(component, "Locales");
  TReader& reader = property.Reader();
  const int version = ReadListVersion(reader, "locale");
  reader.ReadInteger();
  const lang::TLxLocale empty;
  for (int i = 0; i <= index; ++i) {
    dest.Assign(empty);
    ReadListLocaleEntry(reader, version, dest);
  }
}

void ReadListLocales(const TLxStoredComponent& component,
                     std::vector<std::unique_ptr<lang::TLxLocale>>& list) {
  TOpenProperty property(component, "Locales");
  TReader& reader = property.Reader();
  const int version = ReadListVersion(reader, "locale");
  for (int i = 0, count = reader.ReadInteger(); i < count; ++i) {
    auto locale = std::make_unique<lang::TLxLocale>();
    ReadListLocaleEntry(reader, version, *locale);
    list.push_back(std::move(locale));
  }
}

std::uint8_t SetTranslationText(lang::TLxTranslation& translation, const std::string& active,
                                const std::string& fallback) {
  if (!active.empty()) {
    translation.Translation = active;
    translation.State = lang::TLxTranslation::kActiveText;
  } else if (!fallback.empty()) {
    translation.Translation = fallback;
    translation.State = lang::TLxTranslation::kFallbackText;
  } else {
    translation.State = lang::TLxTranslation::kNoText;
  }
  return translation.State;
}

bool LoadListTranslations(const TLxStoredComponent& component, int languageCount, int activeIndex,
                          int fallbackIndex, TLxTranslationList& table) {
  TOpenProperty property(component, "Translations");
  TReader& reader = property.Reader();
  const int version = ReadListVersion(reader, "translation");
  const int contentFlags = ReadListContentFlags(reader, version);
  for (int i = 0, count = reader.ReadInteger(); i < count; ++i) {
    reader.ReadListBegin();
    lang::TLxTranslation translation;
    translation.Native = lang::TLxStringParser::DecodeString(reader.ReadString());
    if (HasContext(contentFlags)) translation.Context = reader.ReadString();
    if (HasId(contentFlags)) translation.Id = reader.ReadString();
    std::string active;
    std::string fallback;
    for (int language = 1; language < languageCount; ++language) {
      std::string text = lang::TLxStringParser::DecodeString(reader.ReadString());
      if (language == activeIndex) {
        active = std::move(text);
      } else if (language == fallbackIndex) {
        fallback = std::move(text);
      }
    }
    reader.ReadListEnd();
    if (SetTranslationText(translation, active, fallback) != lang::TLxTranslation::kNoText)
      table.Add(translation);
  }
  return contentFlags != 0;
}

}  // namespace lx::dict

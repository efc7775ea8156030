#include "dict/LxBinDic.h"

#include "framework/rtti/Published.h"
#include "framework/streaming/Streams.h"
#include "platform/FileSystem.h"
#include "platform/Resources.h"

namespace lx::dict {

namespace {

constexpr std::string_view kResourceType = "LXDICTIONARY";
constexpr std::string_view kResourceName = "PlDictionary";

void CheckIndex(int index, int count, const char* what) {
  if (index < 0 || index >= count) {
    throw platform::ERangeError(std::string(what) + " index " + std::to_string(index) +
                                " is out of range");
  }
}

// Embedded dictionary data is read from the owner's stored form; without a
// reader for it every query that needs records fails this way.
[[noreturn]] void NoEmbeddedData() {
  throw lang::ELxPoly("No dictionary data! Set the FileName property.");
}

}  // namespace

LX_PUBLISHED(TLxBinaryDictionary)

TLxBinaryDictionary::TLxBinaryDictionary(framework::TComponent* owner)
    : TLxCustomFileDictionary(owner) {}

bool TLxBinaryDictionary::ReadsImage() const {
  if (Storage() != lxsEmbedded) return true;
  return IsDesigning() && platform::FileExists(FileName());
}

std::unique_ptr<TLxPLDFile> TLxBinaryDictionary::OpenSource() {
  if (StoredFileName().empty()) throw platform::Exception("No FileName property set");
  auto reader = std::make_unique<TLxPLDFile>();
  // The file is opened as the resource is, so that the same bytes answer alike in both.
  if (Storage() == lxsFile || (IsDesigning() && platform::FileExists(FileName()))) {
    reader->OpenStream(std::make_unique<framework::TFileStream>(
        FileName(), framework::TFileStream::Mode::OpenRead));
  } else {
    reader->OpenStream(std::make_unique<framework::TResourceStream>(platform::MainModule(),
                                                                    kResourceName, kResourceType));
  }
  SetContextKeys(reader->ContentFlags() != 0);
  return reader;
}

int TLxBinaryDictionary::GetLanguageCount() {
  return ReadsImage() ? OpenSource()->LanguageCount() : storedLanguageCount_;
}

int TLxBinaryDictionary::GetTranslationCount() {
  return ReadsImage() ? OpenSource()->TranslationCount() : storedTranslationCount_;
}

int TLxBinaryDictionary::GetLocaleCount() {
  return ReadsImage() ? OpenSource()->LocaleCount() : storedLocaleCount_;
}

void TLxBinaryDictionary::GetLanguage(int index, lang::TLxLanguage& dest) {
  if (!ReadsImage()) NoEmbeddedData();
  const auto reader = OpenSource();
  CheckIndex(index, reader->LanguageCount(), "Language");
  dest.Assign(*reader->ReadLanguageAt(index));
}

void TLxBinaryDictionary::GetLanguages(std::vector<std::unique_ptr<lang::TLxLanguage>>& list) {
  if (!ReadsImage()) NoEmbeddedData();
  const auto reader = OpenSource();
  reader->SeekLanguages();
  for (int i = 0; i < reader->LanguageCount(); ++i)
    list.push_back(reader->ReadLanguage().Clone());
}

void TLxBinaryDictionary::GetLocale(int index, lang::TLxLocale& dest) {
  if (!ReadsImage()) NoEmbeddedData();
  const auto reader = OpenSource();
  CheckIndex(index, reader->LocaleCount(), "Locale");
  dest.Assign(*reader->ReadLocaleAt(index));
}

void TLxBinaryDictionary::GetLocales(std::vector<std::unique_ptr<lang::TLxLocale>>& list) {
  if (!ReadsImage()) {
    if (storedLocaleCount_ > 0) NoEmbeddedData();
    return;
  }
  const auto reader = OpenSource();
  if (reader->LocaleCount() == 0) return;
  reader->SeekLocales();
  for (int i = 0; i < reader->LocaleCount(); ++i)
    list.push_back(reader->ReadLocale().Clone());
}

void TLxBinaryDictionary::LoadTranslations() {
  ClearTranslations();
  if (ReadsImage()) {
    const auto reader = OpenSource();
    const int codePage = CurrentLanguage().CodePage;
    reader->SeekTranslations();
    TLxTranslationList& table = TranslationTable();
    table.Reserve(static_cast<std::size_t>(reader->TranslationCount()), 0);
    // One record serves every entry: the table keeps copies of the texts.
    lang::TLxTranslation record;
    for (int i = 0; i < reader->TranslationCount(); ++i) {
      const std::uint8_t state =
          reader->ReadTranslation(record, ActiveLanguageIndex(), FallbackLanguageIndex(), codePage);
      if (state == lang::TLxTranslation::kNoText) continue;
      ConvertNativeString(record);
      table.Add(record);
    }
  } else if (storedTranslationCount_ > 0) {
    NoEmbeddedData();
  }
  SortTranslations();
}

}  // namespace lx::dict

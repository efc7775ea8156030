// Arbitrary bytes as the stored form of a data module whose dictionary embeds its data:
// every stored property is looked for and read by its counting pass and its queries, in the
// list form and the binary form, and the whole form is loaded with the dictionary's own
// stored-property readers and queried.
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "dict/LxBinDic.h"
#include "dict/LxReader.h"
#include "framework/controls/Forms.h"
#include "framework/rtti/ClassRegistry.h"
#include "framework/rtti/Published.h"
#include "platform/Exception.h"
#include "platform/Resources.h"

namespace {

using namespace lx;
using dict::TLxCustomFileDictionary;

constexpr std::string_view kModule = "TFuzzModule";
const dict::TLxStoredComponent kComponent{std::string(kModule), "TLxBinaryDictionary",
                                          "Dictionary"};

class TFuzzModule : public framework::TDataModule {
  LX_CLASS(TFuzzModule, framework::TDataModule)

 public:
  explicit TFuzzModule(framework::TComponent* owner) : TDataModule(owner) {}
};

// Loads translations into its own table, as the dictionary does from embedded data.
class TFuzzDictionary : public dict::TLxBinaryDictionary {
 public:
  TFuzzDictionary() : TLxBinaryDictionary(nullptr) {}
  bool Load(framework::TStream& data) { return LoadTranslationData(data, 3, 2, 1); }
};

LX_PUBLISHED(TFuzzModule)

template <typename F>
void Refused(F action) {
  try {
    action();
  } catch (const platform::Exception&) {
    // Refused with a message: what bad bytes should get.
  }
  dict::TLxReader::CloseStoredProperty();
}

void ReadListForms() {
  Refused([] {
    dict::CountListLanguages(dict::TLxReader::OpenStoredProperty(kComponent, "Languages"));
  });
  Refused([] {
    dict::CountListTranslations(dict::TLxReader::OpenStoredProperty(kComponent, "Translations"), 3);
  });
  Refused(
      [] { dict::CountListLocales(dict::TLxReader::OpenStoredProperty(kComponent, "Locales")); });
  Refused([] {
    std::vector<std::unique_ptr<lang::TLxLanguage>> languages;
    dict::ReadListLanguages(kComponent, languages);
    lang::TLxLanguage language;
    dict::ReadListLanguage(kComponent, 1, language);
  });
  Refused([] {
    std::vector<std::unique_ptr<lang::TLxLocale>> locales;
    dict::ReadListLocales(kComponent, locales);
    lang::TLxLocale locale;
    dict::ReadListLocale(kComponent, 0, locale);
  });
  Refused([] {
    dict::TLxTranslationList table;
    dict::LoadListTranslations(kComponent, 3, 2, 1, table);
  });
}

// Runs `read` on the bytes of the binary property, from their start.
template <typename F>
void WithBinary(std::string_view property, F read) {
  Refused([&] {
    const auto data = TLxCustomFileDictionary::ReadStoredProperty(kComponent, property);
    read(*data);
  });
}

void ReadBinaryForms() {
  WithBinary("LanguageData", [](framework::TStream& data) {
    Refused([&] { TLxCustomFileDictionary::CountLanguageData(data); });
    data.SetPosition(0);
    std::vector<std::unique_ptr<lang::TLxLanguage>> languages;
    Refused([&] { TLxCustomFileDictionary::ReadLanguagesData(data, languages); });
    data.SetPosition(0);
    lang::TLxLanguage language;
    TLxCustomFileDictionary::ReadLanguageData(data, 1, language);
  });
  WithBinary("TranslationData", [](framework::TStream& data) {
    Refused([&] { TLxCustomFileDictionary::CountTranslationData(data, 3); });
    data.SetPosition(0);
    TFuzzDictionary dictionary;
    dictionary.Load(data);
  });
  WithBinary("LocaleData", [](framework::TStream& data) {
    Refused([&] { TLxCustomFileDictionary::CountLocaleData(data); });
    data.SetPosition(0);
    std::vector<std::unique_ptr<lang::TLxLocale>> locales;
    Refused([&] { TLxCustomFileDictionary::ReadLocalesData(data, locales); });
    data.SetPosition(0);
    lang::TLxLocale locale;
    TLxCustomFileDictionary::ReadLocaleData(data, 0, locale);
  });
}

// The form as a program loads it, then every query of its dictionary.
void LoadAndQuery() {
  TFuzzModule module(nullptr);
  try {
    framework::LoadFormResource(module);
  } catch (const platform::Exception&) {
    return;
  }
  auto* dictionary = dynamic_cast<dict::TLxBinaryDictionary*>(module.FindComponent("Dictionary"));
  if (dictionary == nullptr) return;
  Refused([&] {
    std::vector<std::unique_ptr<lang::TLxLanguage>> languages;
    dictionary->GetLanguages(languages);
  });
  Refused([&] {
    std::vector<std::unique_ptr<lang::TLxLocale>> locales;
    dictionary->GetLocales(locales);
  });
  Refused([&] {
    lang::TLxLocale locale;
    dictionary->GetLocale(0, locale);
  });
  Refused([&] {
    dictionary->SetCheckLevel(lang::lxclNone);
    dictionary->SetLanguage(1);
    dictionary->Open();
  });
  Refused([&] { dictionary->Close(); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool registered =
      (framework::RegisterClass(dict::TLxBinaryDictionary::StaticClassInfo()), true);
  (void)registered;
  platform::RegisterResource(platform::RT_RCDATA, kModule, std::span(data, size));
  ReadListForms();
  ReadBinaryForms();
  LoadAndQuery();
  platform::UnregisterResource(platform::RT_RCDATA, kModule);
  return 0;
}

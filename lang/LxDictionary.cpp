#include "lang/LxDictionary.h"

#include <algorithm>
#include <cstdint>

#include "framework/rtti/Published.h"
#include "framework/streaming/Filer.h"
#include "lang/LxCustomTranslator.h"
#include "lang/LxDictionaries.h"
#include "lang/LxExceptionHandler.h"
#include "lang/LxLanguageIds.h"
#include "lang/LxParser.h"
#include "lang/LxRedirection.h"
#include "lang/LxSystemSupport.h"
#include "platform/CodePages.h"
#include "platform/SystemLocale.h"

namespace lx::lang {

LX_PUBLISHED(
    TLxDictionary, Property("Enabled", &TLxDictionary::Enabled, &TLxDictionary::SetEnabled, true),
    Property("DictionaryName", &TLxDictionary::DictionaryName, &TLxDictionary::SetDictionaryName),
    Property("PrimaryLanguage", &TLxDictionary::PrimaryLanguage, &TLxDictionary::SetPrimaryLanguage,
             0),
    Property("SubLanguage", &TLxDictionary::SubLanguage, &TLxDictionary::SetSubLanguage, 1),
    Property("Language", &TLxDictionary::Language, &TLxDictionary::SetLanguage, -1),
    Property("MasterLanguage", &TLxDictionary::MasterLanguage, &TLxDictionary::SetMasterLanguage,
             0),
    Property("Binding", &TLxDictionary::Binding, &TLxDictionary::SetBinding, lxbiLocaleToLanguage),
    Property("Options", &TLxDictionary::Options, &TLxDictionary::SetOptions,
             kLxAllDictionaryOptions),
    Property("MissingTranslation", &TLxDictionary::MissingTranslation,
             &TLxDictionary::SetMissingTranslation, lxmtUseNative),
    Property("Euro", &TLxDictionary::Euro, &TLxDictionary::SetEuro, lxeNormal).Stored(false),
    Property("CheckLevel", &TLxDictionary::CheckLevel, &TLxDictionary::SetCheckLevel, lxclCodePage),
    Event("OnBeforeOpen", &TLxDictionary::OnBeforeOpen),
    Event("OnAfterOpen", &TLxDictionary::OnAfterOpen),
    Event("OnBeforeClose", &TLxDictionary::OnBeforeClose),
    Event("OnAfterClose", &TLxDictionary::OnAfterClose),
    Event("OnLanguageChange", &TLxDictionary::OnLanguageChange),
    Event("OnLocaleChange", &TLxDictionary::OnLocaleChange))

namespace {

framework::TObject* ObjectOfLanguageId(int primaryLanguage) {
  return reinterpret_cast<framework::TObject*>(static_cast<std::intptr_t>(primaryLanguage));
}

void Fire(const framework::TNotifyEvent& event, framework::TObject* sender) {
  if (event) event(sender);
}

}  // namespace

int LanguageIdOf(const framework::TObject* object) {
  return static_cast<int>(reinterpret_cast<std::intptr_t>(object));
}

TLxDictionary::TLxDictionary(framework::TComponent* owner)
    : TComponent(owner),
      currentLanguage_(std::make_unique<TLxLanguage>()),
      currentLocale_(std::make_unique<TLxLocale>()) {
  if (TLxDictionaries* dictionaries = Dictionaries()) dictionaries->Add(this);
  InstallExceptionHandler();
}

TLxDictionary::~TLxDictionary() {
  UnlinkTranslators();
  // An open dictionary is not closed, but the redirection it holds must not outlive it.
  ReleaseResourceStringRedirection(this);
  if (TLxDictionaries* dictionaries = Dictionaries()) dictionaries->Remove(this);
}

// ---- Properties

int TLxDictionary::PrimaryLanguage() const {
  return PRIMARYLANGID(locale_);
}

void TLxDictionary::SetPrimaryLanguage(int value) {
  SetLocale(MAKELCID(MAKELANGID(value, SubLanguage()), 0));
}

int TLxDictionary::SubLanguage() const {
  return SUBLANGID(locale_);
}

void TLxDictionary::SetSubLanguage(int value) {
  SetLocale(MAKELCID(MAKELANGID(PrimaryLanguage(), value), 0));
}

// ---- Stored form

void TLxDictionary::DefineProperties(framework::TFiler& filer) {
  TComponent::DefineProperties(filer);
  filer.DefineProperty(
      "DictionaryCode", [](framework::TReader& reader) { reader.ReadInteger(); }, nullptr, false);
}

// ---- State

void TLxDictionary::Open() {
  Fire(OnBeforeOpen, this);
  DoOpen();
  Fire(OnAfterOpen, this);
}

void TLxDictionary::Close() {
  Fire(OnBeforeClose, this);
  DoClose();
  Fire(OnAfterClose, this);
}

const TLxLanguage& TLxDictionary::LanguageAt(int index) {
  if (index < 0 || index >= GetLanguageCount())
    throw platform::ERangeError("Out of language range");
  if (index == activeLanguageIndex_) return *currentLanguage_;
  // The new record is made before the old one goes, so that the two never share an address.
  auto language = std::make_unique<TLxLanguage>();
  GetLanguage(index, *language);
  scratchLanguage_ = std::move(language);
  return *scratchLanguage_;
}

// ---- Translators

void TLxDictionary::RegisterTranslator(TLxCustomTranslator* translator) {
  if (translator == nullptr || IsRegistered(translator)) return;
  translators_.push_back({translator, translator});
  FreeNotification(translator);
}

void TLxDictionary::UnregisterTranslator(TLxCustomTranslator* translator) {
  std::erase_if(translators_,
                [translator](const TranslatorLink& link) { return link.translator == translator; });
}

bool TLxDictionary::IsRegistered(const TLxCustomTranslator* translator) const {
  return std::any_of(
      translators_.begin(), translators_.end(),
      [translator](const TranslatorLink& link) { return link.translator == translator; });
}

void TLxDictionary::UnlinkTranslators() {
  while (!translators_.empty()) {
    TLxCustomTranslator* first = translators_.front().translator;
    first->Close();
    // A translator whose Close leaves it registered would hold the loop forever.
    UnregisterTranslator(first);
  }
}

TLxCustomTranslator* TLxDictionary::Translators(int index) const {
  if (index < 0 || index >= TranslatorCount())
    throw platform::EListError("List index out of bounds (" + std::to_string(index) + ")");
  return translators_[static_cast<std::size_t>(index)].translator;
}

void TLxDictionary::Notification(framework::TComponent* component,
                                 framework::TOperation operation) {
  TComponent::Notification(component, operation);
  // Only the address is compared: the translator may be half destroyed already.
  if (operation == framework::opRemove) {
    std::erase_if(translators_,
                  [component](const TranslatorLink& link) { return link.component == component; });
  }
}

// ---- Languages and locales

bool TLxDictionary::TranslateWord(const std::string& word, std::string& value) {
  return Translate(word, "", value, "");
}

void TLxDictionary::GetLanguages(std::vector<std::unique_ptr<TLxLanguage>>& list) {
  const int count = GetLanguageCount();
  for (int i = 0; i < count; ++i) {
    auto language = std::make_unique<TLxLanguage>();
    GetLanguage(i, *language);
    list.push_back(std::move(language));
  }
}

void TLxDictionary::GetLocales(std::vector<std::unique_ptr<TLxLocale>>& list) {
  const int count = GetLocaleCount();
  for (int i = 0; i < count; ++i) {
    auto locale = std::make_unique<TLxLocale>();
    GetLocale(i, *locale);
    list.push_back(std::move(locale));
  }
}

void TLxDictionary::GetLanguageNames(framework::TStrings& strings, bool native) {
  std::vector<std::unique_ptr<TLxLanguage>> languages;
  GetLanguages(languages);
  for (auto it = languages.begin(); it != languages.end(); ++it) {
    const TLxLanguage& language = **it;
    const bool seen = std::any_of(languages.begin(), it, [&language](const auto& earlier) {
      return earlier->PrimaryLanguage == language.PrimaryLanguage;
    });
    if (seen) continue;
    strings.AddObject(native ? language.NativeName : language.EnglishName,
                      ObjectOfLanguageId(language.PrimaryLanguage));
  }
}

void TLxDictionary::GetSupportedLocales(std::vector<int>& list) {
  AppendSystemLocales(list);
  const int count = GetLocaleCount();
  for (int i = 0; i < count; ++i) {
    TLxLocale locale;
    GetLocale(i, locale);
    const int lcid = locale.LocaleId();
    if (std::find(list.begin(), list.end(), lcid) == list.end()) list.push_back(lcid);
  }
}

bool TLxDictionary::IsLocaleSupported(int lcid) {
  std::vector<int> supported;
  GetSupportedLocales(supported);
  return std::find(supported.begin(), supported.end(), lcid) != supported.end();
}

void TLxDictionary::ConvertNativeString(TLxTranslation& translation) const {
  if (!options_.Contains(lxdoConvertNativeString) || translation.Context.empty()) return;
  const int systemCodePage = static_cast<int>(platform::AnsiCodePage());
  if (systemCodePage == nativeCodePage_) return;
  const std::u16string wide = AnsiToWide(translation.Native, nativeCodePage_);
  // A native code page that cannot be read gives nothing to re-encode; the text stays.
  if (wide.empty()) return;
  if (platform::WideToMultiByte(wide, platform::CP_UTF8) == translation.Native) return;
  translation.Native = WideToAnsi(wide, systemCodePage);
}

}  // namespace lx::lang

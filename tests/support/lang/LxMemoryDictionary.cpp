#include "support/lang/LxMemoryDictionary.h"

#include "framework/rtti/Published.h"
#include "platform/Exception.h"

namespace lx::support {

LX_PUBLISHED(TLxMemoryDictionary)

TLxMemoryDictionary::TLxMemoryDictionary(framework::TComponent* owner) : TLxDictionary(owner) {}

int TLxMemoryDictionary::AddLanguage(const lang::TLxLanguage& language) {
  auto copy = language.Clone();
  copy->Validate();
  languages_.push_back(std::move(copy));
  return static_cast<int>(languages_.size()) - 1;
}

int TLxMemoryDictionary::AddLanguage(int primaryLanguage, int subLanguage, int codePage,
                                     std::string_view subLanguages, std::string englishName,
                                     lang::TLxLanguageFlags flags) {
  return AddLanguage(lang::TLxLanguage(primaryLanguage, subLanguage, codePage, subLanguages,
                                       std::move(englishName), "", "", 0, flags));
}

int TLxMemoryDictionary::AddLocale(const lang::TLxLocale& locale) {
  auto copy = locale.Clone();
  copy->Custom = true;
  locales_.push_back(std::move(copy));
  return static_cast<int>(locales_.size()) - 1;
}

void TLxMemoryDictionary::SetText(const std::string& word, int languageIndex,
                                  const std::string& text, const std::string& context,
                                  const std::string& id) {
  entries_[lang::TLxTranslation::KeyOf(word, context, id)][languageIndex] = text;
  if (!context.empty() || !id.empty()) SetContextKeys(true);
}

void TLxMemoryDictionary::SetVariant(const std::string& word, int languageIndex,
                                     const std::string& keyword, const std::string& text,
                                     const std::string& context, const std::string& id) {
  variants_[lang::TLxTranslation::KeyOf(word, context, id) + "|" + keyword][languageIndex] = text;
}

bool TLxMemoryDictionary::TranslateVariant(const std::string& word, const std::string& context,
                                           const std::string& id, const std::string& keyword,
                                           std::string& value) {
  const auto entry = variants_.find(lang::TLxTranslation::KeyOf(word, context, id) + "|" + keyword);
  return entry != variants_.end() && TextOf(entry->second, value);
}

int TLxMemoryDictionary::GetLanguageCount() {
  return static_cast<int>(languages_.size());
}

void TLxMemoryDictionary::GetLanguage(int index, lang::TLxLanguage& dest) {
  if (index < 0 || index >= GetLanguageCount())
    throw platform::EListError("List index out of bounds (" + std::to_string(index) + ")");
  dest.Assign(*languages_[static_cast<std::size_t>(index)]);
}

int TLxMemoryDictionary::GetLocaleCount() {
  return static_cast<int>(locales_.size());
}

void TLxMemoryDictionary::GetLocale(int index, lang::TLxLocale& dest) {
  if (index < 0 || index >= GetLocaleCount())
    throw platform::EListError("List index out of bounds (" + std::to_string(index) + ")");
  dest.Assign(*locales_[static_cast<std::size_t>(index)]);
}

int TLxMemoryDictionary::GetTranslationCount() {
  return static_cast<int>(entries_.size());
}

bool TLxMemoryDictionary::TextOf(const LanguageTexts& texts, std::string& value) const {
  for (const int index : {ActiveLanguageIndex(), FallbackLanguageIndex()}) {
    if (const auto text = texts.find(index); text != texts.end()) {
      value = text->second;
      return true;
    }
  }
  return false;
}

bool TLxMemoryDictionary::Translate(const std::string& word, const std::string& context,
                                    std::string& value, const std::string& id) {
  lookups.push_back(word + "|" + context + "|" + id);
  const auto entry = entries_.find(lang::TLxTranslation::KeyOf(word, context, id));
  return entry != entries_.end() && TextOf(entry->second, value);
}

bool TLxMemoryDictionary::TranslateWord(const std::string& word, std::string& value) {
  lookups.push_back(word);
  const std::string prefix = word + lang::TLxTranslation::kKeySeparator;
  for (auto entry = entries_.lower_bound(prefix);
       entry != entries_.end() && entry->first.starts_with(prefix); ++entry) {
    if (TextOf(entry->second, value)) return true;
  }
  return false;
}

void TLxMemoryDictionary::Change(bool languageChanged, bool localeChanged) {
  changes.emplace_back(languageChanged, localeChanged);
  TLxDictionary::Change(languageChanged, localeChanged);
}

}  // namespace lx::support

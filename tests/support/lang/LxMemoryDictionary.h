// A dictionary whose languages, locales and translations are given in code, for
// the tests of everything that uses a dictionary.
//
//   TLxMemoryDictionary dictionary(nullptr);
//   dictionary.AddLanguage(0, 0, 1252);                    // 0: the native language
//   dictionary.AddLanguage(10, 1, 1252, "", "Spanish");    // 1
//   dictionary.SetText("Open", 1, "Abrir");                // word, language, text
//   dictionary.SetText("Open", 1, "Abrir fichero", "TMainForm", "OpenItem");
//   dictionary.SetLanguage(1);
//   dictionary.Open();
//
// A look-up answers with the active language's text, else with the fallback
// language's; an entry given an empty text is found with that empty text.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "lang/LxDictionary.h"

namespace lx::support {

class TLxMemoryDictionary : public lang::TLxDictionary {
  LX_CLASS(TLxMemoryDictionary, lang::TLxDictionary)

 public:
  explicit TLxMemoryDictionary(framework::TComponent* owner);

  /// Appends a copy of `language`, validated as a stored dictionary's languages are; returns
  /// its index.
  int AddLanguage(const lang::TLxLanguage& language);
  /// Appends a language built from these fields (see TLxLanguage's field constructor).
  int AddLanguage(int primaryLanguage, int subLanguage, int codePage,
                  std::string_view subLanguages = "", std::string englishName = "",
                  lang::TLxLanguageFlags flags = {});
  /// Appends one of the dictionary's own locales (marked custom).
  int AddLocale(const lang::TLxLocale& locale);

  /// The text of (word, context, id) in language `languageIndex`. A context or id makes the
  /// dictionary report context keys.
  void SetText(const std::string& word, int languageIndex, const std::string& text,
               const std::string& context = "", const std::string& id = "");

  /// The text of variant `keyword` (a plural category or a choice) of (word, context, id)
  /// in language `languageIndex`.
  void SetVariant(const std::string& word, int languageIndex, const std::string& keyword,
                  const std::string& text, const std::string& context = "",
                  const std::string& id = "");
  bool TranslateVariant(const std::string& word, const std::string& context, const std::string& id,
                        const std::string& keyword, std::string& value) override;
  /// Whether the dictionary can be opened (`CanOpen`).
  bool canOpen = true;
  /// Every (languageChanged, localeChanged) pair `Change` was called with, in order.
  std::vector<std::pair<bool, bool>> changes;
  /// Every keyed look-up as "word|context|id", and every look-up by word alone as "word".
  std::vector<std::string> lookups;

  int GetLanguageCount() override;
  /// Raises EListError "List index out of bounds (<index>)" for an unknown index.
  void GetLanguage(int index, lang::TLxLanguage& dest) override;
  int GetLocaleCount() override;
  void GetLocale(int index, lang::TLxLocale& dest) override;
  int GetTranslationCount() override;
  bool Translate(const std::string& word, const std::string& context, std::string& value,
                 const std::string& id) override;
  bool TranslateWord(const std::string& word, std::string& value) override;
  bool CanOpen() override { return canOpen; }

  // Open to the tests.
  using TLxDictionary::Change;
  using TLxDictionary::SelectLanguage;
  using TLxDictionary::SelectLocale;
  using TLxDictionary::SetContextKeys;

 protected:
  void Change(bool languageChanged, bool localeChanged) override;

 private:
  // The texts of one entry by language index.
  using LanguageTexts = std::map<int, std::string>;

  bool TextOf(const LanguageTexts& texts, std::string& value) const;

  std::vector<std::unique_ptr<lang::TLxLanguage>> languages_;
  std::vector<std::unique_ptr<lang::TLxLocale>> locales_;
  // By key text (word, separator, context, id), so that the entries of one word are adjacent.
  std::map<std::string, LanguageTexts> entries_;
  // By key text and keyword.
  std::map<std::string, LanguageTexts> variants_;
};

}  // namespace lx::support

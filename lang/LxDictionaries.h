// The process-wide registry of dictionaries, the default dictionary, and the
// look-up of a word with the rule for missing translations.
//
// Every dictionary registers itself when it is created, under an automatic name
// when it has none; translators find their dictionary here by name. The default
// dictionary is the one at `DefaultDictionaryIndex()`; it translates resource
// strings, shortcut texts, exception messages and translated display names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/Object.h"

namespace lx::lang {

class TLxDictionary;

/// The dictionaries of the process in registration order; it does not own them.
class TLxDictionaries : public framework::TObject {
  LX_CLASS(TLxDictionaries, framework::TObject)

 public:
  TLxDictionaries() = default;

  int Count() const { return static_cast<int>(items_.size()); }
  /// Raises EListError "List index out of bounds (<index>)" outside 0..Count-1.
  TLxDictionary* Items(int index) const;
  /// The first dictionary whose `DictionaryName` is exactly name (case-sensitive), or null.
  TLxDictionary* Find(std::string_view name) const;
  /// Names a dictionary without a name "Dictionary<n>", n counting from Count+1 to the first
  /// free name, then appends it.
  void Add(TLxDictionary* dictionary);
  void Remove(TLxDictionary* dictionary);

 private:
  std::vector<TLxDictionary*> items_;
};

/// The registry; null only once the process has finished (after static destruction began).
/// The first call sets the unit up: the registry, the default index 0, TLxDictionary in the
/// class registry, and translated display names (kLxTranslatedName) through the default
/// dictionary.
TLxDictionaries* Dictionaries();

/// Which registered dictionary is the default; 0 at start-up.
std::uint32_t DefaultDictionaryIndex();
void SetDefaultDictionaryIndex(std::uint32_t index);

/// Raises ERangeError "DefaultDictionaryIndex is out or range: <index>" when dictionaries are
/// registered and the index is not below their count.
void CheckDefaultDictionaryIndex();
/// The default dictionary; null when none is registered. Checks the index first.
TLxDictionary* DefaultDictionary();
/// Whether the default dictionary exists and is open (the index is not checked, only tested).
bool DefaultDictionaryUsable();

/// The dictionary's text for word after the missing-translation rule: word itself when the
/// dictionary is null or word is empty.
std::string TranslateWith(TLxDictionary* dictionary, const std::string& word);
/// value when found and not empty; otherwise by the dictionary's `MissingTranslation`: word,
/// an empty text, "@" word "@", or ELxPoly "Dictionary does not contain a translation for
/// the word "<word>"" (nothing found) / "Translation for the word "<word>" is missing" (an
/// empty entry). Without a dictionary, word.
std::string ApplyMissingTranslation(TLxDictionary* dictionary, const std::string& word,
                                    const std::string& value, bool found);
/// text through the default dictionary (open or not); text itself when none is registered.
std::string TranslateText(const std::string& text);

}  // namespace lx::lang

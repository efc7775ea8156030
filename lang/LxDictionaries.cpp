#include "lang/LxDictionaries.h"

#include <algorithm>

#include "framework/rtti/ClassRegistry.h"
#include "framework/rtti/Published.h"
#include "lang/LxDictionary.h"
#include "lang/LxLanguageNames.h"

namespace lx::lang {

LX_PUBLISHED(TLxDictionaries)

namespace {

constinit TLxDictionaries* registry = nullptr;
constinit bool finished = false;
constinit std::uint32_t defaultIndex = 0;

// A display-name piece goes through the given dictionary, else the default one.
std::string TranslateNamePiece(TLxDictionary* dictionary, const std::string& piece) {
  return TranslateWith(dictionary != nullptr ? dictionary : DefaultDictionary(), piece);
}

// The unit's process-wide state, set up on first use and released at exit. Dictionaries
// destroyed after that (by objects that outlive it) find no registry and leave none.
struct DictioUnit {
  DictioUnit() {
    registry = new TLxDictionaries();
    defaultIndex = 0;
    framework::RegisterClass(TLxDictionary::StaticClassInfo());
    SetTranslatePieceHook(TranslateNamePiece);
  }
  ~DictioUnit() {
    delete registry;
    registry = nullptr;
    finished = true;
  }
  DictioUnit(const DictioUnit&) = delete;
  DictioUnit& operator=(const DictioUnit&) = delete;
};

}  // namespace

// ---- TLxDictionaries

TLxDictionary* TLxDictionaries::Items(int index) const {
  if (index < 0 || index >= Count())
    throw platform::EListError("List index out of bounds (" + std::to_string(index) + ")");
  return items_[static_cast<std::size_t>(index)];
}

TLxDictionary* TLxDictionaries::Find(std::string_view name) const {
  const auto found = std::find_if(items_.begin(), items_.end(), [name](TLxDictionary* item) {
    return item->DictionaryName() == name;
  });
  return found == items_.end() ? nullptr : *found;
}

void TLxDictionaries::Add(TLxDictionary* dictionary) {
  if (dictionary->DictionaryName().empty()) {
    int number = Count() + 1;
    while (Find("Dictionary" + std::to_string(number)) != nullptr)
      ++number;
    dictionary->SetDictionaryName("Dictionary" + std::to_string(number));
  }
  items_.push_back(dictionary);
}

void TLxDictionaries::Remove(TLxDictionary* dictionary) {
  std::erase(items_, dictionary);
}

TLxDictionaries* Dictionaries() {
  if (finished) return nullptr;
  static DictioUnit unit;
  return registry;
}

// ---- Default dictionary

std::uint32_t DefaultDictionaryIndex() {
  return defaultIndex;
}

void SetDefaultDictionaryIndex(std::uint32_t index) {
  defaultIndex = index;
}

void CheckDefaultDictionaryIndex() {
  const TLxDictionaries* dictionaries = Dictionaries();
  if (dictionaries == nullptr || dictionaries->Count() == 0) return;
  if (defaultIndex >= static_cast<std::uint32_t>(dictionaries->Count())) {
    throw platform::ERangeError("DefaultDictionaryIndex is out or range: " +
                                std::to_string(defaultIndex));
  }
}

TLxDictionary* DefaultDictionary() {
  const TLxDictionaries* dictionaries = Dictionaries();
  if (dictionaries == nullptr || dictionaries->Count() == 0) return nullptr;
  CheckDefaultDictionaryIndex();
  return dictionaries->Items(static_cast<int>(defaultIndex));
}

bool DefaultDictionaryUsable() {
  const TLxDictionaries* dictionaries = Dictionaries();
  if (dictionaries == nullptr) return false;
  if (defaultIndex >= static_cast<std::uint32_t>(dictionaries->Count())) return false;
  return dictionaries->Items(static_cast<int>(defaultIndex))->IsOpen();
}

// ---- Look-up

std::string TranslateWith(TLxDictionary* dictionary, const std::string& word) {
  if (dictionary == nullptr || word.empty()) return word;
  std::string value;
  bool found = false;
  if (dictionary->HasContextKeys()) found = dictionary->Translate(word, "", value, "");
  if (!found) found = dictionary->TranslateWord(word, value);
  return ApplyMissingTranslation(dictionary, word, value, found);
}

std::string ApplyMissingTranslation(TLxDictionary* dictionary, const std::string& word,
                                    const std::string& value, bool found) {
  if (found && !value.empty()) return value;
  if (dictionary == nullptr) return word;
  switch (dictionary->MissingTranslation()) {
    case lxmtUseNull:
      return std::string();
    case lxmtTagNative:
      return "@" + word + "@";
    case lxmtRaiseException:
      if (found) throw ELxPoly("Translation for the word \"" + word + "\" is missing");
      throw ELxPoly("Dictionary does not contain a translation for the word \"" + word + "\"");
    case lxmtUseNative:
    default:
      return word;
  }
}

std::string TranslateText(const std::string& text) {
  const TLxDictionaries* dictionaries = Dictionaries();
  if (dictionaries == nullptr || dictionaries->Count() == 0) return text;
  return TranslateWith(DefaultDictionary(), text);
}

}  // namespace lx::lang

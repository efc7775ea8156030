#include "lang/LxRedirection.h"

#include "lang/LxDictionaries.h"
#include "lang/LxDictionary.h"

namespace lx::lang {

namespace {

constinit bool installed = false;
constinit const TLxDictionary* holder = nullptr;
// Armed while no resource string is being translated.
constinit bool guardArmed = true;
constinit framework::TLoadResStringFunc savedLoader = nullptr;
constinit framework::TShortCutToTextFunc savedShortCutText = nullptr;

// Disarms the guard for its lifetime, also when an exception passes.
class GuardDisarmed {
 public:
  GuardDisarmed() { guardArmed = false; }
  ~GuardDisarmed() { guardArmed = true; }
  GuardDisarmed(const GuardDisarmed&) = delete;
  GuardDisarmed& operator=(const GuardDisarmed&) = delete;
};

std::string LoadOriginal(const framework::TResStringRec& record) {
  return savedLoader != nullptr ? savedLoader(record) : framework::DefaultLoadResString(record);
}

std::string TranslateResourceText(const framework::TResStringRec& record, const std::string& text) {
  const GuardDisarmed disarmed;
  TLxDictionary* dictionary = DefaultDictionary();
  std::string value;
  bool found = dictionary->Translate(text, "", value, std::to_string(record.Identifier));
  if (!found) found = dictionary->Translate(text, "", value, "");
  if (!found) found = dictionary->TranslateWord(text, value);
  return ApplyMissingTranslation(dictionary, text, value, found);
}

}  // namespace

bool ResourceStringRedirectionInstalled() {
  return installed;
}

const TLxDictionary* ResourceStringRedirectionHolder() {
  return holder;
}

void InstallResourceStringRedirection(const TLxDictionary* dictionary) {
  if (installed) return;
  savedLoader = framework::SetLoadResStringHook(TranslatedLoadResString);
  savedShortCutText = framework::SetShortCutToTextHook(TranslatedShortCutToText);
  installed = true;
  holder = dictionary;
}

void ReleaseResourceStringRedirection(const TLxDictionary* dictionary) {
  if (!installed || holder != dictionary) return;
  if (const TLxDictionaries* dictionaries = Dictionaries()) {
    for (int i = 0; i < dictionaries->Count(); ++i) {
      const TLxDictionary* other = dictionaries->Items(i);
      if (other != dictionary && other->IsOpen() && !other->IsDesigning() &&
          other->Options().Contains(lxdoTranslateResourceStrings)) {
        holder = other;
        return;
      }
    }
  }
  RemoveResourceStringRedirection();
}

void RemoveResourceStringRedirection() {
  if (!installed) return;
  framework::SetLoadResStringHook(savedLoader);
  framework::SetShortCutToTextHook(savedShortCutText);
  savedLoader = nullptr;
  savedShortCutText = nullptr;
  installed = false;
  holder = nullptr;
}

std::string TranslatedLoadResString(const framework::TResStringRec& record) {
  try {
    std::string text = LoadOriginal(record);
    CheckDefaultDictionaryIndex();
    if (text.empty() || !guardArmed || !DefaultDictionaryUsable()) return text;
    return TranslateResourceText(record, text);
  } catch (...) {
    return std::string();
  }
}

std::string TranslatedShortCutToText(framework::TShortCut shortCut) {
  const bool translate = DefaultDictionaryUsable();
  return framework::ShortCutToTextWith(shortCut, [translate](const framework::TResStringRec& rec) {
    const std::string text = LoadOriginal(rec);
    return translate ? TranslateWith(DefaultDictionary(), text) : text;
  });
}

}  // namespace lx::lang

// The look-up of one text in the dictionary: hot keys, contexts, remembered answers.
#include "framework/controls/Forms.h"
#include "lang/LxDictionaries.h"
#include "lang/LxDictionary.h"
#include "translator/LxPoly.h"
#include "translator/LxWalkPlans.h"

namespace lx::translator {

using framework::TComponent;
using framework::TObject;

std::string TLxTranslator::StripHotkey(const std::string& text) {
  std::string result = text;
  hadHotkey_ = text.find('&') != std::string::npos;
  for (std::size_t i = 0; i < result.size(); ++i) {
    if (result[i] != '&') continue;
    if (i > 0 && result[i - 1] == '(' && i + 2 < result.size() && result[i + 2] == ')') {
      result.erase(i - 1, 4);
    } else {
      result.erase(i, 1);
    }
  }
  return result;
}

bool TLxTranslator::TranslateWord(const std::string& native, const std::string& nativeStripped,
                                  std::string& value) {
  lang::TLxDictionary& dictionary = *Dictionary();
  if (dictionary.TranslateWord(native, value)) return true;
  return isMenuItem_ && hadHotkey_ && dictionary.TranslateWord(nativeStripped, value);
}

// The root's class, then its ancestor form classes.
const std::vector<const framework::TClassInfo*>& TLxTranslator::Contexts(const TComponent& root) {
  TWalkCache& walk = *walk_;
  if (walk.contextsOf != &root.ClassInfo()) {
    walk.contextsOf = &root.ClassInfo();
    walk.contexts.clear();
    for (const framework::TClassInfo* context = walk.contextsOf; context != nullptr;) {
      walk.contexts.push_back(context);
      context = context->Parent();
      if (context == &framework::TForm::StaticClassInfo() ||
          context == &framework::TCustomForm::StaticClassInfo() ||
          context == &TComponent::StaticClassInfo()) {
        break;
      }
    }
  }
  return walk.contexts;
}

bool TLxTranslator::TranslateInContexts(const std::string& native,
                                        const std::string& nativeStripped,
                                        const std::string& componentName, std::string& value) {
  lang::TLxDictionary& dictionary = *Dictionary();
  const TComponent* root = GetRoot();
  if (root == nullptr) return false;
  for (const framework::TClassInfo* context : Contexts(*root)) {
    if (dictionary.Translate(native, context->Name(), value, componentName)) return true;
    if (isMenuItem_ && hadHotkey_ &&
        dictionary.Translate(nativeStripped, context->Name(), value, componentName)) {
      return true;
    }
  }
  return false;
}

// A translation found is given as it is; anything else is the dictionary's missing-text rule.
std::string TLxTranslator::LookupTranslation(const std::string& native,
                                             const std::string& nativeStripped,
                                             const std::string& componentName) {
  lang::TLxDictionary* dictionary = Dictionary();
  if (dictionary == nullptr) return native;
  if (dictionary->KeysVersion() != 0) {
    return TextOf(*dictionary, native,
                  FindAnswer(*dictionary, native, nativeStripped, componentName));
  }
  std::string value;
  if (!dictionary->HasContextKeys()) {
    const bool found = TranslateWord(native, nativeStripped, value);
    if (found && !value.empty()) return value;
    return lang::ApplyMissingTranslation(dictionary, native, value, found);
  }
  if (TranslateInContexts(native, nativeStripped, componentName, value)) {
    if (!value.empty()) return value;
    return lang::ApplyMissingTranslation(dictionary, native, value, true);
  }
  if (FlatTranslation || dictionary->Options().Contains(lang::lxdoUseFlatTranslation)) {
    value.clear();
    if (TranslateWord(native, nativeStripped, value)) return value;
  }
  return lang::ApplyMissingTranslation(dictionary, native, value, false);
}

// The answer a table item remembers is taken again while the dictionary's keys and the
// settings of the look-up stay; only the text at its position is read anew.
void TLxTranslator::LookupTranslation(TLxTranslatorTableItem& item, std::string& result) {
  std::string_view text;
  if (RememberedText(item, text)) {
    result.assign(text);
    return;
  }
  lang::TLxDictionary* dictionary = Dictionary();
  if (dictionary == nullptr) {
    result = item.NativeText;
  } else if (dictionary->KeysVersion() == 0) {
    result = LookupTranslation(item.NativeText, item.NativeStripped, item.ComponentName);
  } else {
    result = TextOf(*dictionary, item.NativeText, item.Answer);
  }
}

// The text found where the item's answer points, as the dictionary holds it; false when
// there is no such text and the look-up by text or the missing-text rule gives it.
bool TLxTranslator::RememberedText(TLxTranslatorTableItem& item, std::string_view& text) {
  lang::TLxDictionary* dictionary = Dictionary();
  if (dictionary == nullptr) return false;
  const std::uint64_t version = dictionary->KeysVersion();
  if (version == 0) return false;
  const std::uint64_t settings = LookupSettings(*dictionary);
  TLxLookupAnswer& answer = item.Answer;
  if (answer.keysVersion != version || answer.settings != settings ||
      answer.stripped != (isMenuItem_ && hadHotkey_)) {
    answer = FindAnswer(*dictionary, item.NativeText, item.NativeStripped, item.ComponentName);
    answer.keysVersion = version;
    answer.settings = settings;
  }
  if (answer.position < 0) return false;
  text = dictionary->TextAt(answer.position);
  return !text.empty() || answer.path == TLxLookupAnswer::kFlat;
}

// The same search as the look-up by text, giving where it found the text.
TLxLookupAnswer TLxTranslator::FindAnswer(lang::TLxDictionary& dictionary,
                                          const std::string& native,
                                          const std::string& nativeStripped,
                                          const std::string& componentName) {
  TLxLookupAnswer answer;
  answer.stripped = isMenuItem_ && hadHotkey_;
  if (!dictionary.HasContextKeys()) {
    answer.position = FindWordPosition(dictionary, native, nativeStripped, answer.stripped);
    return answer;
  }
  answer.path = TLxLookupAnswer::kContext;
  if (const TComponent* root = GetRoot()) {
    for (const framework::TClassInfo* context : Contexts(*root)) {
      answer.position = dictionary.FindKey(native, context->Name(), componentName);
      if (answer.position < 0 && answer.stripped)
        answer.position = dictionary.FindKey(nativeStripped, context->Name(), componentName);
      if (answer.position >= 0) return answer;
    }
  }
  if (FlatTranslation || dictionary.Options().Contains(lang::lxdoUseFlatTranslation)) {
    answer.path = TLxLookupAnswer::kFlat;
    answer.position = FindWordPosition(dictionary, native, nativeStripped, answer.stripped);
  }
  return answer;
}

int TLxTranslator::FindWordPosition(const lang::TLxDictionary& dictionary,
                                    const std::string& native, const std::string& nativeStripped,
                                    bool stripped) const {
  const int position = dictionary.FindWord(native);
  return position < 0 && stripped ? dictionary.FindWord(nativeStripped) : position;
}

// A flat translation is given as found, even empty; an empty text found in a context, or
// none, is the dictionary's missing-text rule.
std::string TLxTranslator::TextOf(lang::TLxDictionary& dictionary, const std::string& native,
                                  const TLxLookupAnswer& answer) {
  if (answer.position < 0) return lang::ApplyMissingTranslation(&dictionary, native, {}, false);
  const std::string_view text = dictionary.TextAt(answer.position);
  if (!text.empty() || answer.path == TLxLookupAnswer::kFlat) return std::string(text);
  return lang::ApplyMissingTranslation(&dictionary, native, {}, true);
}

inline std::uint64_t TLxTranslator::LookupSettings(const lang::TLxDictionary& dictionary) {
  const TComponent* root = GetRoot();
  if (root != settingsRoot_) {
    settingsRoot_ = root;
    settingsRootClass_ = root != nullptr ? &root->ClassInfo() : nullptr;
  }
  const TLookupSettings now{
      &dictionary, settingsRootClass_, dictionary.HasContextKeys(),
      FlatTranslation || dictionary.Options().Contains(lang::lxdoUseFlatTranslation)};
  if (now != lookupSettings_) {
    lookupSettings_ = now;
    ++settings_;
  }
  return settings_;
}

}  // namespace lx::translator

#include "translator/LxTextLookup.h"

#include "framework/controls/Forms.h"
#include "lang/LxDictionaries.h"
#include "lang/LxDictionary.h"
#include "translator/LxPoly.h"

namespace lx::translator {

using framework::TComponent;

TLxStrippedText StripHotkey(const std::string& text) {
  TLxStrippedText stripped{text, text.find('&') != std::string::npos};
  std::string& result = stripped.text;
  for (std::size_t i = 0; i < result.size(); ++i) {
    if (result[i] != '&') continue;
    if (i > 0 && result[i - 1] == '(' && i + 2 < result.size() && result[i + 2] == ')') {
      result.erase(i - 1, 4);
    } else {
      result.erase(i, 1);
    }
  }
  return stripped;
}

bool TLxTextLookup::TranslateWord(const std::string& native, const std::string& nativeStripped,
                                  bool hotkey, std::string& value) {
  lang::TLxDictionary& dictionary = *translator_.Dictionary();
  if (dictionary.TranslateWord(native, value)) return true;
  return hotkey && dictionary.TranslateWord(nativeStripped, value);
}

// The root's class, then its ancestor form classes.
const std::vector<const framework::TClassInfo*>& TLxTextLookup::Contexts(const TComponent& root) {
  if (contextsOf_ != &root.ClassInfo()) {
    contextsOf_ = &root.ClassInfo();
    contexts_.clear();
    for (const framework::TClassInfo* context = contextsOf_; context != nullptr;) {
      contexts_.push_back(context);
      context = context->Parent();
      if (context == &framework::TForm::StaticClassInfo() ||
          context == &framework::TCustomForm::StaticClassInfo() ||
          context == &TComponent::StaticClassInfo()) {
        break;
      }
    }
  }
  return contexts_;
}

bool TLxTextLookup::TranslateInContexts(const std::string& native,
                                        const std::string& nativeStripped,
                                        const std::string& componentName, bool hotkey,
                                        std::string& value) {
  lang::TLxDictionary& dictionary = *translator_.Dictionary();
  const TComponent* root = translator_.GetRoot();
  if (root == nullptr) return false;
  for (const framework::TClassInfo* context : Contexts(*root)) {
    if (dictionary.Translate(native, context->Name(), value, componentName)) return true;
    if (hotkey && dictionary.Translate(nativeStripped, context->Name(), value, componentName)) {
      return true;
    }
  }
  return false;
}

// A translation found is given as it is; anything else is the dictionary's missing-text rule.
std::string TLxTextLookup::Lookup(const std::string& native, const std::string& nativeStripped,
                                  const std::string& componentName, bool hotkey) {
  lang::TLxDictionary* dictionary = translator_.Dictionary();
  if (dictionary == nullptr) return native;
  if (dictionary->KeysVersion() != 0) {
    return TextOf(*dictionary, native,
                  FindAnswer(*dictionary, native, nativeStripped, componentName, hotkey));
  }
  std::string value;
  if (!dictionary->HasContextKeys()) {
    const bool found = TranslateWord(native, nativeStripped, hotkey, value);
    if (found && !value.empty()) return value;
    return lang::ApplyMissingTranslation(dictionary, native, value, found);
  }
  if (TranslateInContexts(native, nativeStripped, componentName, hotkey, value)) {
    if (!value.empty()) return value;
    return lang::ApplyMissingTranslation(dictionary, native, value, true);
  }
  if (Flat(*dictionary)) {
    value.clear();
    if (TranslateWord(native, nativeStripped, hotkey, value)) return value;
  }
  return lang::ApplyMissingTranslation(dictionary, native, value, false);
}

// The answer a table item remembers is taken again while the dictionary's keys and the
// settings of the look-up stay; only the text at its position is read anew.
void TLxTextLookup::Lookup(TLxTranslatorTableItem& item, bool hotkey, std::string& result) {
  std::string_view text;
  if (RememberedText(item, hotkey, text)) {
    result.assign(text);
    return;
  }
  lang::TLxDictionary* dictionary = translator_.Dictionary();
  if (dictionary == nullptr) {
    result = item.NativeText;
  } else if (dictionary->KeysVersion() == 0) {
    result = Lookup(item.NativeText, item.NativeStripped, item.ComponentName, hotkey);
  } else {
    result = TextOf(*dictionary, item.NativeText, item.Answer);
  }
}

bool TLxTextLookup::RememberedText(TLxTranslatorTableItem& item, bool hotkey,
                                   std::string_view& text) {
  lang::TLxDictionary* dictionary = translator_.Dictionary();
  if (dictionary == nullptr) return false;
  const std::uint64_t version = dictionary->KeysVersion();
  if (version == 0) return false;
  const std::uint64_t settings = LookupSettings(*dictionary);
  TLxLookupAnswer& answer = item.Answer;
  if (answer.keysVersion != version || answer.settings != settings || answer.stripped != hotkey) {
    answer =
        FindAnswer(*dictionary, item.NativeText, item.NativeStripped, item.ComponentName, hotkey);
    answer.keysVersion = version;
    answer.settings = settings;
  }
  if (answer.position < 0) return false;
  text = dictionary->TextAt(answer.position);
  return !text.empty() || answer.path == TLxLookupAnswer::kFlat;
}

// The same search as the look-up by text, giving where it found the text.
TLxLookupAnswer TLxTextLookup::FindAnswer(lang::TLxDictionary& dictionary,
                                          const std::string& native,
                                          const std::string& nativeStripped,
                                          const std::string& componentName, bool hotkey) {
  TLxLookupAnswer answer;
  answer.stripped = hotkey;
  if (!dictionary.HasContextKeys()) {
    answer.position = FindWordPosition(dictionary, native, nativeStripped, answer.stripped);
    return answer;
  }
  answer.path = TLxLookupAnswer::kContext;
  if (const TComponent* root = translator_.GetRoot()) {
    for (const framework::TClassInfo* context : Contexts(*root)) {
      answer.position = dictionary.FindKey(native, context->Name(), componentName);
      if (answer.position < 0 && answer.stripped)
        answer.position = dictionary.FindKey(nativeStripped, context->Name(), componentName);
      if (answer.position >= 0) return answer;
    }
  }
  if (Flat(dictionary)) {
    answer.path = TLxLookupAnswer::kFlat;
    answer.position = FindWordPosition(dictionary, native, nativeStripped, answer.stripped);
  }
  return answer;
}

int TLxTextLookup::FindWordPosition(const lang::TLxDictionary& dictionary,
                                    const std::string& native, const std::string& nativeStripped,
                                    bool stripped) {
  const int position = dictionary.FindWord(native);
  return position < 0 && stripped ? dictionary.FindWord(nativeStripped) : position;
}

// A flat translation is given as found, even empty; an empty text found in a context, or
// none, is the dictionary's missing-text rule.
std::string TLxTextLookup::TextOf(lang::TLxDictionary& dictionary, const std::string& native,
                                  const TLxLookupAnswer& answer) {
  if (answer.position < 0) return lang::ApplyMissingTranslation(&dictionary, native, {}, false);
  const std::string_view text = dictionary.TextAt(answer.position);
  if (!text.empty() || answer.path == TLxLookupAnswer::kFlat) return std::string(text);
  return lang::ApplyMissingTranslation(&dictionary, native, {}, true);
}

bool TLxTextLookup::Flat(const lang::TLxDictionary& dictionary) const {
  return translator_.FlatTranslation || dictionary.Options().Contains(lang::lxdoUseFlatTranslation);
}

std::uint64_t TLxTextLookup::LookupSettings(const lang::TLxDictionary& dictionary) {
  const TComponent* root = translator_.GetRoot();
  if (root != settingsRoot_) {
    settingsRoot_ = root;
    settingsRootClass_ = root != nullptr ? &root->ClassInfo() : nullptr;
  }
  const TSettings now{&dictionary, settingsRootClass_, dictionary.HasContextKeys(),
                      Flat(dictionary)};
  if (now != lookupSettings_) {
    lookupSettings_ = now;
    ++settings_;
  }
  return settings_;
}

void TLxTextLookup::Forget(const TComponent* component) {
  if (component == settingsRoot_) settingsRoot_ = nullptr;
}

}  // namespace lx::translator

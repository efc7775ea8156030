// How a translator finds the dictionary's text for a native text: by the word alone, or in
// the contexts of its root's form classes (the root's class, then its ancestor form classes
// up to TForm) with the component's name as the id, flat when asked; and, with a dictionary
// that answers by position, through the answer each table item remembers. A menu item's
// text with a hot key is also looked up without its markers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/Component.h"
#include "translator/LxTranslatorTable.h"

namespace lx::lang {
class TLxDictionary;
}

namespace lx::translator {

class TLxTranslator;

/// A text without its hot-key markers, and whether it had any.
struct TLxStrippedText {
  std::string text;
  bool hadHotkey = false;
};

/// `text` without hot-key markers: "&&" stays one "&", "(&F)" goes, any other "&" goes.
TLxStrippedText StripHotkey(const std::string& text);

class TLxTextLookup {
 public:
  /// Looks up through `translator`'s dictionary, root and FlatTranslation.
  explicit TLxTextLookup(const TLxTranslator& translator) : translator_(translator) {}

  /// The dictionary's text for `native` (itself when unbound); `hotkey`: `nativeStripped`
  /// is tried too where `native` is not found. A translation missing is the dictionary's
  /// missing-text rule.
  std::string Lookup(const std::string& native, const std::string& nativeStripped,
                     const std::string& componentName, bool hotkey);
  /// The same for a table item, taking again the answer it remembers while the dictionary's
  /// keys and the look-up's settings stay.
  void Lookup(TLxTranslatorTableItem& item, bool hotkey, std::string& result);
  /// The text where the item's remembered answer points, as the dictionary holds it; false
  /// when there is none and the look-up by text or the missing-text rule gives it.
  bool RememberedText(TLxTranslatorTableItem& item, bool hotkey, std::string_view& text);
  /// Told that `component` goes.
  void Forget(const framework::TComponent* component);

 private:
  bool TranslateWord(const std::string& native, const std::string& nativeStripped, bool hotkey,
                     std::string& value);
  bool TranslateInContexts(const std::string& native, const std::string& nativeStripped,
                           const std::string& componentName, bool hotkey, std::string& value);
  const std::vector<const framework::TClassInfo*>& Contexts(const framework::TComponent& root);
  TLxLookupAnswer FindAnswer(lang::TLxDictionary& dictionary, const std::string& native,
                             const std::string& nativeStripped, const std::string& componentName,
                             bool hotkey);
  static int FindWordPosition(const lang::TLxDictionary& dictionary, const std::string& native,
                              const std::string& nativeStripped, bool stripped);
  static std::string TextOf(lang::TLxDictionary& dictionary, const std::string& native,
                            const TLxLookupAnswer& answer);
  std::uint64_t LookupSettings(const lang::TLxDictionary& dictionary);
  bool Flat(const lang::TLxDictionary& dictionary) const;

  const TLxTranslator& translator_;
  // The root's class and its ancestor form classes, whose names are the look-up contexts.
  const framework::TClassInfo* contextsOf_ = nullptr;
  std::vector<const framework::TClassInfo*> contexts_;
  // What remembered look-up answers depend on besides the dictionary's keys; `settings_`
  // counts its changes.
  struct TSettings {
    const lang::TLxDictionary* dictionary = nullptr;
    const framework::TClassInfo* root = nullptr;
    bool contextKeys = false;
    bool flat = false;
    bool operator==(const TSettings&) const = default;
  };
  TSettings lookupSettings_;
  std::uint64_t settings_ = 0;
  // The root the settings were last worked out for, and its class.
  const framework::TComponent* settingsRoot_ = nullptr;
  const framework::TClassInfo* settingsRootClass_ = nullptr;
};

}  // namespace lx::translator

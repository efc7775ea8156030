// TLxCustomTranslator: the part of a form's translator that its dictionary
// deals with: the binding by name, the active state, and the notifications the
// dictionary sends on a change or when it closes.
//
// A translator is bound when it holds a dictionary. It finds the dictionary by
// `DictionaryName` in `Dictionaries()`, possibly long after the name was set.
// A bound translator hears of its dictionary's destruction and drops it, so it
// never holds a destroyed dictionary. The translation pass itself belongs to the
// full translator, which builds on this class.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "framework/core/Component.h"
#include "framework/core/Set.h"
#include "platform/Windows.h"

namespace lx::lang {

class TLxDictionary;
class TLxCustomTranslator;

using TLxTranslateEvent = std::function<void(TLxCustomTranslator* translator)>;

LX_ENUM(TLxTranslatorStateItem, lxtsActive, lxtsScaled, lxtsMirrored)
using TLxTranslatorState = framework::TSet<TLxTranslatorStateItem, std::uint8_t>;

class TLxCustomTranslator : public framework::TComponent {
  LX_CLASS(TLxCustomTranslator, framework::TComponent)

 public:
  explicit TLxCustomTranslator(framework::TComponent* owner);
  /// Closes the translator, which leaves its dictionary.
  ~TLxCustomTranslator() override;

  /// The name of the dictionary to bind to (case-sensitive).
  const std::string& DictionaryName() const { return dictionaryName_; }
  /// Binds to the registered dictionary of that name, or to none until `Open` finds it.
  void SetDictionaryName(const std::string& value);

  /// Fired at the start and at the end of every translation pass.
  TLxTranslateEvent OnBeforeTranslate;
  TLxTranslateEvent OnAfterTranslate;
  /// Fired when the translator learns that the locale or the language changed.
  framework::TNotifyEvent OnLocaleChange;
  framework::TNotifyEvent OnLanguageChange;

  /// The bound dictionary, not owned; null when unbound.
  TLxDictionary* Dictionary() const { return dictionary_; }
  /// Texts in code through the bound dictionary (lang/LxPlurals.h): the form of `count`,
  /// the native one while unbound, and the variant `keyword` of a choice.
  std::string TranslatePlural(const std::string& singular, const std::string& plural,
                              std::int64_t count) const;
  std::string TranslateChoice(const std::string& text, const std::string& keyword) const;
  /// Binds to `dictionary` (reverting an active translator first unless designing) and takes
  /// its name.
  void SetDictionary(TLxDictionary* dictionary);

  TLxTranslatorState State() const { return state_; }
  bool Active() const { return state_.Contains(lxtsActive); }
  bool IsDesigning() const { return ComponentState().Contains(framework::csDesigning); }

  /// The window whose system menu is translated; none in the base.
  virtual platform::HWND GetWindowHandle() { return 0; }
  /// The translation pass; nothing in the base.
  virtual void DoTranslate() {}
  /// Told by the dictionary after a change; nothing in the base.
  virtual void LanguageChanged(bool languageChanged, bool localeChanged);
  /// Makes the translator active.
  virtual void Open();
  /// Leaves the dictionary (unregistering an active translator) and clears the state.
  virtual void Close();
  /// Puts the native texts back and closes; the base only closes.
  virtual void Revert();

 protected:
  void Notification(framework::TComponent* component, framework::TOperation operation) override;

  /// Holds `dictionary` without touching the name, and hears of its destruction.
  void BindDictionary(TLxDictionary* dictionary);
  void SetStateFlag(TLxTranslatorStateItem item, bool on);

 private:
  void Unbind();

  std::string dictionaryName_;
  TLxDictionary* dictionary_ = nullptr;
  // The same object as dictionary_, kept as the component that notifications name.
  framework::TComponent* boundComponent_ = nullptr;
  TLxTranslatorState state_;
};

}  // namespace lx::lang

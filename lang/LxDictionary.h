// TLxDictionary: the component that gives a program its languages, locales and
// translations.
//
// The class is abstract: where languages, locales and translations come from is
// its descendants' business (they supply the getters and the keyed look-up).
// The base holds the published configuration, the active language and locale
// and their records, opening and closing, and the translators bound to it.
// Opening, and every effective change of `Language` or `Locale` while open,
// selects a language and a locale and applies the change to the process
// (LxActivation.cpp): reading direction, thread locale, format settings,
// translators and events.
//
// Every dictionary joins the process-wide registry `Dictionaries()`
// (LxDictionaries.h) when it is created and leaves it when it is destroyed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/Component.h"
#include "framework/core/Set.h"
#include "framework/core/Strings.h"
#include "lang/LxRecords.h"
#include "platform/Exception.h"

namespace lx::lang {

class TLxCustomTranslator;

/// The engine's own errors.
class ELxPoly : public platform::Exception {
 public:
  using Exception::Exception;
};

// The names and order of these values are part of the stored form.

/// How the active language and the active locale follow each other.
LX_ENUM(TLxBinding, lxbiNone, lxbiLocaleToLanguage, lxbiLanguageToLocale)

LX_ENUM(TLxDictionaryOption, lxdoConvertNativeString, lxdoUpdateLocaleVariables, lxdoAutoTranslate,
        lxdoYear2000, lxdoTranslateResourceStrings, lxdoRecreateMDIChild, lxdoUseFlatTranslation)
using TLxDictionaryOptions = framework::TSet<TLxDictionaryOption, std::uint8_t>;

/// What a look-up yields when the dictionary has no text for a word.
LX_ENUM(TLxMissingTranslation, lxmtUseNative, lxmtUseNull, lxmtTagNative, lxmtRaiseException)

LX_ENUM(TLxEuro, lxeNormal, lxeBusiness, lxeIgnore)

/// How strictly the system must support a language or locale before it is selected:
/// `lxclCodePage` (the default) only a language whose texts are in the system's ANSI code
/// page or in none in particular (code page 0, `lfAnyCodePage`: English, the native language);
/// `lxclSystem` a language the system supports (LanguageSupportedBySystem); `lxclNone` every
/// language. A
/// language that fails raises "<EnglishName> is not supported by the code page" when it is
/// selected. Lx converts each language's texts itself (the screen layer, lxform), so a program
/// that shows Arabic or Japanese on a UTF-8 desktop sets `lxclNone`
/// (`CheckLevel = lxclNone` in the stored form, or `SetCheckLevel(lxclNone)`).
LX_ENUM(TLxCheckLevel, lxclNone, lxclSystem, lxclCodePage)

/// Every option: the default of `Options`.
inline constexpr TLxDictionaryOptions kLxAllDictionaryOptions =
    TLxDictionaryOptions::FromMask(0x7F);

class TLxDictionary : public framework::TComponent {
  LX_CLASS(TLxDictionary, framework::TComponent)

 public:
  /// Joins `Dictionaries()` (named "Dictionary<n>" there) with every property at its default.
  explicit TLxDictionary(framework::TComponent* owner);
  /// Unlinks the translators, lets go of the resource-string redirection it holds and leaves
  /// `Dictionaries()`; an open dictionary is not closed.
  ~TLxDictionary() override;

  // ---- Published properties

  /// When false, translators do not open the dictionary and an open one is not opened again.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }
  /// The name translators find the dictionary by (case-sensitive); setting only stores it.
  const std::string& DictionaryName() const { return dictionaryName_; }
  void SetDictionaryName(const std::string& value) { dictionaryName_ = value; }
  /// The parts of `Locale`; setting one composes a new locale with the other part and sort
  /// id 0 and passes it to `SetLocale`.
  int PrimaryLanguage() const;
  void SetPrimaryLanguage(int value);
  int SubLanguage() const;
  void SetSubLanguage(int value);
  /// Closed, the requested language: an index, or -1 for the user's default, -2 for the
  /// system's. Open, the position of the language in force (`ActiveLanguageIndex`), so that
  /// it can always be passed to `LanguageAt`; the request stays in `RequestedLanguage`.
  int Language() const { return opened_ ? activeLanguageIndex_ : language_; }
  /// Closed: only stores the value. Open: raises ERangeError "Language index <value> is out
  /// of range" below -2 or beyond the last language; nothing happens for the language in
  /// force; any other value selects the language (and under lxbiLocaleToLanguage its
  /// locale) and applies it.
  void SetLanguage(int value);
  /// Where the search for a supported language starts, and the fallback language.
  int MasterLanguage() const { return masterLanguage_; }
  void SetMasterLanguage(int value) { masterLanguage_ = value; }
  TLxBinding Binding() const { return binding_; }
  void SetBinding(TLxBinding value) { binding_ = value; }
  TLxDictionaryOptions Options() const { return options_; }
  void SetOptions(TLxDictionaryOptions value) { options_ = value; }
  TLxMissingTranslation MissingTranslation() const { return missingTranslation_; }
  void SetMissingTranslation(TLxMissingTranslation value) { missingTranslation_ = value; }
  /// Kept for the program; never stored, never acted on.
  TLxEuro Euro() const { return euro_; }
  void SetEuro(TLxEuro value) { euro_ = value; }
  /// See `TLxCheckLevel`.
  TLxCheckLevel CheckLevel() const { return checkLevel_; }
  void SetCheckLevel(TLxCheckLevel value) { checkLevel_ = value; }

  framework::TNotifyEvent OnBeforeOpen;
  framework::TNotifyEvent OnAfterOpen;
  framework::TNotifyEvent OnBeforeClose;
  framework::TNotifyEvent OnAfterClose;
  /// After the language in force changed.
  framework::TNotifyEvent OnLanguageChange;
  /// After the locale in force changed.
  framework::TNotifyEvent OnLocaleChange;

  /// The requested locale (0x0400 the user's default, 0x0800 the system's); stored through
  /// `PrimaryLanguage` and `SubLanguage`.
  int Locale() const { return locale_; }
  /// Closed: only stores the value. Open: an effective change selects the locale (and under
  /// lxbiLanguageToLocale its language) and applies it.
  void SetLocale(int lcid);

  // ---- State

  /// Fires OnBeforeOpen, opens (`DoOpen`), fires OnAfterOpen. An open dictionary is opened
  /// again. When opening fails the dictionary is closed and the error passed on.
  void Open();
  /// Fires OnBeforeClose, closes (`DoClose`), fires OnAfterClose.
  void Close();
  bool IsOpen() const { return opened_; }
  bool IsDesigning() const { return ComponentState().Contains(framework::csDesigning); }

  /// The language in force, resolved from `Language`; -1 before the first selection.
  int ActiveLanguageIndex() const { return activeLanguageIndex_; }
  /// The language whose text stands in when the active one has none.
  int FallbackLanguageIndex() const { return fallbackLanguageIndex_; }
  /// `Language` as it was when the dictionary was last opened.
  int RequestedLanguage() const { return requestedLanguage_; }
  /// The locale in force; 0 until a locale was selected.
  int ActiveLocaleId() const { return activeLocaleId_; }
  /// The LCID of the active language.
  int LanguageLocaleId() const { return languageLocaleId_; }
  /// The code page of the native language (language 0); 1252 until a language was selected.
  int NativeCodePage() const { return nativeCodePage_; }
  /// The active language's record; empty until a language was selected.
  const TLxLanguage& CurrentLanguage() const { return *currentLanguage_; }
  /// The locale in force; empty until a locale was selected (and for one nobody knows).
  const TLxLocale& CurrentLocale() const { return *currentLocale_; }

  /// The record of language `index`: the active language's own, or a scratch copy valid
  /// until the next call. Raises ERangeError "Out of language range" for an index that is
  /// negative or not below the language count.
  const TLxLanguage& LanguageAt(int index);

  // ---- Translators

  /// Adds the translator unless it is registered already; it is told of every change, and
  /// leaves the list when it is destroyed.
  void RegisterTranslator(TLxCustomTranslator* translator);
  void UnregisterTranslator(TLxCustomTranslator* translator);
  bool IsRegistered(const TLxCustomTranslator* translator) const;
  /// Closes every registered translator, which unregisters it.
  void UnlinkTranslators();
  int TranslatorCount() const { return static_cast<int>(translators_.size()); }
  /// Registered translator `index`; raises EListError "List index out of bounds (<index>)".
  TLxCustomTranslator* Translators(int index) const;

  // ---- What descendants supply

  /// Whether the loaded translations carry context and id keys.
  virtual bool HasContextKeys() const { return contextKeys_; }
  virtual int GetLanguageCount() = 0;
  /// Fills every field of dest with language `index` (0 is the native language).
  virtual void GetLanguage(int index, TLxLanguage& dest) = 0;
  /// The number of the dictionary's own (custom) locales.
  virtual int GetLocaleCount() = 0;
  virtual void GetLocale(int index, TLxLocale& dest) = 0;
  virtual int GetTranslationCount() { return 0; }
  /// The active language's text for (word, context, id): true when an entry exists, even
  /// one with an empty text.
  virtual bool Translate(const std::string& word, const std::string& context, std::string& value,
                         const std::string& id) = 0;
  /// Look-up by word alone; the base asks `Translate` with empty context and id.
  virtual bool TranslateWord(const std::string& word, std::string& value);
  /// Look-up by position, for callers that ask the same keys again after a change of
  /// language: `FindKey` and `FindWord` give the position of the entry that `Translate` and
  /// `TranslateWord` answer from (-1 when none), `TextAt` the active language's text there.
  /// A position holds while `KeysVersion` stays the same; it changes whenever keys or their
  /// order may change (open, close, reload, entries added, sorting). The base has no
  /// positions: version 0, nothing found.
  virtual std::uint64_t KeysVersion() const { return 0; }
  virtual int FindKey(const std::string& /*word*/, const std::string& /*context*/,
                      const std::string& /*id*/) const {
    return -1;
  }
  virtual int FindWord(const std::string& /*word*/) const { return -1; }
  virtual std::string_view TextAt(int /*index*/) const { return {}; }
  /// The active language's text of one variant of the entry for (word, context, id): a
  /// plural category ("one", "few", ...) or a choice's keyword ("female"); the fallback
  /// language's when the active one has none. False when the dictionary holds no such
  /// variant; the base holds none.
  virtual bool TranslateVariant(const std::string& /*word*/, const std::string& /*context*/,
                                const std::string& /*id*/, const std::string& /*keyword*/,
                                std::string& /*value*/) {
    return false;
  }
  /// Whether the dictionary's data can be reached; opening does nothing when it cannot.
  virtual bool CanOpen() { return true; }
  /// Appends a new record per language, in index order; the caller owns them.
  virtual void GetLanguages(std::vector<std::unique_ptr<TLxLanguage>>& list);
  virtual void GetLocales(std::vector<std::unique_ptr<TLxLocale>>& list);
  /// Selects the locale of the active language; applies it when it changed. Open only.
  virtual void UpdateLocaleFromLanguage();
  /// Selects the language of the active locale; applies it when it changed. Open only.
  virtual void UpdateLanguageFromLocale();
  /// Adds each primary language once, under the native or English name of its first
  /// language, with the primary language id as the item's object (`LanguageIdOf`).
  virtual void GetLanguageNames(framework::TStrings& strings, bool native);
  virtual bool IsLocaleSupported(int lcid);

  /// The system's locales in its order, then the dictionary's own ones not among them.
  void GetSupportedLocales(std::vector<int>& list);
  /// Re-encodes a loaded entry's native text from the native code page into the system's
  /// when lxdoConvertNativeString asks for it and the entry has a context.
  void ConvertNativeString(TLxTranslation& translation) const;

  // ---- Choosing languages and locales

  /// The language that serves lcid best: one listing its sub-language, else one without
  /// sub-languages, else any of its primary language; 0 for lcid 0; -1 when none.
  int IndexOfLocale(int lcid);
  /// The first language from `MasterLanguage` upwards that passes `CheckLevel`; -1 if none.
  int FirstSupportedLanguage();
  /// 0x0400 and 0x0800 become the user's and the system's default LCID.
  static int ResolveLocale(int lcid);
  /// Fills dest with the dictionary's own locale lcid, else with the system's; false when
  /// neither knows it.
  bool FindLocale(int lcid, TLxLocale& dest);

 protected:
  /// Accepts the "DictionaryCode" of older stored forms, whose value is read and dropped.
  void DefineProperties(framework::TFiler& filer) override;
  void Notification(framework::TComponent* component, framework::TOperation operation) override;

  virtual void DoOpen();
  /// Lets go of the resource-string redirection when it installed it (LxRedirection.h),
  /// unlinks the translators, clears the open state; the active language and locale stay.
  virtual void DoClose();
  /// Applies a change to the process, the translators and the events. Descendants that hold
  /// per-language tables reload them when the language changed, then call the base.
  virtual void Change(bool languageChanged, bool localeChanged);

  /// Makes language `index` active (-1 the user's, -2 the system's default) and runs the
  /// support checks.
  void SelectLanguage(int index);
  /// Makes lcid the locale in force and runs the support checks.
  void SelectLocale(int lcid);

  void SetContextKeys(bool value) { contextKeys_ = value; }

 private:
  void SelectByBinding();
  void SelectLanguageOfLocale();
  void ReadCurrentLanguage();
  void ApplyReadingDirection();
  void ApplyLocaleSettings();
  void NotifyTranslators(bool languageChanged, bool localeChanged);
  void RecreateMaximizedMDIChild();
  void CheckLanguageSupport() const;
  void CheckLocaleSupport(int lcid) const;
  bool PassesCheckLevel(int index);

  bool enabled_ = true;
  std::string dictionaryName_;
  int locale_ = 0x0400;
  int language_ = -1;
  int masterLanguage_ = 0;
  TLxBinding binding_ = lxbiLocaleToLanguage;
  TLxDictionaryOptions options_ = kLxAllDictionaryOptions;
  TLxMissingTranslation missingTranslation_ = lxmtUseNative;
  TLxEuro euro_ = lxeNormal;
  TLxCheckLevel checkLevel_ = lxclCodePage;

  bool contextKeys_ = false;
  bool opened_ = false;
  int activeLanguageIndex_ = -1;
  int fallbackLanguageIndex_ = 0;
  int requestedLanguage_ = -1;
  int activeLocaleId_ = 0;
  int languageLocaleId_ = 0;
  int nativeCodePage_ = 1252;
  // Whether the locale in force is one the dictionary or the system knows.
  bool localeKnown_ = false;
  std::unique_ptr<TLxLanguage> currentLanguage_;
  std::unique_ptr<TLxLocale> currentLocale_;
  std::unique_ptr<TLxLanguage> scratchLanguage_;
  // A registered translator, also as the component that notifications name.
  struct TranslatorLink {
    TLxCustomTranslator* translator;
    framework::TComponent* component;
  };
  std::vector<TranslatorLink> translators_;
};

/// The primary language id that `GetLanguageNames` attaches to an item as its object.
int LanguageIdOf(const framework::TObject* object);

}  // namespace lx::lang

// The records a dictionary is made of: its languages (`TLxLanguage`), its
// locales (`TLxLocale`) and the entries of its translation table
// (`TLxTranslation`).
//
// They are plain records: their fields are public, as the readers of stored
// dictionaries fill them field by field, and `Validate` then completes what
// the stored data left out from the system's locale database. Everything the
// system is asked goes by LCID (LxLanguageIds.h) and never fails: an unknown
// locale simply answers with empty texts.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "framework/core/Object.h"
#include "framework/core/Set.h"
#include "framework/core/Strings.h"

namespace lx::lang {

class TLxDictionary;

/// lfUser is only kept and copied; lfAnyCodePage lets a language pass the support checks
/// (LxSystemSupport.h) whatever its code page.
LX_ENUM(TLxLanguageFlag, lfUser, lfAnyCodePage)
using TLxLanguageFlags = framework::TSet<TLxLanguageFlag, std::uint8_t>;

/// The kinds of name `GetName` gives: as the system writes it in English or in the language
/// itself, or the English one translated through a dictionary.
inline constexpr int kLxEnglishName = 0;
inline constexpr int kLxNativeName = 1;
inline constexpr int kLxTranslatedName = 2;

/// One language of a dictionary. Primary language 0 is the dictionary's own native language.
class TLxLanguage : public framework::TObject {
  LX_CLASS(TLxLanguage, framework::TObject)

 public:
  /// An empty record: ids 0, texts and lists empty.
  TLxLanguage();
  /// A record set field by field: the code page through `SetCodePage`, the sub-languages
  /// through `SetSubLanguagesText` (which may raise); not validated.
  TLxLanguage(int primaryLanguage, int subLanguage, int codePage, std::string_view subLanguagesText,
              std::string englishName, std::string nativeName, std::string fontName, int fontSize,
              TLxLanguageFlags flags);

  /// ANSI code page of the language's texts; 0 = not known yet.
  int CodePage = 0;
  int PrimaryLanguage = 0;
  /// Sub-language of the locale that goes with the language; 0 = not chosen.
  int LocaleSubLanguage = 0;
  /// Main sub-language.
  int SubLanguage = 0;
  /// Further sub-languages the language serves, as decimal texts, in insertion order.
  framework::TStringList SubLanguages;
  std::string IsoLanguageName;
  std::string IsoCountryName;
  /// Short texts kept beside the sub-languages; copied, never interpreted.
  framework::TStringList SubLanguageCodes;
  std::string EnglishName;
  std::string NativeName;
  /// Font face and size for forms in this language; empty and 0 keep the form's own.
  std::string FontName;
  int FontSize = 0;
  TLxLanguageFlags Flags;
  /// Font character set; 0 = not known yet.
  std::uint8_t Charset = 0;

  /// Sets the code page and the character set that goes with it.
  void SetCodePage(int codePage);
  /// Bit 0 is lfUser, bit 1 lfAnyCodePage; other bits are dropped.
  void SetFlagsFromByte(std::uint8_t flags);

  /// The sub-languages joined by ",".
  std::string GetSubLanguagesText() const;
  /// Replaces the sub-languages by the ","-separated integers of `text`, leaving out those
  /// below 1. Raises EConvertError "'<token>' is not a valid integer value" on a token that
  /// is no integer (an empty one included), keeping the entries read before it.
  void SetSubLanguagesText(std::string_view text);
  /// Replaces the sub-language codes by the ","-separated tokens of `text`, empty ones
  /// included (a trailing "," adds none).
  void SetSubLanguageCodesText(std::string_view text);

  int SubLanguageCount() const { return SubLanguages.Count(); }
  /// Entry `index` as a number (0 for an entry that is none); raises EStringListError
  /// "List index out of bounds (<index>)" outside the list.
  int SubLanguageAt(int index) const;
  bool HasSubLanguage(int sub) const;
  /// Appends sub unless the list holds it.
  void AddSubLanguage(int sub);
  void ClearSubLanguages() { SubLanguages.Clear(); }
  void ClearSubLanguageCodes() { SubLanguageCodes.Clear(); }

  /// 0 without sub-languages; `SubLanguage` when listed; else the first entry.
  int EffectiveSubLanguage() const;
  /// Chooses the locale's sub-language: sub when it is one the language serves (any sub of
  /// 0 or more when the list is empty), else `SubLanguage`.
  void SetLocaleSubLanguage(int sub);

  /// The language id; for the native language `SubLanguage` as it stands (0 once validated).
  int LanguageLcid() const;
  /// The language id of the locale that goes with the language.
  int LocaleLcid() const;
  /// The LCID by which the system is asked about the language: 0 for the native language;
  /// else with the first listed sub-language, or `SubLanguage`, or for Chinese and
  /// Serbian/Croatian the one the code page implies.
  int SystemLcid() const;
  /// `ScriptClassOf` (SystemLcid).
  int ScriptClass() const;

  /// Makes sub the main sub-language and lists it; 0 clears both lists instead. Nothing
  /// happens for the native language or when sub is the effective sub-language already.
  virtual void SetSubLanguage(int sub);
  /// Copies every field, the lists by content.
  virtual void Assign(const TLxLanguage& source);
  /// A new record of the receiver's class holding the same values.
  virtual std::unique_ptr<TLxLanguage> Clone() const;
  /// Completes a filled record: ids put right, missing codes, names, code page and
  /// character set taken from the system. The native language is named "Native". A main
  /// sub-language of 0 becomes the first listed one, else the one the code page implies
  /// (Chinese 936 PRC, 950 Taiwan; Serbian/Croatian 1250 Latin, 1251 Cyrillic), else 1.
  virtual void Validate();
  /// Same primary language and, unless it is the native one, the same code page.
  virtual bool SameAs(const TLxLanguage& other) const;
  /// The display name of `kind` (kLxEnglishName, ...); a translated name goes through
  /// `dictionary` (the default dictionary when null). Empty for an unknown kind.
  virtual std::string GetName(int kind, TLxDictionary* dictionary = nullptr) const;
};

/// The values of a locale, copied whole.
struct TLxLocaleFields {
  int PrimaryLanguage = 0;
  int SubLanguage = 0;
  int SortId = 0;
  int CodePage = 0;
  /// Defined by a dictionary rather than the system.
  bool Custom = false;
  std::uint8_t Charset = 0;
  std::string EnglishLanguageName;
  std::string EnglishCountryName;
  std::string NativeLanguageName;
  std::string NativeCountryName;
  std::string AbbrevLanguageName;
  /// The country's name in the user's language.
  std::string CountryName;
  std::string CurrencyString;
  std::uint8_t CurrencyFormat = 0;
  std::uint8_t NegCurrFormat = 0;
  std::uint8_t CurrencyDecimals = 0;
  char ThousandSeparator = 0;
  char DecimalSeparator = 0;
  char DateSeparator = 0;
  std::string ShortDateFormat;
  std::string LongDateFormat;
  char ListSeparator = 0;
  char TimeSeparator = 0;
  std::string TimeAMString;
  std::string TimePMString;
  bool HourLeadingZero = false;
  /// 0 = 12-hour clock with AM/PM, 1 = 24-hour clock.
  std::uint8_t TimeFormat = 0;
  /// 0 = AM/PM after the time, 1 = before it.
  std::uint8_t TimeMarkPosition = 0;
  /// 0 = metric, 1 = U.S.
  std::uint8_t Measurement = 0;
  std::uint8_t CalendarType = 0;
  std::uint8_t OptionalCalendar = 0;
  /// 0 = Monday.
  std::uint8_t FirstDayOfWeek = 0;
  std::uint8_t FirstWeekOfYear = 0;
  /// Index 0 is January.
  std::array<std::string, 12> ShortMonthNames;
  std::array<std::string, 12> LongMonthNames;
  /// Index 0 is Monday and 6 Sunday, the system's order.
  std::array<std::string, 7> ShortDayNames;
  std::array<std::string, 7> LongDayNames;
};

/// One locale: its identity and names and every format the engine can switch to.
class TLxLocale : public framework::TObject, public TLxLocaleFields {
  LX_CLASS(TLxLocale, framework::TObject)

 public:
  TLxLocale() = default;

  int LocaleId() const;

  /// Copies every field.
  virtual void Assign(const TLxLocale& source);
  /// A new record of the receiver's class holding the same values.
  virtual std::unique_ptr<TLxLocale> Clone() const;
  /// Completes a filled record: missing names and code page from the system, the character
  /// set from the locale's font signature.
  virtual void Validate();
  /// The display name of `kind`, as for `TLxLanguage::GetName`.
  virtual std::string GetName(int kind, TLxDictionary* dictionary = nullptr) const;

  /// Fills an empty record with what the system knows of lcid, then validates it. False,
  /// and nothing changed, when the system does not know lcid; false with `CodePage` 0 when
  /// the locale has no ANSI code page. A separator the system leaves empty becomes " " (","
  /// for the list separator).
  bool LoadFromSystem(int lcid);
};

/// One entry of a dictionary's translation table.
class TLxTranslation : public framework::TObject {
  LX_CLASS(TLxTranslation, framework::TObject)

 public:
  /// What `Translation` holds.
  enum : std::uint8_t { kActiveText = 0, kFallbackText = 1, kNoText = 2 };

  TLxTranslation() = default;

  std::uint8_t State = kActiveText;
  /// The text in the native language: the word looked up.
  std::string Native;
  std::string Context;
  std::string Id;
  std::string Translation;

  /// Separates the word from context and id in a key.
  static constexpr char kKeySeparator = '\x7F';
  /// The key under which a table holds (word, context, id): word, separator, context, id.
  static std::string KeyOf(std::string_view word, std::string_view context, std::string_view id);
  /// The entry's own key.
  std::string Key() const { return KeyOf(Native, Context, Id); }
};

}  // namespace lx::lang

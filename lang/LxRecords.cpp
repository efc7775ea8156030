#include "lang/LxRecords.h"

#include "framework/rtti/Published.h"
#include "lang/LxCodePage.h"
#include "lang/LxLanguageIds.h"
#include "lang/LxLanguageNames.h"
#include "lang/LxParser.h"
#include "platform/LocaleInfo.h"
#include "platform/TextUtils.h"

namespace lx::lang {

LX_PUBLISHED(TLxLanguage)
LX_PUBLISHED(TLxLocale)
LX_PUBLISHED(TLxTranslation)

namespace {

constexpr int kChinese = 4;
constexpr int kSerbianCroatian = 26;
constexpr int kFallbackCodePage = 1252;

std::string SystemText(int lcid, platform::LcType type, std::string_view defaultText = "") {
  return platform::GetLocaleInfo(static_cast<platform::Lcid>(lcid), type, defaultText);
}

void TakeIfEmpty(std::string& field, int lcid, platform::LcType type) {
  if (field.empty()) field = SystemText(lcid, type);
}

// Chinese and Serbian/Croatian tell their script, and so their locale, by the code page:
// Simplified (PRC) or Traditional (Taiwan), Latin (Croatia) or Cyrillic (Serbia). 0 for
// any other language or code page.
int SubLanguageOfCodePage(int primaryLanguage, int codePage) {
  if (primaryLanguage == kChinese) return codePage == 936 ? 2 : codePage == 950 ? 1 : 0;
  if (primaryLanguage == kSerbianCroatian) return codePage == 1250 ? 1 : codePage == 1251 ? 3 : 0;
  return 0;
}

// The code page of a language or locale the system gives none: that of its language.
int CodePageOrDefault(int lcid) {
  const int codePage = DefaultCodePageOf(lcid);
  return codePage != 0 ? codePage : kFallbackCodePage;
}

// A new record of the class of `original`, which must descend from T.
template <typename T>
std::unique_ptr<T> NewOfSameClass(const T& original) {
  std::unique_ptr<framework::TObject> object = original.ClassInfo().CreateObject();
  std::unique_ptr<T> copy(dynamic_cast<T*>(object.get()));
  if (!copy) return std::make_unique<T>();
  object.release();
  return copy;
}

}  // namespace

// ---- TLxLanguage

TLxLanguage::TLxLanguage() = default;

TLxLanguage::TLxLanguage(int primaryLanguage, int subLanguage, int codePage,
                         std::string_view subLanguagesText, std::string englishName,
                         std::string nativeName, std::string fontName, int fontSize,
                         TLxLanguageFlags flags) {
  PrimaryLanguage = primaryLanguage;
  SubLanguage = subLanguage;
  SetCodePage(codePage);
  SetSubLanguagesText(subLanguagesText);
  EnglishName = std::move(englishName);
  NativeName = std::move(nativeName);
  FontName = std::move(fontName);
  FontSize = fontSize;
  Flags = flags;
}

void TLxLanguage::SetCodePage(int codePage) {
  CodePage = codePage;
  Charset = CharsetFromCodePage(codePage);
}

void TLxLanguage::SetFlagsFromByte(std::uint8_t flags) {
  Flags = TLxLanguageFlags::FromMask(static_cast<std::uint8_t>(flags & 0x03));
}

std::string TLxLanguage::GetSubLanguagesText() const {
  std::string text;
  for (int i = 0; i < SubLanguages.Count(); ++i) {
    if (i > 0) text += ',';
    text += SubLanguages.Strings(i);
  }
  return text;
}

void TLxLanguage::SetSubLanguagesText(std::string_view text) {
  SubLanguages.Clear();
  TLxStringParser parser(text, ',');
  while (!parser.AtEnd()) {
    const int sub = parser.NextInteger();
    if (sub >= 1) SubLanguages.Add(std::to_string(sub));
  }
}

void TLxLanguage::SetSubLanguageCodesText(std::string_view text) {
  SubLanguageCodes.Clear();
  TLxStringParser parser(text, ',');
  while (!parser.AtEnd())
    SubLanguageCodes.Add(parser.NextToken());
}

int TLxLanguage::SubLanguageAt(int index) const {
  return platform::StrToIntDef(SubLanguages.Strings(index), 0);
}

bool TLxLanguage::HasSubLanguage(int sub) const {
  for (int i = 0; i < SubLanguageCount(); ++i) {
    if (SubLanguageAt(i) == sub) return true;
  }
  return false;
}

void TLxLanguage::AddSubLanguage(int sub) {
  if (!HasSubLanguage(sub)) SubLanguages.Add(std::to_string(sub));
}

int TLxLanguage::EffectiveSubLanguage() const {
  if (SubLanguageCount() == 0) return 0;
  return HasSubLanguage(SubLanguage) ? SubLanguage : SubLanguageAt(0);
}

void TLxLanguage::SetLocaleSubLanguage(int sub) {
  if (sub == LocaleSubLanguage) return;
  const bool served = sub >= 0 && (SubLanguageCount() == 0 || HasSubLanguage(sub));
  LocaleSubLanguage = served ? sub : SubLanguage;
}

int TLxLanguage::LanguageLcid() const {
  return PrimaryLanguage == 0 ? SubLanguage : MAKELANGID(PrimaryLanguage, SubLanguage);
}

int TLxLanguage::LocaleLcid() const {
  return MAKELANGID(PrimaryLanguage, LocaleSubLanguage);
}

int TLxLanguage::SystemLcid() const {
  if (PrimaryLanguage == 0) return 0;
  int sub = SubLanguageCount() > 0 ? SubLanguageAt(0) : SubLanguage;
  if (sub == 0) sub = SubLanguageOfCodePage(PrimaryLanguage, CodePage);
  return MAKELANGID(PrimaryLanguage, sub);
}

int TLxLanguage::ScriptClass() const {
  return ScriptClassOf(SystemLcid());
}

void TLxLanguage::SetSubLanguage(int sub) {
  if (PrimaryLanguage == 0 || sub == EffectiveSubLanguage()) return;
  if (sub != 0) {
    SubLanguage = sub;
    AddSubLanguage(sub);
  } else {
    ClearSubLanguages();
    ClearSubLanguageCodes();
  }
}

void TLxLanguage::Assign(const TLxLanguage& source) {
  if (&source == this) return;
  CodePage = source.CodePage;
  PrimaryLanguage = source.PrimaryLanguage;
  LocaleSubLanguage = source.LocaleSubLanguage;
  SubLanguage = source.SubLanguage;
  SubLanguages.Assign(&source.SubLanguages);
  IsoLanguageName = source.IsoLanguageName;
  IsoCountryName = source.IsoCountryName;
  SubLanguageCodes.Assign(&source.SubLanguageCodes);
  EnglishName = source.EnglishName;
  NativeName = source.NativeName;
  FontName = source.FontName;
  FontSize = source.FontSize;
  Flags = source.Flags;
  Charset = source.Charset;
}

std::unique_ptr<TLxLanguage> TLxLanguage::Clone() const {
  std::unique_ptr<TLxLanguage> copy = NewOfSameClass(*this);
  copy->Assign(*this);
  return copy;
}

namespace {

// Names and codes a language leaves out, from the system. A locale the system does not know
// gives no names, and so no variant word or country to add to them either.
void CompleteFromSystem(TLxLanguage& language) {
  const int lcid = language.SystemLcid();
  TakeIfEmpty(language.IsoLanguageName, lcid, platform::LOCALE_SISO639LANGNAME);
  TakeIfEmpty(language.IsoCountryName, lcid, platform::LOCALE_SISO3166CTRYNAME);
  if (language.EnglishName.empty()) {
    const std::string name = SystemText(lcid, platform::LOCALE_SENGLANGUAGE);
    if (!name.empty()) {
      language.EnglishName =
          LanguageDisplayName(name, language.PrimaryLanguage, language.CodePage, nullptr, false);
    }
  }
  if (language.NativeName.empty()) {
    language.NativeName = SystemText(lcid, platform::LOCALE_SNATIVELANGNAME);
    if (!language.NativeName.empty() && language.EffectiveSubLanguage() != 0)
      language.NativeName += " (" + SystemText(lcid, platform::LOCALE_SNATIVECTRYNAME) + ")";
  }
  if (language.CodePage == 0) language.CodePage = CodePageOrDefault(lcid);
}

// The main sub-language of a language stored without one: its first listed one, else the one
// its code page implies, else 1.
int MainSubLanguageOfUnset(const TLxLanguage& language) {
  if (language.SubLanguageCount() > 0) return language.SubLanguageAt(0);
  const int sub = SubLanguageOfCodePage(language.PrimaryLanguage, language.CodePage);
  return sub != 0 ? sub : 1;
}

}  // namespace

void TLxLanguage::Validate() {
  if (PrimaryLanguage < 0) PrimaryLanguage = 0;
  if (PrimaryLanguage == 0) {
    SubLanguage = 0;
    ClearSubLanguages();
    Flags = {lfAnyCodePage};
    EnglishName = "Native";
    NativeName = "Native";
  } else {
    if (SubLanguage < 1) SubLanguage = MainSubLanguageOfUnset(*this);
    CompleteFromSystem(*this);
  }
  if (LocaleSubLanguage == 0) LocaleSubLanguage = SubLanguage;
  if (Charset == 0) Charset = CharsetFromCodePage(CodePage);
}

bool TLxLanguage::SameAs(const TLxLanguage& other) const {
  return PrimaryLanguage == other.PrimaryLanguage &&
         (PrimaryLanguage == 0 || CodePage == other.CodePage);
}

std::string TLxLanguage::GetName(int kind, TLxDictionary* dictionary) const {
  switch (kind) {
    case kLxEnglishName:
      return LanguageDisplayName(EnglishName, PrimaryLanguage, CodePage, dictionary, false);
    case kLxNativeName:
      return LanguageDisplayName(NativeName, PrimaryLanguage, CodePage, dictionary, false);
    case kLxTranslatedName:
      return LanguageDisplayName(EnglishName, PrimaryLanguage, CodePage, dictionary, true);
    default:
      return {};
  }
}

// ---- TLxLocale

int TLxLocale::LocaleId() const {
  return MAKELCID(MAKELANGID(PrimaryLanguage, SubLanguage), SortId);
}

void TLxLocale::Assign(const TLxLocale& source) {
  if (&source != this) TLxLocaleFields::operator=(source);
}

std::unique_ptr<TLxLocale> TLxLocale::Clone() const {
  std::unique_ptr<TLxLocale> copy = NewOfSameClass(*this);
  copy->Assign(*this);
  return copy;
}

void TLxLocale::Validate() {
  const int lcid = LocaleId();
  if (PrimaryLanguage != 0) {
    TakeIfEmpty(EnglishLanguageName, lcid, platform::LOCALE_SENGLANGUAGE);
    TakeIfEmpty(NativeLanguageName, lcid, platform::LOCALE_SNATIVELANGNAME);
    TakeIfEmpty(EnglishCountryName, lcid, platform::LOCALE_SENGCOUNTRY);
    TakeIfEmpty(NativeCountryName, lcid, platform::LOCALE_SNATIVECTRYNAME);
    if (CodePage == 0) CodePage = CodePageOrDefault(lcid);
  }
  if (Charset == 0) Charset = CharsetFromLocale(lcid);
}

std::string TLxLocale::GetName(int kind, TLxDictionary* dictionary) const {
  switch (kind) {
    case kLxEnglishName:
      return LocaleDisplayName(EnglishLanguageName, EnglishCountryName, PrimaryLanguage,
                               SubLanguage, CodePage, dictionary, false);
    case kLxNativeName:
      return LocaleDisplayName(NativeLanguageName, NativeCountryName, PrimaryLanguage, SubLanguage,
                               CodePage, dictionary, false);
    case kLxTranslatedName:
      return LocaleDisplayName(EnglishLanguageName, EnglishCountryName, PrimaryLanguage,
                               SubLanguage, CodePage, dictionary, true);
    default:
      return {};
  }
}

namespace {

// The answers of the system for one locale, as the fields of a record take them.
class SystemLocaleReader {
 public:
  explicit SystemLocaleReader(int lcid) : lcid_(lcid) {}

  std::string Text(platform::LcType type) const { return SystemText(lcid_, type); }
  int Number(platform::LcType type) const {
    return platform::StrToIntDef(SystemText(lcid_, type, "0"), 0);
  }
  std::uint8_t Byte(platform::LcType type) const { return static_cast<std::uint8_t>(Number(type)); }
  // The first character of the answer, or `fallback` when there is none.
  char Character(platform::LcType type, char fallback) const {
    const std::string text = SystemText(lcid_, type, std::string_view(&fallback, 1));
    return text.empty() ? fallback : text.front();
  }
  template <std::size_t N>
  void Names(std::array<std::string, N>& names, platform::LcType first) const {
    for (std::size_t i = 0; i < N; ++i)
      names[i] = Text(first + static_cast<platform::LcType>(i));
  }

 private:
  int lcid_;
};

void LoadIdentity(TLxLocale& locale, const SystemLocaleReader& system, int lcid) {
  locale.PrimaryLanguage = PRIMARYLANGID(lcid);
  locale.SubLanguage = SUBLANGID(lcid);
  locale.CodePage = system.Number(platform::LOCALE_IDEFAULTANSICODEPAGE);
  locale.Custom = false;
  locale.Charset = CharsetFromCodePage(locale.CodePage);
  locale.EnglishLanguageName = system.Text(platform::LOCALE_SENGLANGUAGE);
  locale.EnglishCountryName = system.Text(platform::LOCALE_SENGCOUNTRY);
  locale.NativeLanguageName = system.Text(platform::LOCALE_SNATIVELANGNAME);
  locale.NativeCountryName = system.Text(platform::LOCALE_SNATIVECTRYNAME);
  locale.AbbrevLanguageName = system.Text(platform::LOCALE_SABBREVLANGNAME);
  locale.CountryName = system.Text(platform::LOCALE_SCOUNTRY);
}

void LoadNumberFormats(TLxLocale& locale, const SystemLocaleReader& system) {
  locale.CurrencyString = system.Text(platform::LOCALE_SCURRENCY);
  locale.CurrencyFormat = system.Byte(platform::LOCALE_ICURRENCY);
  locale.NegCurrFormat = system.Byte(platform::LOCALE_INEGCURR);
  locale.CurrencyDecimals = system.Byte(platform::LOCALE_ICURRDIGITS);
  locale.ThousandSeparator = system.Character(platform::LOCALE_STHOUSAND, ' ');
  locale.DecimalSeparator = system.Character(platform::LOCALE_SDECIMAL, ' ');
  locale.ListSeparator = system.Character(platform::LOCALE_SLIST, ',');
  locale.Measurement = system.Byte(platform::LOCALE_IMEASURE);
}

void LoadDateFormats(TLxLocale& locale, const SystemLocaleReader& system) {
  locale.DateSeparator = system.Character(platform::LOCALE_SDATE, ' ');
  locale.ShortDateFormat = system.Text(platform::LOCALE_SSHORTDATE);
  locale.LongDateFormat = system.Text(platform::LOCALE_SLONGDATE);
  locale.TimeSeparator = system.Character(platform::LOCALE_STIME, ' ');
  locale.TimeAMString = system.Text(platform::LOCALE_S1159);
  locale.TimePMString = system.Text(platform::LOCALE_S2359);
  locale.HourLeadingZero = system.Text(platform::LOCALE_ITLZERO) != "0";
  locale.TimeFormat = system.Byte(platform::LOCALE_ITIME);
  locale.TimeMarkPosition = system.Byte(platform::LOCALE_ITIMEMARKPOSN);
  locale.CalendarType = system.Byte(platform::LOCALE_ICALENDARTYPE);
  locale.OptionalCalendar = system.Byte(platform::LOCALE_IOPTIONALCALENDAR);
  locale.FirstDayOfWeek = system.Byte(platform::LOCALE_IFIRSTDAYOFWEEK);
  locale.FirstWeekOfYear = system.Byte(platform::LOCALE_IFIRSTWEEKOFYEAR);
  system.Names(locale.ShortMonthNames, platform::LOCALE_SABBREVMONTHNAME1);
  system.Names(locale.LongMonthNames, platform::LOCALE_SMONTHNAME1);
  system.Names(locale.ShortDayNames, platform::LOCALE_SABBREVDAYNAME1);
  system.Names(locale.LongDayNames, platform::LOCALE_SDAYNAME1);
}

}  // namespace

bool TLxLocale::LoadFromSystem(int lcid) {
  static constexpr std::string_view kUnknown = "@*";
  if (SystemText(lcid, platform::LOCALE_SENGLANGUAGE, kUnknown) == kUnknown) return false;
  const SystemLocaleReader system(lcid);
  CodePage = system.Number(platform::LOCALE_IDEFAULTANSICODEPAGE);
  if (CodePage == 0) return false;
  LoadIdentity(*this, system, lcid);
  LoadNumberFormats(*this, system);
  LoadDateFormats(*this, system);
  Validate();
  return true;
}

// ---- TLxTranslation

std::string TLxTranslation::KeyOf(std::string_view word, std::string_view context,
                                  std::string_view id) {
  std::string key;
  key.reserve(word.size() + 1 + context.size() + id.size());
  key.append(word).append(1, kKeySeparator).append(context).append(id);
  return key;
}

}  // namespace lx::lang

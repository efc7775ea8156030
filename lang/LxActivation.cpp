// Choosing and applying the active language and locale of a dictionary.
#include <algorithm>
#include <string>
#include <vector>

#include "framework/controls/Forms.h"
#include "framework/runtime/Application.h"
#include "framework/runtime/FormatSettings.h"
#include "lang/LxCustomTranslator.h"
#include "lang/LxDictionary.h"
#include "lang/LxLanguageIds.h"
#include "lang/LxLocaleVariables.h"
#include "lang/LxRedirection.h"
#include "lang/LxSystemSupport.h"
#include "platform/SystemLocale.h"

namespace lx::lang {

namespace {

std::string LocaleText(const char* text, int lcid) {
  return std::string("The locale (") + std::to_string(PRIMARYLANGID(lcid)) + ", " +
         std::to_string(SUBLANGID(lcid)) + ") " + text;
}

void Fire(const framework::TNotifyEvent& event, framework::TObject* sender) {
  if (event) event(sender);
}

}  // namespace

// ---- Setters

void TLxDictionary::SetLanguage(int value) {
  if (!opened_) {
    language_ = value;
    return;
  }
  if (value < -2 || value >= GetLanguageCount()) {
    throw platform::ERangeError("Language index " + std::to_string(value) + " is out of range");
  }
  if (value == Language()) return;
  language_ = value;
  SelectLanguage(value);
  const int oldLocale = activeLocaleId_;
  if (binding_ == lxbiLocaleToLanguage) SelectLocale(currentLanguage_->LocaleLcid());
  Change(true, activeLocaleId_ != oldLocale);
}

void TLxDictionary::SetLocale(int lcid) {
  if (!opened_) {
    locale_ = lcid;
    return;
  }
  if (lcid == locale_) return;
  locale_ = lcid;
  SelectLocale(lcid);
  const int oldLanguage = activeLanguageIndex_;
  if (binding_ == lxbiLanguageToLocale) SelectLanguageOfLocale();
  Change(activeLanguageIndex_ != oldLanguage, true);
}

// ---- Opening and closing

void TLxDictionary::DoOpen() {
  if ((!enabled_ && opened_) || !CanOpen()) return;
  try {
    requestedLanguage_ = language_;
    SelectByBinding();
    if (!IsDesigning() && options_.Contains(lxdoTranslateResourceStrings) &&
        !ResourceStringRedirectionInstalled()) {
      InstallResourceStringRedirection(this);
    }
    opened_ = true;
    Change(true, true);
  } catch (...) {
    Close();
    throw;
  }
}

void TLxDictionary::DoClose() {
  if (!IsDesigning()) ReleaseResourceStringRedirection(this);
  UnlinkTranslators();
  opened_ = false;
}

void TLxDictionary::SelectByBinding() {
  switch (binding_) {
    case lxbiNone:
      SelectLanguage(language_);
      SelectLocale(locale_);
      break;
    case lxbiLocaleToLanguage:
      SelectLanguage(language_);
      SelectLocale(currentLanguage_->LocaleLcid());
      break;
    case lxbiLanguageToLocale:
      SelectLocale(locale_);
      SelectLanguageOfLocale();
      break;
  }
}

void TLxDictionary::SelectLanguageOfLocale() {
  const int index = IndexOfLocale(activeLocaleId_);
  if (index < 0) {
    SelectLanguage(FirstSupportedLanguage());
  } else {
    SelectLanguage(index);
    languageLocaleId_ = activeLocaleId_;
  }
}

void TLxDictionary::UpdateLocaleFromLanguage() {
  if (!opened_) return;
  const int oldLocale = activeLocaleId_;
  SelectLocale(currentLanguage_->LanguageLcid());
  if (activeLocaleId_ != oldLocale) Change(false, true);
}

void TLxDictionary::UpdateLanguageFromLocale() {
  if (!opened_) return;
  const int oldLanguage = activeLanguageIndex_;
  SelectLanguage(IndexOfLocale(activeLocaleId_));
  if (activeLanguageIndex_ != oldLanguage) Change(true, false);
}

// ---- Finding languages and locales

int TLxDictionary::ResolveLocale(int lcid) {
  if (lcid == kLxUserDefaultLcid) return static_cast<int>(platform::UserDefaultLcid());
  if (lcid == kLxSystemDefaultLcid) return static_cast<int>(platform::SystemDefaultLcid());
  return lcid;
}

int TLxDictionary::IndexOfLocale(int lcid) {
  if (lcid == 0) return 0;
  const int resolved = ResolveLocale(lcid);
  const int primary = PRIMARYLANGID(resolved);
  const int sub = SUBLANGID(resolved);
  std::vector<std::unique_ptr<TLxLanguage>> languages;
  GetLanguages(languages);
  const auto first = [&languages, primary](auto&& matches) {
    for (std::size_t i = 0; i < languages.size(); ++i) {
      if (languages[i]->PrimaryLanguage == primary && matches(*languages[i]))
        return static_cast<int>(i);
    }
    return -1;
  };
  int index = first([sub](const TLxLanguage& language) {
    return language.EffectiveSubLanguage() == sub || language.HasSubLanguage(sub);
  });
  if (index < 0) {
    index = first([](const TLxLanguage& language) {
      return language.SubLanguageCount() == 0 || language.SubLanguageAt(0) == 0;
    });
  }
  if (index < 0) index = first([](const TLxLanguage&) { return true; });
  return index;
}

bool TLxDictionary::PassesCheckLevel(int index) {
  switch (checkLevel_) {
    case lxclSystem:
      return LanguageSupportedBySystem(LanguageAt(index));
    case lxclCodePage:
      return LanguageSupportedByCodePage(LanguageAt(index));
    case lxclNone:
    default:
      return true;
  }
}

int TLxDictionary::FirstSupportedLanguage() {
  const int count = GetLanguageCount();
  const int start = masterLanguage_ >= 0 && masterLanguage_ < count ? masterLanguage_ : 0;
  for (int index = start; index < count; ++index) {
    if (PassesCheckLevel(index)) return index;
  }
  return -1;
}

bool TLxDictionary::FindLocale(int lcid, TLxLocale& dest) {
  std::vector<std::unique_ptr<TLxLocale>> locales;
  GetLocales(locales);
  for (const auto& locale : locales) {
    if (locale->LocaleId() == lcid) {
      dest.Assign(*locale);
      return true;
    }
  }
  return dest.LoadFromSystem(lcid);
}

// ---- Selecting

void TLxDictionary::SelectLanguage(int index) {
  fallbackLanguageIndex_ = 0;
  if (index == -2) {
    activeLanguageIndex_ = IndexOfLocale(static_cast<int>(platform::SystemDefaultLcid()));
  } else if (index == -1) {
    activeLanguageIndex_ = IndexOfLocale(static_cast<int>(platform::UserDefaultLcid()));
  } else {
    activeLanguageIndex_ = index;
  }
  if (activeLanguageIndex_ < 0) {
    activeLanguageIndex_ = FirstSupportedLanguage();
    if (activeLanguageIndex_ == -1)
      throw ELxPoly("System does not support any language of the dicitonary!");
  }
  currentLanguage_ = std::make_unique<TLxLanguage>();
  if (GetLanguageCount() > 0) ReadCurrentLanguage();
  if (masterLanguage_ > 0 && fallbackLanguageIndex_ == 0) fallbackLanguageIndex_ = masterLanguage_;
  languageLocaleId_ = currentLanguage_->LocaleLcid();
  if (!IsDesigning()) CheckLanguageSupport();
}

// Fills the current language (over the native one, whose code page is kept) and works out
// its locale's sub-language and the fallback language.
void TLxDictionary::ReadCurrentLanguage() {
  TLxLanguage& language = *currentLanguage_;
  GetLanguage(0, language);
  nativeCodePage_ = language.CodePage;
  GetLanguage(activeLanguageIndex_, language);
  if (binding_ == lxbiLocaleToLanguage) {
    const int defaultLcid = static_cast<int>(
        requestedLanguage_ == -2 ? platform::SystemDefaultLcid() : platform::UserDefaultLcid());
    const int languageLcid = language.LanguageLcid();
    const int taken =
        PRIMARYLANGID(defaultLcid) == PRIMARYLANGID(languageLcid) ? defaultLcid : languageLcid;
    language.SetLocaleSubLanguage(SUBLANGID(taken));
  }
  if (language.SubLanguageCount() > 0)
    fallbackLanguageIndex_ = IndexOfLocale(MAKELANGID(language.PrimaryLanguage, 0));
}

void TLxDictionary::CheckLanguageSupport() const {
  const TLxLanguage& language = *currentLanguage_;
  if (checkLevel_ == lxclSystem && !LanguageSupportedBySystem(language))
    throw ELxPoly(language.EnglishName + " is not supported by the system");
  if (checkLevel_ == lxclCodePage && !LanguageSupportedByCodePage(language))
    throw ELxPoly(language.EnglishName + " is not supported by the code page");
}

void TLxDictionary::SelectLocale(int lcid) {
  activeLocaleId_ = ResolveLocale(lcid);
  currentLocale_ = std::make_unique<TLxLocale>();
  localeKnown_ = FindLocale(activeLocaleId_, *currentLocale_);
  if (!IsDesigning()) CheckLocaleSupport(lcid);
}

void TLxDictionary::CheckLocaleSupport(int lcid) const {
  const TLxLocale& locale = *currentLocale_;
  if (checkLevel_ == lxclSystem && !IsCodePageSupported(locale.CodePage))
    throw ELxPoly(LocaleText("is not supported by the system", lcid));
  if (checkLevel_ == lxclCodePage && !LocaleSupportedByCodePage(locale))
    throw ELxPoly(LocaleText("is not supported by the current code page", lcid));
}

// ---- Applying a change

void TLxDictionary::Change(bool languageChanged, bool localeChanged) {
  ApplyReadingDirection();
  if (localeChanged) {
    platform::SetThreadLocale(static_cast<platform::Lcid>(activeLocaleId_));
    // An unknown locale leaves an empty record, which has no formats to give.
    if (options_.Contains(lxdoUpdateLocaleVariables) && localeKnown_) ApplyLocaleSettings();
  }
  if (options_.Contains(lxdoAutoTranslate)) NotifyTranslators(languageChanged, localeChanged);
  if (languageChanged) Fire(OnLanguageChange, this);
  if (localeChanged) Fire(OnLocaleChange, this);
  if (languageChanged && options_.Contains(lxdoRecreateMDIChild)) RecreateMaximizedMDIChild();
}

void TLxDictionary::ApplyLocaleSettings() {
  const TLxLocale& locale = *currentLocale_;
  InitSysLocaleFor(locale.LocaleId());
  framework::TFormatSettings& settings = framework::FormatSettings();
  settings.CurrencyString = locale.CurrencyString;
  settings.CurrencyFormat = locale.CurrencyFormat;
  settings.NegCurrFormat = locale.NegCurrFormat;
  settings.ThousandSeparator = locale.ThousandSeparator;
  settings.DecimalSeparator = locale.DecimalSeparator;
  settings.CurrencyDecimals = locale.CurrencyDecimals;
  settings.DateSeparator = locale.DateSeparator;
  settings.ShortDateFormat = locale.ShortDateFormat;
  settings.LongDateFormat = locale.LongDateFormat;
  settings.ListSeparator = locale.ListSeparator;
  if (locale.CodePage != 0) settings.CodePage = static_cast<std::uint32_t>(locale.CodePage);
  if (options_.Contains(lxdoYear2000)) {
    settings.ShortDateFormat = WidenYear(settings.ShortDateFormat);
    settings.LongDateFormat = WidenYear(settings.LongDateFormat);
  }
  settings.TimeSeparator = locale.TimeSeparator;
  settings.TimeAMString = locale.TimeAMString;
  settings.TimePMString = locale.TimePMString;
  BuildTimeFormats(locale, settings);
  settings.ShortMonthNames = locale.ShortMonthNames;
  settings.LongMonthNames = locale.LongMonthNames;
  // The locale counts days from Monday, the run-time from Sunday.
  for (std::size_t day = 0; day < 7; ++day) {
    settings.ShortDayNames[(day + 1) % 7] = locale.ShortDayNames[day];
    settings.LongDayNames[(day + 1) % 7] = locale.LongDayNames[day];
  }
  LocaleValues() = {locale.Measurement, locale.FirstDayOfWeek, locale.FirstWeekOfYear};
}

void TLxDictionary::NotifyTranslators(bool languageChanged, bool localeChanged) {
  // Those registered when the change began, each while it is still registered: a translator
  // may leave (or make another leave) while it is told.
  std::vector<TLxCustomTranslator*> told;
  for (const TranslatorLink& link : translators_)
    told.push_back(link.translator);
  for (TLxCustomTranslator* translator : told) {
    if (IsRegistered(translator)) translator->LanguageChanged(languageChanged, localeChanged);
  }
}

void TLxDictionary::ApplyReadingDirection() {
  const bool rightToLeft = currentLanguage_->ScriptClass() == kLxScriptRightToLeft;
  framework::Application().SetBiDiMode(rightToLeft ? framework::bdRightToLeft
                                                   : framework::bdLeftToRight);
}

// A maximised MDI child is made anew so that its frame follows the new language; a single
// child keeps the rectangle it is restored to.
void TLxDictionary::RecreateMaximizedMDIChild() {
  const framework::TCustomForm* frame = framework::Application().MainForm();
  if (frame == nullptr || frame->FormStyle() != framework::fsMDIForm) return;
  framework::TCustomForm* child = frame->ActiveMDIChild();
  if (child == nullptr || child->WindowState() != framework::wsMaximized) return;
  const bool single = frame->MDIChildCount() == 1;
  platform::WINDOWPLACEMENT placement;
  if (single && child->HandleAllocated()) platform::GetWindowPlacement(child->Handle(), placement);
  const platform::RECT normal = placement.rcNormalPosition;
  child->RecreateWnd();
  if (single && child->HandleAllocated()) {
    platform::GetWindowPlacement(child->Handle(), placement);
    placement.rcNormalPosition = normal;
    platform::SetWindowPlacement(child->Handle(), placement);
  }
}

}  // namespace lx::lang

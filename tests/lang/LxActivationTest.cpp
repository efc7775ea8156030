// Choosing the active language and locale of a dictionary, and what a change
// does to the process, the translators and the events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/controls/Forms.h"
#include "framework/runtime/Application.h"
#include "framework/runtime/DateTime.h"
#include "framework/runtime/FormatSettings.h"
#include "framework/runtime/SysLocale.h"
#include "lang/LxDictionary.h"
#include "lang/LxLocaleVariables.h"
#include "platform/Exception.h"
#include "platform/SystemLocale.h"
#include "platform/Windows.h"
#include "support/FixedSystem.h"
#include "support/Raised.h"
#include "support/lang/LxMemoryDictionary.h"
#include "support/lang/LxProcessState.h"
#include "support/lang/LxRecordingTranslator.h"

namespace lx::lang {
namespace {

using support::MessageOf;

using support::TLxMemoryDictionary;
using support::TLxRecordingTranslator;
using Texts = std::vector<std::string>;

// The fixed Austrian system with other default locales.
platform::SystemDescription SystemWith(int userLcid, int systemLcid) {
  platform::SystemDescription description = support::AustrianSystem();
  description.userDefaultLcid = static_cast<platform::Lcid>(userLcid);
  description.systemDefaultLcid = static_cast<platform::Lcid>(systemLcid);
  return description;
}

class LxActivationTest : public ::testing::Test {
 protected:
  ~LxActivationTest() override { framework::DoneApplication(); }

  // Native, German (Germany and Austria), English (US), Russian.
  void AddEuropeanLanguages(TLxMemoryDictionary& dictionary) {
    dictionary.AddLanguage(0, 0, 1252);
    dictionary.AddLanguage(7, 1, 1252, "1,3", "German");
    dictionary.AddLanguage(9, 1, 1252, "", "English");
    dictionary.AddLanguage(25, 1, 1251, "", "Russian");
  }

  void Watch(TLxDictionary& dictionary) {
    dictionary.OnLanguageChange = [this](framework::TObject* sender) {
      log_.push_back(sender == dictionary_ ? "language" : "language from elsewhere");
    };
    dictionary.OnLocaleChange = [this](framework::TObject*) { log_.push_back("locale"); };
  }

  support::FixedSystem system_;
  support::TLxProcessState state_;
  TLxMemoryDictionary dictionary{nullptr};
  TLxDictionary* dictionary_ = &dictionary;
  Texts log_;
};

// ---- Finding languages and locales

TEST_F(LxActivationTest, IndexOfLocalePrefersListedSubLanguagesThenPlainLanguages) {
  dictionary.AddLanguage(0, 0, 1252);
  dictionary.AddLanguage(9, 1, 1252, "1", "English (US)");
  dictionary.AddLanguage(9, 2, 1252, "2", "English (UK)");
  dictionary.AddLanguage(9, 1, 1252, "", "English");
  dictionary.AddLanguage(7, 1, 1252, "1", "German");

  EXPECT_EQ(dictionary.IndexOfLocale(0), 0);
  EXPECT_EQ(dictionary.IndexOfLocale(0x0809), 2);
  EXPECT_EQ(dictionary.IndexOfLocale(0x0409), 1);
  // No language lists Canada: the one without sub-languages serves it.
  EXPECT_EQ(dictionary.IndexOfLocale(0x1009), 3);
  EXPECT_EQ(dictionary.IndexOfLocale(0x0009), 3);
  // Only a German that lists Germany: any German serves Austria.
  EXPECT_EQ(dictionary.IndexOfLocale(0x0C07), 4);
  EXPECT_EQ(dictionary.IndexOfLocale(0x040C), -1);
  // The stand-ins are resolved first: the user is Austrian.
  EXPECT_EQ(dictionary.IndexOfLocale(0x0400), 4);
}

TEST_F(LxActivationTest, ResolveLocaleReplacesOnlyTheStandIns) {
  const support::FixedSystem system(SystemWith(0x0409, 0x040C));
  EXPECT_EQ(TLxDictionary::ResolveLocale(0x0400), 0x0409);
  EXPECT_EQ(TLxDictionary::ResolveLocale(0x0800), 0x040C);
  EXPECT_EQ(TLxDictionary::ResolveLocale(0x0C07), 0x0C07);
  EXPECT_EQ(TLxDictionary::ResolveLocale(0), 0);
}

TEST_F(LxActivationTest, FirstSupportedLanguageScansUpwardsFromTheMasterLanguage) {
  dictionary.AddLanguage(9, 1, 1252, "", "English");
  dictionary.AddLanguage(25, 1, 1251, "", "Russian");
  dictionary.AddLanguage(8, 1, 1253, "", "Greek");
  dictionary.AddLanguage(7, 1, 1252, "", "German");

  EXPECT_EQ(dictionary.FirstSupportedLanguage(), 0);
  dictionary.SetMasterLanguage(1);
  EXPECT_EQ(dictionary.FirstSupportedLanguage(), 3);
  dictionary.SetCheckLevel(lxclSystem);
  EXPECT_EQ(dictionary.FirstSupportedLanguage(), 1);
  dictionary.SetCheckLevel(lxclNone);
  EXPECT_EQ(dictionary.FirstSupportedLanguage(), 1);
  // A master language out of range starts at 0.
  dictionary.SetMasterLanguage(9);
  dictionary.SetCheckLevel(lxclCodePage);
  EXPECT_EQ(dictionary.FirstSupportedLanguage(), 0);

  // It never wraps to lower indexes, and the design state does not skip it.
  TLxMemoryDictionary cyrillic(nullptr);
  cyrillic.AddLanguage(7, 1, 1252, "", "German");
  cyrillic.AddLanguage(25, 1, 1251, "", "Russian");
  cyrillic.SetMasterLanguage(1);
  cyrillic.SetDesigning(true);
  EXPECT_EQ(cyrillic.FirstSupportedLanguage(), -1);
  TLxMemoryDictionary empty(nullptr);
  EXPECT_EQ(empty.FirstSupportedLanguage(), -1);
}

TEST_F(LxActivationTest, FindLocalePrefersTheDictionarysOwnLocales) {
  TLxLocale custom;
  ASSERT_TRUE(custom.LoadFromSystem(0x0809));
  custom.ShortDateFormat = "dd/MM/yy";
  dictionary.AddLocale(custom);

  TLxLocale found;
  EXPECT_TRUE(dictionary.FindLocale(0x0809, found));
  EXPECT_EQ(found.ShortDateFormat, "dd/MM/yy");
  EXPECT_TRUE(found.Custom);

  TLxLocale system;
  EXPECT_TRUE(dictionary.FindLocale(0x0407, system));
  EXPECT_EQ(system.EnglishCountryName, "Germany");
  EXPECT_FALSE(system.Custom);

  TLxLocale unknown;
  EXPECT_FALSE(dictionary.FindLocale(0x07FE, unknown));
  EXPECT_EQ(unknown.EnglishLanguageName, "");
}

// ---- Opening under each binding

TEST_F(LxActivationTest, LocaleToLanguageTakesTheUsersSubLanguage) {
  AddEuropeanLanguages(dictionary);
  dictionary.Open();
  EXPECT_EQ(dictionary.RequestedLanguage(), -1);
  EXPECT_EQ(dictionary.ActiveLanguageIndex(), 1);
  EXPECT_EQ(dictionary.CurrentLanguage().LocaleSubLanguage, 3);
  EXPECT_EQ(dictionary.LanguageLocaleId(), 0x0C07);
  EXPECT_EQ(dictionary.ActiveLocaleId(), 0x0C07);
  EXPECT_EQ(dictionary.CurrentLocale().EnglishCountryName, "Austria");
  EXPECT_EQ(dictionary.NativeCodePage(), 1252);
  EXPECT_EQ(platform::ThreadLocale(), 0x0C07u);

  // A language of another primary language keeps its own sub-language.
  dictionary.SetLanguage(2);
  EXPECT_EQ(dictionary.ActiveLocaleId(), 0x0409);
  EXPECT_EQ(platform::ThreadLocale(), 0x0409u);
}

TEST_F(LxActivationTest, TheSystemsDefaultLanguageUsesTheSystemsSubLanguage) {
  const support::FixedSystem system(SystemWith(0x0409, 0x0C07));
  AddEuropeanLanguages(dictionary);
  dictionary.SetLanguage(-2);
  dictionary.Open();
  EXPECT_EQ(dictionary.ActiveLanguageIndex(), 1);
  EXPECT_EQ(dictionary.ActiveLocaleId(), 0x0C07);

  dictionary.Close();
  dictionary.SetLanguage(-1);
  dictionary.Open();
  EXPECT_EQ(dictionary.ActiveLanguageIndex(), 2);
  EXPECT_EQ(dictionary.ActiveLocaleId(), 0x0409);
}

TEST_F(LxActivationTest, WithoutBindingLanguageAndLocaleAreChosenApart) {
  AddEuropeanLanguages(dictionary);
  dictionary.SetBinding(lxbiNone);
  dictionary.SetLanguage(2);
  dictionary.SetLocale(0x040C);
  dictionary.Open();
  EXPECT_EQ(dictionary.ActiveLanguageIndex(), 2);
  EXPECT_EQ(dictionary.LanguageLocaleId(), 0x0409);
  EXPECT_EQ(dictionary.ActiveLocaleId(), 0x040C);
  EXPECT_EQ(dictionary.CurrentLocale().EnglishLanguageName, "French");
}

TEST_F(LxActivationTest, LanguageToLocalePicksTheLanguageOfTheLocale) {
  AddEuropeanLanguages(dictionary);
  dictionary.SetBinding(lxbiLanguageToLocale);
  dictionary.SetLocale(0x0809);
  dictionary.Open();
  EXPECT_EQ(dictionary.ActiveLanguageIndex(), 2);
  EXPECT_EQ(dictionary.ActiveLocaleId(), 0x0809);
  EXPECT_EQ(dictionary.LanguageLocaleId(), 0x0809);

  // No language for French: the first supported one.
  dictionary.SetLocale(0x040C);
  EXPECT_EQ(dictionary.ActiveLanguageIndex(), 0);
  EXPECT_EQ(dictionary.ActiveLocaleId(), 0x040C);
  EXPECT_EQ(dictionary.LanguageLocaleId(), 0);
}

TEST_F(LxActivationTest, FallbackIsTheSameLanguageWithoutSubLanguage) {
  dictionary.AddLanguage(0, 0, 1252);
  dictionary.AddLanguage(9, 1, 1252, "1", "English (US)");
  dictionary.AddLanguage(9, 2, 1252, "2", "English (UK)");
  dictionary.AddLanguage(9, 1, 1252, "", "English");
  dictionary.AddLanguage(7, 1, 1252, "", "German");
  dictionary.SetLanguage(2);
  dictionary.Open();
  EXPECT_EQ(dictionary.FallbackLanguageIndex(), 3);

  // A language without sub-languages has the native language, or else the master one.
  dictionary.SetLanguage(4);
  EXPECT_EQ(dictionary.FallbackLanguageIndex(), 0);
  dictionary.SetMasterLanguage(3);
  dictionary.SetLanguage(1);
  EXPECT_EQ(dictionary.FallbackLanguageIndex(), 3);
  dictionary.SetLanguage(4);
  EXPECT_EQ(dictionary.FallbackLanguageIndex(), 3);
}

TEST_F(LxActivationTest, ALanguageStoredOutOfRangeFailsOnlyWhenOpened) {
  AddEuropeanLanguages(dictionary);
  dictionary.SetLanguage(99);
  EXPECT_EQ(dictionary.Language(), 99);
  dictionary.OnAfterClose = [this](framework::TObject*) { log_.push_back("closed"); };
  EXPECT_EQ(MessageOf<platform::EListError>([&] { dictionary.Open(); }),
            "List index out of bounds (99)");
  EXPECT_FALSE(dictionary.IsOpen());
  EXPECT_EQ(log_, Texts{"closed"});
  EXPECT_TRUE(dictionary.changes.empty());
}

// ---- Setting language and locale while open

TEST_F(LxActivationTest, SetLanguageChecksTheRangeOnlyWhileOpen) {
  dictionary.AddLanguage(0, 0, 1252);
  dictionary.AddLanguage(9, 1, 1252, "", "English");
  dictionary.Open();
  EXPECT_EQ(MessageOf<platform::ERangeError>([&] { dictionary.SetLanguage(99); }),
            "Language index 99 is out of range");
  EXPECT_EQ(MessageOf<platform::ERangeError>([&] { dictionary.SetLanguage(2); }),
            "Language index 2 is out of range");
  EXPECT_EQ(MessageOf<platform::ERangeError>([&] { dictionary.SetLanguage(-3); }),
            "Language index -3 is out of range");
  EXPECT_EQ(dictionary.Language(), 0);
  EXPECT_EQ(dictionary.RequestedLanguage(), -1);
}

TEST_F(LxActivationTest, LanguageReadsBackThePositionInForceWhileOpen) {
  AddEuropeanLanguages(dictionary);
  dictionary.Open();
  // The user is Austrian: -1 stands for German.
  EXPECT_EQ(dictionary.Language(), 1);
  EXPECT_EQ(dictionary.RequestedLanguage(), -1);
  EXPECT_EQ(dictionary.LanguageAt(dictionary.Language()).EnglishName, "German");

  // The language in force again changes nothing and tells nobody.
  Watch(dictionary);
  dictionary.changes.clear();
  dictionary.SetLanguage(1);
  EXPECT_TRUE(dictionary.changes.empty());
  EXPECT_TRUE(log_.empty());

  dictionary.SetLanguage(2);
  EXPECT_EQ(dictionary.Language(), 2);
  dictionary.SetLanguage(-2);
  EXPECT_EQ(dictionary.Language(), 1);
  EXPECT_EQ(dictionary.changes.size(), 2u);

  // Closed, it is the stored request again.
  dictionary.Close();
  EXPECT_EQ(dictionary.Language(), -2);
}

TEST_F(LxActivationTest, TheRequestAtOpeningDecidesTheLocaleOfLaterLanguages) {
  const support::FixedSystem system(SystemWith(0x0C07, 0x0809));
  dictionary.AddLanguage(0, 0, 1252);
  dictionary.AddLanguage(7, 1, 1252, "1,3", "German");
  dictionary.AddLanguage(9, 1, 1252, "1,2", "English");
  dictionary.SetLanguage(-2);
  dictionary.Open();
  EXPECT_EQ(dictionary.Language(), 2);
  EXPECT_EQ(dictionary.ActiveLocaleId(), 0x0809);

  // Still the system's default that counts, not the user's Austria.
  dictionary.SetLanguage(1);
  EXPECT_EQ(dictionary.RequestedLanguage(), -2);
  EXPECT_EQ(dictionary.ActiveLocaleId(), 0x0407);
  dictionary.SetLanguage(2);
  EXPECT_EQ(dictionary.ActiveLocaleId(), 0x0809);
}

TEST_F(LxActivationTest, OnlyEffectiveChangesAreApplied) {
  AddEuropeanLanguages(dictionary);
  dictionary.SetLanguage(2);
  dictionary.Open();
  dictionary.changes.clear();
  dictionary.SetLanguage(2);
  dictionary.SetLocale(0x0400);
  EXPECT_TRUE(dictionary.changes.empty());

  // The value is compared, not the language it stands for.
  dictionary.SetLanguage(-1);
  EXPECT_EQ(dictionary.ActiveLanguageIndex(), 1);
  EXPECT_EQ(dictionary.changes.size(), 1u);
}

TEST_F(LxActivationTest, ChangesReportWhatChanged) {
  AddEuropeanLanguages(dictionary);
  dictionary.SetLanguage(2);
  dictionary.Open();
  Watch(dictionary);

  using Changes = std::vector<std::pair<bool, bool>>;
  dictionary.changes.clear();
  dictionary.SetLanguage(1);   // English to German: the locale follows
  dictionary.SetLanguage(0);   // native: locale 0
  dictionary.SetLanguage(-1);  // German for the Austrian user
  dictionary.SetLanguage(1);   // the German in force: nothing
  dictionary.SetLanguage(-2);  // the same German again: the locale stays
  EXPECT_EQ(dictionary.changes, (Changes{{true, true}, {true, true}, {true, true}, {true, false}}));
  EXPECT_EQ(log_,
            (Texts{"language", "locale", "language", "locale", "language", "locale", "language"}));

  // Without binding a locale change leaves the language alone. The system's default locale
  // is the user's here, yet a new value counts as a change.
  log_.clear();
  dictionary.changes.clear();
  dictionary.SetBinding(lxbiNone);
  dictionary.SetSubLanguage(2);
  EXPECT_EQ(dictionary.changes, (Changes{{false, true}}));
  EXPECT_EQ(log_, Texts{"locale"});
  EXPECT_EQ(dictionary.Locale(), 0x0800);
  EXPECT_EQ(dictionary.ActiveLocaleId(), 0x0C07);
}

TEST_F(LxActivationTest, LanguageToLocaleReportsALanguageChangeOnlyWhenThereIsOne) {
  AddEuropeanLanguages(dictionary);
  dictionary.SetBinding(lxbiLanguageToLocale);
  dictionary.SetPrimaryLanguage(9);
  dictionary.Open();
  ASSERT_EQ(dictionary.ActiveLanguageIndex(), 2);
  Watch(dictionary);

  // English (UK) is still the English language.
  dictionary.SetSubLanguage(2);
  EXPECT_EQ(dictionary.ActiveLocaleId(), 0x0809);
  EXPECT_EQ(dictionary.ActiveLanguageIndex(), 2);
  EXPECT_EQ(log_, Texts{"locale"});

  log_.clear();
  dictionary.SetPrimaryLanguage(7);
  EXPECT_EQ(dictionary.ActiveLocaleId(), 0x0807);
  EXPECT_EQ(dictionary.ActiveLanguageIndex(), 1);
  EXPECT_EQ(log_, (Texts{"language", "locale"}));
}

TEST_F(LxActivationTest, UpdatesMakeLanguageAndLocaleMeet) {
  AddEuropeanLanguages(dictionary);
  dictionary.SetBinding(lxbiNone);
  dictionary.UpdateLocaleFromLanguage();
  EXPECT_TRUE(dictionary.changes.empty());

  dictionary.SetLanguage(1);
  dictionary.SetLocale(0x0409);
  dictionary.Open();
  dictionary.changes.clear();
  // The language's own LCID, not its locale's sub-language.
  dictionary.UpdateLocaleFromLanguage();
  EXPECT_EQ(dictionary.ActiveLocaleId(), 0x0407);
  dictionary.UpdateLocaleFromLanguage();
  EXPECT_EQ((std::vector<std::pair<bool, bool>>{{false, true}}), dictionary.changes);

  dictionary.SetLocale(0x0809);
  dictionary.changes.clear();
  dictionary.UpdateLanguageFromLocale();
  EXPECT_EQ(dictionary.ActiveLanguageIndex(), 2);
  dictionary.UpdateLanguageFromLocale();
  EXPECT_EQ((std::vector<std::pair<bool, bool>>{{true, false}}), dictionary.changes);
}

// ---- Support checks

TEST_F(LxActivationTest, LanguagesOutsideTheCodePageAreRefused) {
  AddEuropeanLanguages(dictionary);
  dictionary.AddLanguage(25, 1, 1251, "", "Russian", {lfAnyCodePage});
  dictionary.AddLanguage(33, 1, 1251, "", "Indonesian");
  dictionary.SetBinding(lxbiNone);
  dictionary.SetLanguage(0);
  dictionary.Open();

  dictionary.changes.clear();
  EXPECT_EQ(MessageOf<ELxPoly>([&] { dictionary.SetLanguage(3); }),
            "Russian is not supported by the code page (the dictionary\'s CheckLevel lxclNone "
            "allows it)");
  // The new state stays; nothing was applied.
  EXPECT_EQ(dictionary.Language(), 3);
  EXPECT_EQ(dictionary.ActiveLanguageIndex(), 3);
  EXPECT_EQ(dictionary.CurrentLanguage().EnglishName, "Russian");
  EXPECT_TRUE(dictionary.changes.empty());

  EXPECT_NO_THROW(dictionary.SetLanguage(4));
  EXPECT_NO_THROW(dictionary.SetLanguage(5));
  dictionary.SetCheckLevel(lxclSystem);
  EXPECT_NO_THROW(dictionary.SetLanguage(3));
  dictionary.SetCheckLevel(lxclNone);
  EXPECT_NO_THROW(dictionary.SetLanguage(0));
}

TEST_F(LxActivationTest, LanguagesWhoseCodePageIsMissingAreRefusedBySystemCheck) {
  dictionary.AddLanguage(0, 0, 1252);
  dictionary.AddLanguage(18, 1, 1361, "", "Korean (Johab)");
  dictionary.SetBinding(lxbiNone);
  dictionary.SetCheckLevel(lxclSystem);
  dictionary.SetLanguage(1);
  EXPECT_EQ(MessageOf<ELxPoly>([&] { dictionary.Open(); }),
            "Korean (Johab) is not supported by the system (the dictionary\'s CheckLevel lxclNone "
            "allows it)");
  EXPECT_FALSE(dictionary.IsOpen());
}

TEST_F(LxActivationTest, NoSupportedLanguageIsAnError) {
  const std::string message = "System does not support any language of the dicitonary!";
  TLxMemoryDictionary empty(nullptr);
  EXPECT_EQ(MessageOf<ELxPoly>([&] { empty.Open(); }), message);

  dictionary.AddLanguage(25, 1, 1251, "", "Russian");
  dictionary.AddLanguage(8, 1, 1253, "", "Greek");
  EXPECT_EQ(MessageOf<ELxPoly>([&] { dictionary.Open(); }), message);
  EXPECT_FALSE(dictionary.IsOpen());
}

TEST_F(LxActivationTest, LocalesOutsideTheCodePageAreRefused) {
  AddEuropeanLanguages(dictionary);
  dictionary.SetBinding(lxbiNone);
  dictionary.SetLanguage(0);
  dictionary.Open();
  EXPECT_EQ(MessageOf<ELxPoly>([&] { dictionary.SetLocale(0x0419); }),
            "The locale (25, 1) is not supported by the current code page (the dictionary\'s "
            "CheckLevel lxclNone allows it)");
  EXPECT_EQ(dictionary.Locale(), 0x0419);
  EXPECT_EQ(dictionary.ActiveLocaleId(), 0x0419);

  dictionary.SetCheckLevel(lxclSystem);
  EXPECT_NO_THROW(dictionary.SetLocale(0x0408));
  // English passes whatever its code page.
  dictionary.SetCheckLevel(lxclCodePage);
  TLxLocale english;
  english.PrimaryLanguage = 9;
  english.SubLanguage = 5;
  english.CodePage = 1251;
  dictionary.AddLocale(english);
  EXPECT_NO_THROW(dictionary.SetLocale(0x1409));
}

TEST_F(LxActivationTest, LocaleErrorsNameTheLocaleAsPassed) {
  const support::FixedSystem system(SystemWith(0x0419, 0x0C07));
  dictionary.AddLanguage(0, 0, 1252);
  dictionary.SetBinding(lxbiNone);
  dictionary.SetLocale(0x0407);
  dictionary.Open();
  EXPECT_EQ(MessageOf<ELxPoly>([&] { dictionary.SetLocale(0x0400); }),
            "The locale (0, 1) is not supported by the current code page (the dictionary\'s "
            "CheckLevel lxclNone allows it)");
  EXPECT_EQ(dictionary.ActiveLocaleId(), 0x0419);
}

TEST_F(LxActivationTest, LocalesWhoseCodePageIsMissingAreRefusedBySystemCheck) {
  dictionary.AddLanguage(0, 0, 1252);
  TLxLocale johab;
  johab.PrimaryLanguage = 18;
  johab.SubLanguage = 2;
  johab.CodePage = 1361;
  dictionary.AddLocale(johab);
  dictionary.SetBinding(lxbiNone);
  dictionary.SetCheckLevel(lxclSystem);
  dictionary.Open();
  EXPECT_EQ(MessageOf<ELxPoly>([&] { dictionary.SetLocale(0x0812); }),
            "The locale (18, 2) is not supported by the system (the dictionary\'s CheckLevel "
            "lxclNone allows it)");
}

TEST_F(LxActivationTest, TheDesignStateSkipsTheSupportChecks) {
  dictionary.AddLanguage(25, 1, 1251, "", "Russian");
  dictionary.SetLanguage(0);
  dictionary.SetDesigning(true);
  EXPECT_NO_THROW(dictionary.Open());
  EXPECT_EQ(dictionary.ActiveLocaleId(), 0x0419);
  dictionary.SetCheckLevel(lxclSystem);
  EXPECT_NO_THROW(dictionary.SelectLocale(0x0412));
  dictionary.SetCheckLevel(lxclCodePage);
  EXPECT_NO_THROW(dictionary.SelectLanguage(0));
  EXPECT_NO_THROW(dictionary.SelectLocale(0x0419));

  dictionary.SetDesigning(false);
  EXPECT_EQ(MessageOf<ELxPoly>([&] { dictionary.SelectLanguage(0); }),
            "Russian is not supported by the code page (the dictionary\'s CheckLevel lxclNone "
            "allows it)");
}

// ---- Translators and events

TEST_F(LxActivationTest, TranslatorsAreToldInOrderUnlessAutoTranslateIsOff) {
  AddEuropeanLanguages(dictionary);
  dictionary.SetBinding(lxbiNone);
  TLxRecordingTranslator first(nullptr);
  TLxRecordingTranslator second(nullptr);
  Texts order;
  first.OnLanguageChange = [&order](framework::TObject*) { order.push_back("first"); };
  second.OnLanguageChange = [&order](framework::TObject*) { order.push_back("second"); };
  first.LanguageChanged(true, false);
  order.clear();
  first.Open();
  second.Open();
  dictionary.Open();
  dictionary.SetLanguage(2);
  dictionary.SetLocale(0x0407);
  EXPECT_EQ(first.changes, (Texts{"language", "both", "language", "locale"}));
  EXPECT_EQ(second.changes, (Texts{"both", "language", "locale"}));

  Watch(dictionary);
  dictionary.SetOptions(dictionary.Options() - TLxDictionaryOptions{lxdoAutoTranslate});
  dictionary.SetLanguage(1);
  EXPECT_EQ(second.changes.size(), 3u);
  EXPECT_EQ(log_, Texts{"language"});
}

// Closes itself, or another translator, when told of a change; a closed translator leaves
// its dictionary's list.
class LeavingTranslator : public TLxRecordingTranslator {
 public:
  using TLxRecordingTranslator::TLxRecordingTranslator;
  void LanguageChanged(bool languageChanged, bool localeChanged) override {
    TLxRecordingTranslator::LanguageChanged(languageChanged, localeChanged);
    if (victim != nullptr) {
      victim->Close();
    } else {
      Close();
    }
  }
  TLxCustomTranslator* victim = nullptr;
};

TEST_F(LxActivationTest, ATranslatorLeavingWhileToldDoesNotDisturbTheOthers) {
  AddEuropeanLanguages(dictionary);
  dictionary.Open();
  LeavingTranslator leaving(nullptr);
  TLxRecordingTranslator staying(nullptr);
  leaving.Open();
  staying.Open();
  dictionary.SetLanguage(2);
  EXPECT_EQ(leaving.changes, Texts{"both"});
  EXPECT_EQ(staying.changes, Texts{"both"});
  EXPECT_EQ(dictionary.TranslatorCount(), 1);
  dictionary.SetLanguage(1);
  EXPECT_EQ(leaving.changes, Texts{"both"});
  EXPECT_EQ(staying.changes, (Texts{"both", "both"}));

  // A translator closed before its turn is not told.
  LeavingTranslator closing(nullptr);
  TLxRecordingTranslator closed(nullptr);
  closing.victim = &closed;
  closing.Open();
  closed.Open();
  dictionary.SetLanguage(2);
  EXPECT_EQ(closing.changes, Texts{"both"});
  EXPECT_TRUE(closed.changes.empty());
  EXPECT_EQ(staying.changes.size(), 3u);
}

// ---- Process settings

TEST_F(LxActivationTest, ALocaleChangeRewritesTheFormatSettingsWhenAsked) {
  AddEuropeanLanguages(dictionary);
  dictionary.SetBinding(lxbiNone);
  dictionary.SetLanguage(0);
  dictionary.SetLocale(0x0409);
  dictionary.Open();
  const framework::TFormatSettings& settings = framework::FormatSettings();
  EXPECT_EQ(settings.ShortDateFormat, "M/d/yyyy");
  EXPECT_EQ(settings.ShortTimeFormat, "h:mm AMPM");
  EXPECT_EQ(settings.LongTimeFormat, "h:mm:ss AMPM");
  EXPECT_EQ(settings.DecimalSeparator, '.');
  EXPECT_EQ(settings.ListSeparator, ',');
  EXPECT_EQ(settings.TimeAMString, "AM");
  EXPECT_EQ(settings.TimePMString, "PM");
  EXPECT_EQ(settings.CurrencyString, "$");
  EXPECT_EQ(LocaleValues().MeasurementSystem, 1);
  EXPECT_EQ(LocaleValues().FirstDayOfWeek, 6);
  EXPECT_EQ(framework::SysLocale().DefaultLCID, 0x0409u);

  dictionary.SetLocale(0x0C07);
  EXPECT_EQ(settings.ShortDateFormat, "dd.MM.yyyy");
  EXPECT_EQ(settings.LongDateFormat, "dddd, d. MMMM yyyy");
  EXPECT_EQ(settings.ShortTimeFormat, "hh:mm");
  EXPECT_EQ(settings.LongTimeFormat, "hh:mm:ss");
  EXPECT_EQ(settings.DecimalSeparator, ',');
  EXPECT_EQ(settings.DateSeparator, '.');
  EXPECT_EQ(settings.ListSeparator, ';');
  EXPECT_EQ(settings.CurrencyString, "\x80");
  EXPECT_EQ(settings.LongMonthNames[0], "J\xE4nner");
  EXPECT_EQ(settings.LongDayNames[0], "Sonntag");
  EXPECT_EQ(settings.LongDayNames[1], "Montag");
  EXPECT_EQ(settings.ShortDayNames[6], "Sa");
  EXPECT_EQ(LocaleValues(), (TLxLocaleValues{0, 0, 2}));
  EXPECT_EQ(framework::SysLocale().DefaultLCID, 0x0C07u);
  EXPECT_EQ(framework::SysLocale().PriLangID, 7);
  EXPECT_EQ(platform::ThreadLocale(), 0x0C07u);
}

TEST_F(LxActivationTest, TimesOfALocaleThatSpellsOutItsUnitsKeepTheirColons) {
  AddEuropeanLanguages(dictionary);
  dictionary.SetBinding(lxbiNone);
  dictionary.SetLocale(0x0C0C);
  dictionary.Open();
  const framework::TFormatSettings& settings = framework::FormatSettings();
  EXPECT_EQ(settings.TimeSeparator, ':');
  EXPECT_EQ(settings.LongTimeFormat, "hh:mm:ss");
  EXPECT_EQ(framework::FormatDateTime(settings.LongTimeFormat, framework::EncodeTime(14, 30, 0, 0)),
            "14:30:00");
}

TEST_F(LxActivationTest, WithoutUpdateLocaleVariablesOnlyTheThreadLocaleFollows) {
  AddEuropeanLanguages(dictionary);
  dictionary.SetOptions(dictionary.Options() - TLxDictionaryOptions{lxdoUpdateLocaleVariables});
  dictionary.SetBinding(lxbiNone);
  dictionary.SetLocale(0x0409);
  framework::FormatSettings().ShortDateFormat = "dd/mm/yyyy";
  const framework::TFormatSettings before = framework::FormatSettings();
  const TLxLocaleValues values = LocaleValues();
  const platform::Lcid sysLocale = framework::SysLocale().DefaultLCID;
  dictionary.Open();
  EXPECT_EQ(platform::ThreadLocale(), 0x0409u);
  EXPECT_EQ(framework::FormatSettings().ShortDateFormat, "dd/mm/yyyy");
  EXPECT_EQ(framework::FormatSettings().DecimalSeparator, before.DecimalSeparator);
  EXPECT_EQ(framework::FormatSettings().LongDayNames, before.LongDayNames);
  EXPECT_EQ(LocaleValues(), values);
  EXPECT_EQ(framework::SysLocale().DefaultLCID, sysLocale);
}

TEST_F(LxActivationTest, Year2000WidensTwoDigitYears) {
  dictionary.AddLanguage(0, 0, 1252);
  TLxLocale british;
  ASSERT_TRUE(british.LoadFromSystem(0x0809));
  british.ShortDateFormat = "dd/MM/yy";
  british.LongDateFormat = "d MMMM yyyy";
  british.TimeFormat = 0;
  british.TimeMarkPosition = 1;
  british.HourLeadingZero = false;
  dictionary.AddLocale(british);
  dictionary.SetBinding(lxbiNone);
  dictionary.SetLocale(0x0809);
  dictionary.Open();
  const framework::TFormatSettings& settings = framework::FormatSettings();
  EXPECT_EQ(settings.ShortDateFormat, "dd/MM/yyyy");
  EXPECT_EQ(settings.LongDateFormat, "d MMMM yyyy");
  EXPECT_EQ(settings.ShortTimeFormat, "AMPM h:mm");

  dictionary.Close();
  dictionary.SetOptions(dictionary.Options() - TLxDictionaryOptions{lxdoYear2000});
  dictionary.Open();
  EXPECT_EQ(settings.ShortDateFormat, "dd/MM/yy");
}

TEST_F(LxActivationTest, AnUnknownLocaleLeavesTheFormatSettingsAlone) {
  dictionary.AddLanguage(0, 0, 1252);
  dictionary.SetBinding(lxbiNone);
  dictionary.SetLocale(0x0407);
  dictionary.Open();
  const framework::TFormatSettings before = framework::FormatSettings();
  dictionary.SetLocale(0x07FE);
  EXPECT_EQ(dictionary.ActiveLocaleId(), 0x07FE);
  EXPECT_EQ(dictionary.CurrentLocale().LocaleId(), 0);
  EXPECT_EQ(framework::FormatSettings().DecimalSeparator, ',');
  EXPECT_EQ(framework::FormatSettings().ShortDateFormat, before.ShortDateFormat);
  EXPECT_EQ(platform::ThreadLocale(), 0x0407u);
}

// ---- The application's windows

TEST_F(LxActivationTest, RightToLeftLanguagesTurnTheApplicationAround) {
  AddEuropeanLanguages(dictionary);
  dictionary.AddLanguage(13, 1, 1255, "", "Hebrew");
  dictionary.SetCheckLevel(lxclNone);
  dictionary.Open();
  auto* form = new framework::TForm(&framework::Application());
  EXPECT_EQ(framework::Application().BiDiMode(), framework::bdLeftToRight);
  dictionary.SetLanguage(4);
  EXPECT_EQ(framework::Application().BiDiMode(), framework::bdRightToLeft);
  EXPECT_EQ(form->BiDiMode(), framework::bdRightToLeft);
  // A locale change alone applies the language's direction again.
  framework::Application().SetBiDiMode(framework::bdLeftToRight);
  dictionary.SetLocale(0x0407);
  EXPECT_EQ(framework::Application().BiDiMode(), framework::bdRightToLeft);
  dictionary.SetLanguage(2);
  EXPECT_EQ(form->BiDiMode(), framework::bdLeftToRight);
}

class LxMdiTest : public LxActivationTest {
 protected:
  LxMdiTest() {
    AddEuropeanLanguages(dictionary);
    dictionary.SetBinding(lxbiNone);
    frame_ = static_cast<framework::TCustomForm*>(
        framework::Application().CreateForm(framework::TForm::StaticClassInfo()));
    frame_->SetFormStyle(framework::fsMDIForm);
    frame_->SetBounds(0, 0, 640, 480);
    frame_->Show();
  }

  framework::TCustomForm* AddChild(bool maximised) {
    auto* child = new framework::TForm(&framework::Application());
    child->SetBounds(20, 30, 200, 150);
    child->SetFormStyle(framework::fsMDIChild);
    if (maximised) child->SetWindowState(framework::wsMaximized);
    return child;
  }

  static platform::RECT NormalRect(framework::TCustomForm* form) {
    platform::WINDOWPLACEMENT placement;
    platform::GetWindowPlacement(form->Handle(), placement);
    return placement.rcNormalPosition;
  }

  framework::TCustomForm* frame_ = nullptr;
};

TEST_F(LxMdiTest, ALanguageChangeMakesAMaximisedChildAnew) {
  framework::TCustomForm* child = AddChild(true);
  ASSERT_EQ(frame_->ActiveMDIChild(), child);
  dictionary.Open();
  const platform::HWND before = child->Handle();

  // A locale change leaves the child alone.
  dictionary.SetLocale(0x0409);
  EXPECT_EQ(child->Handle(), before);

  dictionary.SetLanguage(2);
  EXPECT_NE(child->Handle(), before);
  EXPECT_FALSE(platform::IsWindow(before));
  EXPECT_TRUE(platform::IsZoomed(child->Handle()));
  EXPECT_EQ(NormalRect(child), (platform::RECT{20, 30, 220, 180}));
  child->SetWindowState(framework::wsNormal);
  EXPECT_EQ(child->Left(), 20);
  EXPECT_EQ(child->Width(), 200);
}

// A control whose window, when it is made again, moves its form's restored rectangle, as a
// windowing system that cascades a re-created MDI child does.
class CascadingControl : public framework::TWinControl {
 public:
  using TWinControl::TWinControl;
  void CreateHandle() override {
    TWinControl::CreateHandle();
    if (windowsMade_++ == 0) return;
    const platform::HWND form = Parent()->Handle();
    platform::WINDOWPLACEMENT placement;
    platform::GetWindowPlacement(form, placement);
    placement.rcNormalPosition = {0, 0, 100, 100};
    platform::SetWindowPlacement(form, placement);
  }

 private:
  int windowsMade_ = 0;
};

TEST_F(LxMdiTest, TheOnlyChildKeepsTheRectangleItIsRestoredTo) {
  framework::TCustomForm* child = AddChild(true);
  auto* control = new CascadingControl(child);
  control->SetParent(child);
  control->HandleNeeded();
  dictionary.Open();
  ASSERT_EQ(NormalRect(child), (platform::RECT{20, 30, 220, 180}));
  dictionary.SetLanguage(2);
  EXPECT_EQ(NormalRect(child), (platform::RECT{20, 30, 220, 180}));
  EXPECT_TRUE(platform::IsZoomed(child->Handle()));

  // With a second child the windowing system's placement stands.
  framework::TCustomForm* other = AddChild(false);
  child->Show();
  ASSERT_EQ(frame_->ActiveMDIChild(), child);
  ASSERT_EQ(frame_->MDIChildCount(), 2);
  dictionary.SetLanguage(1);
  EXPECT_EQ(NormalRect(child), (platform::RECT{0, 0, 100, 100}));
  EXPECT_EQ(NormalRect(other), (platform::RECT{20, 30, 220, 180}));
}

TEST_F(LxMdiTest, OnlyAMaximisedActiveChildIsMadeAnew) {
  framework::TCustomForm* maximised = AddChild(true);
  framework::TCustomForm* normal = AddChild(false);
  dictionary.Open();
  ASSERT_EQ(frame_->ActiveMDIChild(), normal);
  const platform::HWND before = normal->Handle();
  const platform::HWND other = maximised->Handle();
  dictionary.SetLanguage(2);
  EXPECT_EQ(normal->Handle(), before);

  maximised->Show();
  ASSERT_EQ(frame_->ActiveMDIChild(), maximised);
  dictionary.SetOptions(dictionary.Options() - TLxDictionaryOptions{lxdoRecreateMDIChild});
  dictionary.SetLanguage(1);
  EXPECT_EQ(maximised->Handle(), other);
  dictionary.SetOptions(kLxAllDictionaryOptions);
  dictionary.SetLanguage(2);
  EXPECT_NE(maximised->Handle(), other);
  EXPECT_EQ(normal->Handle(), before);
}

}  // namespace
}  // namespace lx::lang

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/rtti/Published.h"
#include "lang/LxLanguageIds.h"
#include "lang/LxLanguageNames.h"
#include "lang/LxParser.h"
#include "lang/LxRecords.h"
#include "platform/Exception.h"
#include "support/FixedSystem.h"
#include "support/Raised.h"

namespace lx::lang {
namespace {

using Texts = std::vector<std::string>;

Texts Entries(const framework::TStrings& list) {
  Texts entries;
  for (int i = 0; i < list.Count(); ++i)
    entries.push_back(list.Strings(i));
  return entries;
}

TLxLanguage Language(int primary, int sub, int codePage, std::string_view subLanguages = "") {
  return TLxLanguage(primary, sub, codePage, subLanguages, "", "", "", 0, {});
}

// ---- TLxLanguage

TEST(LxLanguageTest, ValidatingTheNativeLanguageResetsItsIdentity) {
  const support::FixedSystem system;
  TLxLanguage native(0, 3, 1251, "1,2", "Deutsch", "Deutsch", "Arial", 9, {lfUser});
  native.SetSubLanguageCodesText("at");
  native.Charset = 0;
  native.Validate();
  EXPECT_EQ(native.SubLanguage, 0);
  EXPECT_EQ(native.SubLanguageCount(), 0);
  EXPECT_EQ(native.Flags, TLxLanguageFlags{lfAnyCodePage});
  EXPECT_EQ(native.EnglishName, "Native");
  EXPECT_EQ(native.NativeName, "Native");
  EXPECT_EQ(native.CodePage, 1251);
  EXPECT_EQ(native.Charset, 204);
  EXPECT_EQ(native.IsoLanguageName, "");
  EXPECT_EQ(native.LanguageLcid(), 0);
  EXPECT_EQ(native.SystemLcid(), 0);

  TLxLanguage unknownNative = Language(-5, 0, 0);
  unknownNative.Charset = 161;
  unknownNative.Validate();
  EXPECT_EQ(unknownNative.PrimaryLanguage, 0);
  EXPECT_EQ(unknownNative.CodePage, 0);
  EXPECT_EQ(unknownNative.Charset, 161);
}

TEST(LxLanguageTest, ValidatingChineseAsksTheSystemForTaiwan) {
  const support::FixedSystem system;
  TLxLanguage chinese = Language(4, 0, 950);
  chinese.Validate();
  EXPECT_EQ(chinese.SubLanguage, 1);
  EXPECT_EQ(chinese.LocaleSubLanguage, 1);
  EXPECT_EQ(chinese.SystemLcid(), 0x0404);
  EXPECT_EQ(chinese.IsoLanguageName, "zh");
  EXPECT_EQ(chinese.IsoCountryName, "TW");
  EXPECT_EQ(chinese.EnglishName, "Chinese, Traditional");
  // No sub-languages listed: the native name goes without its country.
  EXPECT_EQ(AnsiToWide(chinese.NativeName, 950), u"中文");
  EXPECT_EQ(chinese.CodePage, 950);
  EXPECT_EQ(chinese.Charset, 136);
  EXPECT_EQ(chinese.ScriptClass(), kLxScriptFarEast);
}

TEST(LxLanguageTest, ValidatingTakesTheSubLanguageTheCodePageImplies) {
  const support::FixedSystem system;
  TLxLanguage simplified = Language(4, 0, 936);
  simplified.Validate();
  EXPECT_EQ(simplified.SubLanguage, 2);
  EXPECT_EQ(simplified.LanguageLcid(), 0x0804);
  EXPECT_EQ(simplified.LocaleLcid(), 0x0804);
  EXPECT_EQ(simplified.IsoCountryName, "CN");
  EXPECT_EQ(simplified.EnglishName, "Chinese, Simplified");

  TLxLanguage cyrillic = Language(26, 0, 1251);
  cyrillic.Validate();
  EXPECT_EQ(cyrillic.SubLanguage, 3);
  EXPECT_EQ(cyrillic.LanguageLcid(), 0x0C1A);
  EXPECT_EQ(cyrillic.IsoLanguageName, "sr");
  EXPECT_EQ(cyrillic.EnglishName, "Serbian, Cyrillic");

  TLxLanguage latin = Language(26, 0, 1250);
  latin.Validate();
  EXPECT_EQ(latin.LanguageLcid(), 0x041A);
  EXPECT_EQ(latin.IsoLanguageName, "hr");

  // A listed sub-language wins over the code page; other code pages give 1.
  TLxLanguage listed = Language(4, 0, 936, "3");
  listed.Validate();
  EXPECT_EQ(listed.SubLanguage, 3);
  TLxLanguage other = Language(4, 0, 1252);
  other.Validate();
  EXPECT_EQ(other.SubLanguage, 1);
}

TEST(LxLanguageTest, ValidatingCompletesFromTheFirstListedSubLanguage) {
  const support::FixedSystem system;
  TLxLanguage german = Language(7, 0, 0, "3,1");
  german.Validate();
  EXPECT_EQ(german.SubLanguage, 3);
  EXPECT_EQ(german.LocaleSubLanguage, 3);
  EXPECT_EQ(german.IsoCountryName, "AT");
  EXPECT_EQ(german.EnglishName, "German");
  EXPECT_EQ(german.NativeName, "Deutsch (\xD6sterreich)");
  EXPECT_EQ(german.CodePage, 1252);
  EXPECT_EQ(german.Charset, 0);

  TLxLanguage kept(25, 2, 1250, "", "My Russian", "Mein Russisch", "", 0, {});
  kept.IsoLanguageName = "xx";
  kept.Charset = 0;
  kept.Validate();
  EXPECT_EQ(kept.SubLanguage, 2);
  EXPECT_EQ(kept.IsoLanguageName, "xx");
  EXPECT_EQ(kept.IsoCountryName, "MD");
  EXPECT_EQ(kept.EnglishName, "My Russian");
  EXPECT_EQ(kept.NativeName, "Mein Russisch");
  EXPECT_EQ(kept.CodePage, 1250);
  EXPECT_EQ(kept.Charset, 238);
}

TEST(LxLanguageTest, ValidatingALanguageTheSystemDoesNotKnow) {
  const support::FixedSystem system;
  // Sub-language 40 of Serbian/Croatian exists nowhere.
  TLxLanguage unknown = Language(26, 40, 0);
  unknown.Validate();
  EXPECT_EQ(unknown.EnglishName, "");
  EXPECT_EQ(unknown.NativeName, "");
  EXPECT_EQ(unknown.CodePage, 1251);
  EXPECT_EQ(unknown.Charset, 204);

  TLxLanguage listed = Language(26, 1, 1250, "40");
  listed.Validate();
  EXPECT_EQ(listed.SystemLcid(), MAKELANGID(26, 40));
  EXPECT_EQ(listed.EnglishName, "");
  EXPECT_EQ(listed.NativeName, "");
}

TEST(LxLanguageTest, SubLanguageListsReadIntegersAndSkipTheNeutralOnes) {
  TLxLanguage language;
  language.SetSubLanguagesText("0,3,3");
  EXPECT_EQ(Entries(language.SubLanguages), (Texts{"3", "3"}));
  EXPECT_EQ(language.GetSubLanguagesText(), "3,3");
  language.SetSubLanguagesText("1,2,");
  EXPECT_EQ(language.GetSubLanguagesText(), "1,2");
  language.SetSubLanguagesText("");
  EXPECT_EQ(language.SubLanguageCount(), 0);
  EXPECT_EQ(language.GetSubLanguagesText(), "");

  const std::pair<const char*, const char*> bad[] = {{",3", ""}, {"2,x,4", "x"}, {"1,,2", ""}};
  for (const auto& [text, token] : bad) {
    try {
      language.SetSubLanguagesText(text);
      FAIL() << "no exception for " << text;
    } catch (const platform::EConvertError& e) {
      EXPECT_EQ(e.Message(), "'" + std::string(token) + "' is not a valid integer value");
    }
  }
  EXPECT_EQ(Entries(language.SubLanguages), (Texts{"1"}));
  EXPECT_RAISES(Language(7, 1, 1252, "a"), platform::EConvertError,
                "'a' is not a valid integer value");
}

TEST(LxLanguageTest, SubLanguageCodesKeepEveryToken) {
  TLxLanguage language;
  language.SetSubLanguageCodesText("us,,gb,");
  EXPECT_EQ(Entries(language.SubLanguageCodes), (Texts{"us", "", "gb"}));
  language.SetSubLanguageCodesText("");
  EXPECT_EQ(language.SubLanguageCodes.Count(), 0);
}

TEST(LxLanguageTest, EffectiveAndLocaleSubLanguages) {
  TLxLanguage english = Language(9, 1, 1252, "1,2");
  EXPECT_EQ(english.EffectiveSubLanguage(), 1);
  english.SubLanguage = 5;
  EXPECT_EQ(english.EffectiveSubLanguage(), 1);
  english.SubLanguage = 1;
  english.SetLocaleSubLanguage(5);
  EXPECT_EQ(english.LocaleSubLanguage, 1);
  english.SetLocaleSubLanguage(2);
  EXPECT_EQ(english.LocaleSubLanguage, 2);
  EXPECT_EQ(english.LocaleLcid(), 0x0809);
  english.SetLocaleSubLanguage(-1);
  EXPECT_EQ(english.LocaleSubLanguage, 1);

  TLxLanguage plain = Language(9, 1, 1252);
  EXPECT_EQ(plain.EffectiveSubLanguage(), 0);
  plain.SetLocaleSubLanguage(5);
  EXPECT_EQ(plain.LocaleSubLanguage, 5);
  plain.SetLocaleSubLanguage(0);
  EXPECT_EQ(plain.LocaleSubLanguage, 0);
  plain.SetLocaleSubLanguage(-2);
  EXPECT_EQ(plain.LocaleSubLanguage, 1);
}

TEST(LxLanguageTest, SettingTheSubLanguageListsItOrClearsTheLists) {
  TLxLanguage english = Language(9, 1, 1252, "1");
  english.SetSubLanguageCodesText("us");
  english.SetSubLanguage(2);
  EXPECT_EQ(english.SubLanguage, 2);
  EXPECT_EQ(english.GetSubLanguagesText(), "1,2");
  english.SetSubLanguage(1);
  EXPECT_EQ(english.SubLanguage, 1);
  EXPECT_EQ(english.GetSubLanguagesText(), "1,2");
  english.SetSubLanguage(0);
  EXPECT_EQ(english.SubLanguage, 1);
  EXPECT_EQ(english.SubLanguageCount(), 0);
  EXPECT_EQ(english.SubLanguageCodes.Count(), 0);

  TLxLanguage native = Language(0, 0, 1252);
  native.SetSubLanguage(3);
  EXPECT_EQ(native.SubLanguage, 0);
  EXPECT_EQ(native.SubLanguageCount(), 0);
}

TEST(LxLanguageTest, LcidsOfALanguage) {
  EXPECT_EQ(Language(0, 5, 1252).LanguageLcid(), 5);
  EXPECT_EQ(Language(9, 2, 1252).LanguageLcid(), 0x0809);
  EXPECT_EQ(Language(7, 1, 1252, "3").SystemLcid(), 0x0C07);
  EXPECT_EQ(Language(7, 2, 1252).SystemLcid(), 0x0807);
  EXPECT_EQ(Language(4, 0, 936).SystemLcid(), 0x0804);
  EXPECT_EQ(Language(4, 0, 950).SystemLcid(), 0x0404);
  EXPECT_EQ(Language(4, 0, 1252).SystemLcid(), 0x0004);
  EXPECT_EQ(Language(26, 0, 1250).SystemLcid(), 0x041A);
  EXPECT_EQ(Language(26, 0, 1251).SystemLcid(), 0x0C1A);
  EXPECT_EQ(Language(13, 1, 1255).ScriptClass(), kLxScriptRightToLeft);
}

TEST(LxLanguageTest, CodePageAndFlagsSetTheirCompanions) {
  TLxLanguage language;
  language.Charset = 161;
  language.SetCodePage(1251);
  EXPECT_EQ(language.Charset, 204);
  language.SetCodePage(437);
  EXPECT_EQ(language.Charset, 1);
  language.SetFlagsFromByte(0xFF);
  EXPECT_EQ(language.Flags, (TLxLanguageFlags{lfUser, lfAnyCodePage}));
  language.SetFlagsFromByte(0xFE);
  EXPECT_EQ(language.Flags, TLxLanguageFlags{lfAnyCodePage});
  language.SetFlagsFromByte(0xFC);
  EXPECT_TRUE(language.Flags.Empty());
}

TEST(LxLanguageTest, SameAsComparesLanguageAndCodePage) {
  EXPECT_FALSE(Language(9, 1, 1252).SameAs(Language(9, 1, 1250)));
  EXPECT_TRUE(Language(9, 1, 1252).SameAs(Language(9, 2, 1252, "2")));
  EXPECT_TRUE(Language(0, 0, 1252).SameAs(Language(0, 0, 1251)));
  EXPECT_FALSE(Language(7, 1, 1252).SameAs(Language(9, 1, 1252)));
}

// A language of the application's own, to see that cloning keeps the class.
class TMyLanguage : public TLxLanguage {
  LX_CLASS(TMyLanguage, TLxLanguage)
};
LX_PUBLISHED(TMyLanguage)

TEST(LxLanguageTest, AssignAndCloneCopyEveryField) {
  TMyLanguage original;
  original.PrimaryLanguage = 9;
  original.SubLanguage = 2;
  original.LocaleSubLanguage = 1;
  original.SetCodePage(1250);
  original.SetSubLanguagesText("1,2");
  original.SetSubLanguageCodesText("us,gb");
  original.IsoLanguageName = "en";
  original.IsoCountryName = "GB";
  original.EnglishName = "English";
  original.NativeName = "English (UK)";
  original.FontName = "Tahoma";
  original.FontSize = 11;
  original.Flags = {lfUser};
  original.Charset = 7;

  const std::unique_ptr<TLxLanguage> copy = original.Clone();
  ASSERT_NE(dynamic_cast<TMyLanguage*>(copy.get()), nullptr);
  original.SubLanguages.Clear();
  EXPECT_EQ(copy->PrimaryLanguage, 9);
  EXPECT_EQ(copy->SubLanguage, 2);
  EXPECT_EQ(copy->LocaleSubLanguage, 1);
  EXPECT_EQ(copy->CodePage, 1250);
  EXPECT_EQ(copy->GetSubLanguagesText(), "1,2");
  EXPECT_EQ(Entries(copy->SubLanguageCodes), (Texts{"us", "gb"}));
  EXPECT_EQ(copy->IsoLanguageName + copy->IsoCountryName, "enGB");
  EXPECT_EQ(copy->EnglishName + "/" + copy->NativeName, "English/English (UK)");
  EXPECT_EQ(copy->FontName, "Tahoma");
  EXPECT_EQ(copy->FontSize, 11);
  EXPECT_EQ(copy->Flags, TLxLanguageFlags{lfUser});
  EXPECT_EQ(copy->Charset, 7);

  copy->Assign(*copy);
  EXPECT_EQ(copy->GetSubLanguagesText(), "1,2");
  TLxLanguage plain;
  plain.Assign(*copy);
  EXPECT_EQ(Entries(plain.SubLanguageCodes), (Texts{"us", "gb"}));
  EXPECT_EQ(plain.Clone()->ClassName(), "TLxLanguage");
}

TEST(LxLanguageTest, NamesOfEveryKind) {
  TLxLanguage chinese(4, 1, 950, "", "Chinese (Taiwan)", "Chinese (native)", "", 0, {});
  EXPECT_EQ(chinese.GetName(kLxEnglishName), "Chinese , Traditional");
  EXPECT_EQ(chinese.GetName(kLxNativeName), "Chinese , Traditional");
  EXPECT_EQ(chinese.GetName(kLxTranslatedName), "Chinese , Traditional");
  EXPECT_EQ(chinese.GetName(3), "");

  const TLxTranslatePieceFunc previous = SetTranslatePieceHook(
      [](TLxDictionary*, const std::string& piece) { return "<" + piece + ">"; });
  EXPECT_EQ(chinese.GetName(kLxTranslatedName), "<Chinese >, <Traditional>");
  EXPECT_EQ(chinese.GetName(kLxEnglishName), "Chinese , Traditional");
  SetTranslatePieceHook(previous);
}

// ---- TLxLocale

TEST(LxLocaleTest, LoadsGermanFromTheSystem) {
  const support::FixedSystem system;
  TLxLocale locale;
  ASSERT_TRUE(locale.LoadFromSystem(0x0407));
  EXPECT_EQ(locale.LocaleId(), 0x0407);
  EXPECT_EQ(locale.EnglishLanguageName, "German");
  EXPECT_EQ(locale.EnglishCountryName, "Germany");
  EXPECT_EQ(locale.NativeLanguageName, "Deutsch");
  EXPECT_EQ(locale.NativeCountryName, "Deutschland");
  EXPECT_EQ(locale.AbbrevLanguageName, "DEU");
  EXPECT_EQ(locale.CountryName, "Deutschland");
  EXPECT_EQ(locale.CodePage, 1252);
  EXPECT_EQ(locale.Charset, 0);
  EXPECT_FALSE(locale.Custom);
  EXPECT_EQ(locale.ShortDateFormat, "dd.MM.yyyy");
  EXPECT_EQ(locale.LongDateFormat, "dddd, d. MMMM yyyy");
  EXPECT_EQ(std::string({locale.DateSeparator, locale.TimeSeparator, locale.ThousandSeparator,
                         locale.DecimalSeparator, locale.ListSeparator}),
            ".:.,;");
  EXPECT_EQ(locale.CurrencyString, "\x80");
  EXPECT_EQ(locale.CurrencyFormat, 3);
  EXPECT_EQ(locale.NegCurrFormat, 8);
  EXPECT_EQ(locale.CurrencyDecimals, 2);
  EXPECT_TRUE(locale.HourLeadingZero);
  EXPECT_EQ(locale.TimeFormat, 1);
  EXPECT_EQ(locale.FirstDayOfWeek, 0);
  EXPECT_EQ(locale.FirstWeekOfYear, 2);
  EXPECT_EQ(locale.Measurement, 0);
  EXPECT_EQ(locale.CalendarType, 1);
  EXPECT_EQ(locale.LongMonthNames[0] + "/" + locale.LongMonthNames[11], "Januar/Dezember");
  EXPECT_EQ(locale.ShortMonthNames[2], "M\xE4r");
  EXPECT_EQ(locale.LongDayNames[0] + "/" + locale.LongDayNames[6], "Montag/Sonntag");
  EXPECT_EQ(locale.ShortDayNames[6], "So");
}

TEST(LxLocaleTest, LoadsFarEastAndRightToLeftLocales) {
  const support::FixedSystem system;
  TLxLocale japanese;
  ASSERT_TRUE(japanese.LoadFromSystem(0x0411));
  EXPECT_EQ(japanese.CodePage, 932);
  EXPECT_EQ(japanese.Charset, 128);
  EXPECT_EQ(ScriptClassOf(japanese.LocaleId()), kLxScriptFarEast);
  EXPECT_EQ(AnsiToWide(japanese.NativeLanguageName, 932), u"日本語");
  EXPECT_EQ(AnsiToWide(japanese.LongMonthNames[0], 932), u"1月");

  TLxLocale hebrew;
  ASSERT_TRUE(hebrew.LoadFromSystem(0x040D));
  EXPECT_EQ(hebrew.CodePage, 1255);
  EXPECT_EQ(hebrew.Charset, 177);
  EXPECT_EQ(ScriptClassOf(hebrew.LocaleId()), kLxScriptRightToLeft);
  EXPECT_EQ(AnsiToWide(hebrew.NativeLanguageName, 1255), u"עברית");
}

TEST(LxLocaleTest, LocalesTheSystemCannotServeAreRefused) {
  const support::FixedSystem system;
  TLxLocale unknown;
  EXPECT_FALSE(unknown.LoadFromSystem(MAKELCID(0x0407, 0xE)));
  EXPECT_EQ(unknown.LocaleId(), 0);
  EXPECT_EQ(unknown.CodePage, 0);
  EXPECT_EQ(unknown.EnglishLanguageName, "");
  EXPECT_EQ(unknown.ListSeparator, 0);

  TLxLocale hindi;
  hindi.CodePage = 1252;
  EXPECT_FALSE(hindi.LoadFromSystem(0x0439));
  EXPECT_EQ(hindi.CodePage, 0);
  EXPECT_EQ(hindi.PrimaryLanguage, 0);
  EXPECT_EQ(hindi.EnglishLanguageName, "");
}

TEST(LxLocaleTest, ValidatingCompletesNamesCodePageAndCharset) {
  const support::FixedSystem system;
  TLxLocale custom;
  custom.PrimaryLanguage = 25;
  custom.SubLanguage = 1;
  custom.EnglishCountryName = "Russland";
  custom.Validate();
  EXPECT_EQ(custom.EnglishLanguageName, "Russian");
  EXPECT_EQ(custom.EnglishCountryName, "Russland");
  EXPECT_EQ(custom.CodePage, 1251);
  EXPECT_EQ(custom.Charset, 204);

  TLxLocale unknown;
  unknown.PrimaryLanguage = 26;
  unknown.SubLanguage = 3;
  unknown.SortId = 0xE;
  unknown.Validate();
  EXPECT_EQ(unknown.EnglishLanguageName, "");
  EXPECT_EQ(unknown.CodePage, 1251);
  EXPECT_EQ(unknown.Charset, 0);

  TLxLocale neutral;
  neutral.Validate();
  EXPECT_EQ(neutral.EnglishLanguageName, "");
  EXPECT_EQ(neutral.CodePage, 0);
}

// Every field of a locale as text, in declared order.
Texts FieldsOf(const TLxLocale& locale) {
  Texts fields;
  for (int number : {locale.PrimaryLanguage,
                     locale.SubLanguage,
                     locale.SortId,
                     locale.CodePage,
                     int{locale.Custom},
                     int{locale.Charset},
                     int{locale.CurrencyFormat},
                     int{locale.NegCurrFormat},
                     int{locale.CurrencyDecimals},
                     int{locale.ThousandSeparator},
                     int{locale.DecimalSeparator},
                     int{locale.DateSeparator},
                     int{locale.ListSeparator},
                     int{locale.TimeSeparator},
                     int{locale.HourLeadingZero},
                     int{locale.TimeFormat},
                     int{locale.TimeMarkPosition},
                     int{locale.Measurement},
                     int{locale.CalendarType},
                     int{locale.OptionalCalendar},
                     int{locale.FirstDayOfWeek},
                     int{locale.FirstWeekOfYear}}) {
    fields.push_back(std::to_string(number));
  }
  for (const std::string* text :
       {&locale.EnglishLanguageName, &locale.EnglishCountryName, &locale.NativeLanguageName,
        &locale.NativeCountryName, &locale.AbbrevLanguageName, &locale.CountryName,
        &locale.CurrencyString, &locale.ShortDateFormat, &locale.LongDateFormat,
        &locale.TimeAMString, &locale.TimePMString}) {
    fields.push_back(*text);
  }
  const auto names = [&fields](const auto& array) {
    std::string joined;
    for (const std::string& name : array)
      joined += name + "|";
    fields.push_back(joined);
  };
  names(locale.ShortMonthNames);
  names(locale.LongMonthNames);
  names(locale.ShortDayNames);
  names(locale.LongDayNames);
  return fields;
}

// Fills every field of an empty locale with a value of its own.
void MakeDistinct(TLxLocale& locale) {
  locale.PrimaryLanguage = 25;
  locale.SubLanguage = 1;
  locale.SortId = 1;
  locale.CodePage = 1251;
  locale.Custom = true;
  locale.Charset = 204;
  locale.CurrencyFormat = 3;
  locale.NegCurrFormat = 8;
  locale.CurrencyDecimals = 2;
  locale.ThousandSeparator = '.';
  locale.DecimalSeparator = ',';
  locale.DateSeparator = '/';
  locale.ListSeparator = ';';
  locale.TimeSeparator = ':';
  locale.HourLeadingZero = true;
  locale.TimeFormat = 1;
  locale.TimeMarkPosition = 1;
  locale.Measurement = 1;
  locale.CalendarType = 7;
  locale.OptionalCalendar = 1;
  locale.FirstDayOfWeek = 6;
  locale.FirstWeekOfYear = 2;
  locale.EnglishLanguageName = "Russian";
  locale.EnglishCountryName = "Russia";
  locale.NativeLanguageName = "russkij";
  locale.NativeCountryName = "Rossija";
  locale.AbbrevLanguageName = "RUS";
  locale.CountryName = "Russland";
  locale.CurrencyString = "RUB";
  locale.ShortDateFormat = "dd/MM/yyyy";
  locale.LongDateFormat = "d MMMM yyyy";
  locale.TimeAMString = "am";
  locale.TimePMString = "pm";
  for (std::size_t i = 0; i < 12; ++i) {
    locale.ShortMonthNames[i] = "m" + std::to_string(i);
    locale.LongMonthNames[i] = "month " + std::to_string(i);
  }
  for (std::size_t i = 0; i < 7; ++i) {
    locale.ShortDayNames[i] = "d" + std::to_string(i);
    locale.LongDayNames[i] = "day " + std::to_string(i);
  }
}

TEST(LxLocaleTest, AssignAndCloneCopyEveryField) {
  TLxLocale original;
  MakeDistinct(original);
  const Texts fields = FieldsOf(original);
  const Texts empty = FieldsOf(TLxLocale());
  ASSERT_EQ(fields.size(), 37u);
  for (std::size_t i = 0; i < fields.size(); ++i)
    ASSERT_NE(fields[i], empty[i]) << "field " << i;

  TLxLocale assigned;
  assigned.Assign(original);
  EXPECT_EQ(FieldsOf(assigned), fields);
  const std::unique_ptr<TLxLocale> copy = original.Clone();
  EXPECT_EQ(FieldsOf(*copy), fields);
  EXPECT_EQ(copy->ClassName(), "TLxLocale");
  copy->Assign(*copy);
  EXPECT_EQ(FieldsOf(*copy), fields);
}

TEST(LxLocaleTest, LoadsTheClockOfTheLocale) {
  const support::FixedSystem system;
  TLxLocale american;
  ASSERT_TRUE(american.LoadFromSystem(0x0409));
  EXPECT_EQ(american.TimeAMString, "AM");
  EXPECT_EQ(american.TimePMString, "PM");
  EXPECT_EQ(american.TimeFormat, 0);
  EXPECT_EQ(american.TimeMarkPosition, 0);
  EXPECT_FALSE(american.HourLeadingZero);
  EXPECT_EQ(american.ListSeparator, ',');

  // Korean puts the mark before a 12-hour clock without leading zero.
  TLxLocale korean;
  ASSERT_TRUE(korean.LoadFromSystem(0x0412));
  EXPECT_EQ(korean.TimeMarkPosition, 1);
  EXPECT_EQ(korean.TimeFormat, 0);
  EXPECT_FALSE(korean.HourLeadingZero);
  EXPECT_EQ(AnsiToWide(korean.TimeAMString, 949), u"\uC624\uC804");
  EXPECT_EQ(AnsiToWide(korean.TimePMString, 949), u"\uC624\uD6C4");

  // French (Canada) spells its units out, yet separates the clock's fields by ":".
  TLxLocale canadian;
  ASSERT_TRUE(canadian.LoadFromSystem(0x0C0C));
  EXPECT_EQ(canadian.TimeSeparator, ':');
  EXPECT_EQ(canadian.AbbrevLanguageName, "FRC");
}

TEST(LxLocaleTest, NamesOfEveryKind) {
  const support::FixedSystem system;
  TLxLocale nynorsk;
  ASSERT_TRUE(nynorsk.LoadFromSystem(0x0814));
  EXPECT_EQ(nynorsk.GetName(kLxEnglishName), "Norwegian (Nynorsk)");
  EXPECT_EQ(nynorsk.GetName(kLxNativeName), "norsk (Nynorsk)");
  EXPECT_EQ(nynorsk.GetName(kLxTranslatedName), "Norwegian (Nynorsk)");
  EXPECT_EQ(nynorsk.GetName(-1), "");
  TLxLocale austria;
  ASSERT_TRUE(austria.LoadFromSystem(0x0C07));
  EXPECT_EQ(austria.GetName(kLxEnglishName), "German (Austria)");
  EXPECT_EQ(austria.GetName(kLxNativeName), "Deutsch (\xD6sterreich)");
}

// ---- TLxTranslation

TEST(LxTranslationTest, KeyIsWordSeparatorContextAndId) {
  TLxTranslation entry;
  entry.Native = "Open";
  entry.Id = "12";
  EXPECT_EQ(entry.Key(),
            "Open\x7F"
            "12");
  EXPECT_EQ(TLxTranslation::KeyOf("Open", "TForm1", "Button1"), "Open\x7FTForm1Button1");
  EXPECT_EQ(TLxTranslation::KeyOf("", "", ""), "\x7F");
}

}  // namespace
}  // namespace lx::lang

#include <gtest/gtest.h>

#include "platform/FontSignature.h"
#include "platform/LocaleInfo.h"
#include "platform/SystemLocale.h"
#include "support/FixedSystem.h"

namespace lx::platform {
namespace {

using support::AustrianSystem;
using support::FixedSystem;

class LocaleInfoTest : public ::testing::Test {
 protected:
  struct Expected {
    LcType type;
    const char* value;
  };

  static void ExpectValues(Lcid lcid, std::initializer_list<Expected> values) {
    for (const Expected& expected : values) {
      EXPECT_EQ(GetLocaleInfo(lcid, expected.type, "@*"), expected.value)
          << std::hex << lcid << " type " << expected.type;
    }
  }

  FixedSystem system_;
};

TEST_F(LocaleInfoTest, GermanGermanyComesFromIcu) {
  ExpectValues(0x0407, {{LOCALE_SENGLANGUAGE, "German"},
                        {LOCALE_SNATIVELANGNAME, "Deutsch"},
                        {LOCALE_SABBREVLANGNAME, "DEU"},
                        {LOCALE_SENGCOUNTRY, "Germany"},
                        {LOCALE_SNATIVECTRYNAME, "Deutschland"},
                        {LOCALE_SISO639LANGNAME, "de"},
                        {LOCALE_SISO3166CTRYNAME, "DE"},
                        {LOCALE_IDEFAULTANSICODEPAGE, "1252"},
                        {LOCALE_SCURRENCY, "\x80"},
                        {LOCALE_SINTLSYMBOL, "EUR"},
                        {LOCALE_ICURRENCY, "3"},
                        {LOCALE_INEGCURR, "8"},
                        {LOCALE_ICURRDIGITS, "2"},
                        {LOCALE_STHOUSAND, "."},
                        {LOCALE_SDECIMAL, ","},
                        {LOCALE_SLIST, ";"},
                        {LOCALE_IMEASURE, "0"},
                        {LOCALE_SDATE, "."},
                        {LOCALE_STIME, ":"},
                        {LOCALE_SSHORTDATE, "dd.MM.yyyy"},
                        {LOCALE_SLONGDATE, "dddd, d. MMMM yyyy"},
                        {LOCALE_STIMEFORMAT, "HH:mm:ss"},
                        {LOCALE_ITIME, "1"},
                        {LOCALE_ITLZERO, "1"},
                        {LOCALE_ITIMEMARKPOSN, "0"},
                        {LOCALE_ICALENDARTYPE, "1"},
                        {LOCALE_IOPTIONALCALENDAR, "0"},
                        {LOCALE_IFIRSTDAYOFWEEK, "0"},
                        {LOCALE_IFIRSTWEEKOFYEAR, "2"},
                        {LOCALE_SDAYNAME1, "Montag"},
                        {LOCALE_SDAYNAME7, "Sonntag"},
                        {LOCALE_SABBREVDAYNAME3, "Mi"},
                        {LOCALE_SMONTHNAME3, "M\xE4rz"},
                        {LOCALE_SMONTHNAME12, "Dezember"},
                        {LOCALE_SABBREVMONTHNAME1, "Jan"}});
}

TEST_F(LocaleInfoTest, EnglishUnitedStatesComesFromIcu) {
  ExpectValues(0x0409, {{LOCALE_SSHORTDATE, "M/d/yyyy"},
                        {LOCALE_SLONGDATE, "dddd, MMMM d, yyyy"},
                        {LOCALE_STIMEFORMAT, "h:mm:ss tt"},
                        {LOCALE_S1159, "AM"},
                        {LOCALE_S2359, "PM"},
                        {LOCALE_ITIME, "0"},
                        {LOCALE_ITLZERO, "0"},
                        {LOCALE_IFIRSTDAYOFWEEK, "6"},
                        {LOCALE_IFIRSTWEEKOFYEAR, "0"},
                        {LOCALE_IMEASURE, "1"},
                        {LOCALE_SCURRENCY, "$"},
                        {LOCALE_ICURRENCY, "0"},
                        {LOCALE_INEGCURR, "1"},
                        {LOCALE_SLIST, ","},
                        {LOCALE_SDAYNAME1, "Monday"},
                        {LOCALE_SABBREVMONTHNAME5, "May"}});
}

TEST_F(LocaleInfoTest, CodesFollowOtherLocalesPatterns) {
  ExpectValues(0x0C07, {{LOCALE_ICURRENCY, "2"}, {LOCALE_INEGCURR, "9"}});   // "€ 1,00"
  ExpectValues(0x0414, {{LOCALE_ICURRENCY, "2"}, {LOCALE_INEGCURR, "12"}});  // "kr -1,00"
  ExpectValues(0x0411, {{LOCALE_ICURRDIGITS, "0"}, {LOCALE_IFIRSTDAYOFWEEK, "6"}});
  ExpectValues(0x0412, {{LOCALE_STIMEFORMAT, "tt h:mm:ss"}, {LOCALE_ITIMEMARKPOSN, "1"}});
  ExpectValues(0x041E, {{LOCALE_ICALENDARTYPE, "7"}, {LOCALE_IOPTIONALCALENDAR, "1"}});
  ExpectValues(0x0809, {{LOCALE_IMEASURE, "0"}, {LOCALE_SSHORTDATE, "dd/MM/yyyy"}});
  EXPECT_EQ(GetLocaleInfoW(0x0411, LOCALE_SLONGDATE, u""), u"yyyy'年'M'月'd'日'dddd");
}

TEST_F(LocaleInfoTest, AbbreviatedLanguageNamesAreTheClassicCodes) {
  for (const auto& [lcid, code] : {std::pair<Lcid, const char*>{0x0409, "ENU"},
                                   {0x0809, "ENG"},
                                   {0x0407, "DEU"},
                                   {0x0C07, "DEA"},
                                   {0x0804, "CHS"},
                                   {0x0404, "CHT"},
                                   {0x0415, "PLK"},
                                   {0x0C0A, "ESN"},
                                   {0x040A, "ESP"},
                                   {0x082C, "AZC"},
                                   {0x0843, "UZC"},
                                   {0x044A, "TEL"},
                                   {0x20804, "CHS"}}) {  // a sort id does not count
    EXPECT_EQ(GetLocaleInfo(lcid, LOCALE_SABBREVLANGNAME, "@*"), code) << std::hex << lcid;
  }
  // A language the table does not list keeps its ISO 639-2 code; an unknown LCID none.
  EXPECT_EQ(GetLocaleInfo(0x0462, LOCALE_SABBREVLANGNAME, "@*"), "FRY");
  EXPECT_EQ(GetLocaleInfo(0x0477, LOCALE_SABBREVLANGNAME, "@*"), "SOM");
  EXPECT_EQ(GetLocaleInfo(0x7C09, LOCALE_SABBREVLANGNAME, "@*"), "@*");
}

TEST_F(LocaleInfoTest, SpeltOutTimeUnitsKeepTheColonAsSeparator) {
  // French (Canada) writes "14 h 30 min 00 s".
  ExpectValues(0x0C0C, {{LOCALE_STIMEFORMAT, "HH 'h' mm 'min' ss 's'"}, {LOCALE_STIME, ":"}});
  ExpectValues(0x040C, {{LOCALE_STIME, ":"}});
}

TEST_F(LocaleInfoTest, NumbersUseLatinDigitsAndWindowsSpaces) {
  ExpectValues(0x0401, {{LOCALE_SDECIMAL, "."}, {LOCALE_STHOUSAND, ","}});
  EXPECT_EQ(GetLocaleInfoW(0x040C, LOCALE_STHOUSAND, u""), u"\u00A0");
  EXPECT_EQ(GetLocaleInfo(0x040C, LOCALE_STHOUSAND, ""), "\xA0");
}

TEST_F(LocaleInfoTest, NarrowTextIsInTheLocalesOwnCodePage) {
  EXPECT_EQ(GetLocaleInfo(0x0C07, LOCALE_SNATIVECTRYNAME, ""), "\xD6sterreich");
  EXPECT_EQ(GetLocaleInfo(0x0411, LOCALE_SNATIVELANGNAME, ""), "\x93\xFA\x96{\x8C\xEA");
  EXPECT_EQ(GetLocaleInfo(0x0419, LOCALE_SNATIVELANGNAME, ""), "\xF0\xF3\xF1\xF1\xEA\xE8\xE9");
  EXPECT_EQ(GetLocaleInfoW(0x0419, LOCALE_SNATIVELANGNAME, u""), u"русский");
  EXPECT_EQ(GetLocaleInfo(0x0419, LOCALE_SNATIVELANGNAME | LOCALE_USE_CP_ACP, ""), "???????");
  EXPECT_EQ(GetLocaleInfo(0x0419, LOCALE_SNATIVELANGNAME | LOCALE_NOUSEROVERRIDE, ""),
            "\xF0\xF3\xF1\xF1\xEA\xE8\xE9");
}

TEST_F(LocaleInfoTest, UnicodeOnlyLocalesHaveCodePageZeroAndSpeakTheSystemsPage) {
  EXPECT_EQ(LocaleAnsiCodePage(0x0439), 0u);
  ExpectValues(0x0439, {{LOCALE_IDEFAULTANSICODEPAGE, "0"},
                        {LOCALE_SENGLANGUAGE, "Hindi"},
                        {LOCALE_SNATIVELANGNAME, "??????"}});
}

TEST_F(LocaleInfoTest, UnknownLocalesAndTypesAnswerWithTheDefaultText) {
  for (Lcid lcid : {0x5678u, 0x0802u, 0x20407u}) {
    EXPECT_EQ(GetLocaleInfo(lcid, LOCALE_SENGLANGUAGE, "@*"), "@*") << std::hex << lcid;
    EXPECT_EQ(GetLocaleInfoW(lcid, LOCALE_SSHORTDATE, u"x"), u"x") << std::hex << lcid;
    EXPECT_EQ(GetLocaleInfo(lcid, LOCALE_FONTSIGNATURE, "none"), "none") << std::hex << lcid;
    EXPECT_EQ(LocaleAnsiCodePage(lcid), 0u) << std::hex << lcid;
  }
  EXPECT_EQ(GetLocaleInfo(0x0407, 0x9999, "@*"), "@*");
  // Just past the abbreviated month names: there is no thirteenth month.
  EXPECT_EQ(GetLocaleInfo(0x0407, LOCALE_SABBREVMONTHNAME12 + 1, "@*"), "@*");
}

TEST_F(LocaleInfoTest, DefaultIdsAnswerForTheDescribedLocales) {
  SystemDescription description = AustrianSystem();
  description.systemDefaultLcid = 0x0407;
  FixedSystem system(description);
  EXPECT_EQ(GetLocaleInfo(LOCALE_USER_DEFAULT, LOCALE_SENGCOUNTRY, "@*"), "Austria");
  EXPECT_EQ(GetLocaleInfo(LOCALE_NEUTRAL, LOCALE_SENGCOUNTRY, "@*"), "Austria");
  EXPECT_EQ(GetLocaleInfo(LOCALE_SYSTEM_DEFAULT, LOCALE_SENGCOUNTRY, "@*"), "Germany");
  EXPECT_EQ(GetLocaleInfo(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME1, "@*"), "J\xE4nner");
  EXPECT_EQ(LocaleAnsiCodePage(LOCALE_USER_DEFAULT), 1252u);
}

TEST_F(LocaleInfoTest, LocalisedCountryNameIsInTheUsersLanguage) {
  EXPECT_EQ(GetLocaleInfo(0x0409, LOCALE_SCOUNTRY, ""), "Vereinigte Staaten");
  SystemDescription english = AustrianSystem();
  english.userDefaultLcid = 0x0409;
  FixedSystem system(english);
  EXPECT_EQ(GetLocaleInfo(0x0409, LOCALE_SCOUNTRY, ""), "United States");
}

TEST_F(LocaleInfoTest, LanguageOnlyLocalesHaveNoCountryButFormatsOfTheLikelyOne) {
  ExpectValues(0x0007, {{LOCALE_SENGLANGUAGE, "German"},
                        {LOCALE_SENGCOUNTRY, ""},
                        {LOCALE_SISO3166CTRYNAME, ""},
                        {LOCALE_SCURRENCY, "\x80"},
                        {LOCALE_SSHORTDATE, "dd.MM.yyyy"}});
}

TEST_F(LocaleInfoTest, AnsiCodePageFollowsLanguageAndScript) {
  const std::pair<Lcid, std::uint32_t> cases[] = {
      {0x0407, 1252}, {0x0405, 1250}, {0x0415, 1250}, {0x081A, 1250}, {0x0419, 1251},
      {0x0C1A, 1251}, {0x082C, 1251}, {0x0408, 1253}, {0x041F, 1254}, {0x042C, 1254},
      {0x040D, 1255}, {0x0401, 1256}, {0x0429, 1256}, {0x0425, 1257}, {0x042A, 1258},
      {0x041E, 874},  {0x0411, 932},  {0x0804, 936},  {0x0412, 949},  {0x0404, 950},
      {0x0C04, 950},  {0x0437, 0}};
  for (const auto& [lcid, codePage] : cases) {
    EXPECT_EQ(LocaleAnsiCodePage(lcid), codePage) << std::hex << lcid;
  }
}

TEST_F(LocaleInfoTest, FontSignatureComesAsRawWords) {
  const auto signature = LocaleFontSignature(0x0411);
  ASSERT_TRUE(signature.has_value());
  const auto bytes = signature->Bytes();
  const std::string narrow = GetLocaleInfo(0x0411, LOCALE_FONTSIGNATURE, "");
  EXPECT_EQ(narrow, std::string(bytes.begin(), bytes.end()));
  const std::u16string wide = GetLocaleInfoW(0x0411, LOCALE_FONTSIGNATURE, u"");
  ASSERT_EQ(wide.size(), 16u);
  // Default code pages: the first word of them, bit 17 for 932.
  EXPECT_EQ(wide[8], 0x0000);
  EXPECT_EQ(wide[9], 0x0002);
}

}  // namespace
}  // namespace lx::platform

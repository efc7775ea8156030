#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dict/LxAPoly.h"
#include "dict/LxRecordFields.h"
#include "framework/streaming/Streams.h"
#include "support/FixedSystem.h"

namespace lx::dict {
namespace {

// Every value the walk moves, as text, in the walk's order.
class TDump final : public TLxRecordIo {
 public:
  explicit TDump(TLxRecordLayout layout, int version = 3) : TLxRecordIo(layout, version, false) {}
  std::vector<std::string> values;

  void Word(int& value) override { values.push_back("w" + std::to_string(value)); }
  void Small(int& value) override { values.push_back("s" + std::to_string(value)); }
  void Flag(bool& value) override { values.push_back(value ? "yes" : "no"); }
  void FlagBits(std::uint8_t& bits) override { values.push_back("f" + std::to_string(bits)); }
  void Char(char& value, int) override { values.push_back(std::string("c") + value); }
  void Text(std::string& value, int) override { values.push_back("t" + value); }
  void IsoCode(std::string& value, bool keep) override {
    values.push_back(keep ? "i" + value : "-");
  }
};

template <typename Record>
std::vector<std::string> Dump(void (*walk)(TLxRecordIo&, Record&), Record& record,
                              TLxRecordLayout layout) {
  TDump dump(layout);
  walk(dump, record);
  return dump.values;
}

void SetEveryField(lang::TLxLanguage& language) {
  language.PrimaryLanguage = 7;
  language.SubLanguage = 1;
  // The code page brings its character set, which the embedded data stores beside it.
  language.SetCodePage(1251);
  language.SetSubLanguagesText("1,2");
  language.EnglishName = "German";
  language.NativeName = "Deutsch";
  language.FontName = "Tahoma";
  language.FontSize = 9;
  language.Flags = lang::TLxLanguageFlags{lang::lfUser, lang::lfAnyCodePage};
}

// Each field a value of its own, so that fields taken for one another show.
void SetEveryField(lang::TLxLocale& locale) {
  locale.PrimaryLanguage = 7;
  locale.SubLanguage = 2;
  locale.CodePage = 1252;
  locale.Custom = true;
  locale.Charset = 3;
  locale.EnglishLanguageName = "German";
  locale.EnglishCountryName = "Switzerland";
  locale.NativeLanguageName = "Deutsch";
  locale.NativeCountryName = "Schweiz";
  locale.AbbrevLanguageName = "DES";
  locale.CountryName = "Suisse";
  locale.CurrencyString = "Fr.";
  locale.CurrencyFormat = 2;
  locale.NegCurrFormat = 9;
  locale.CurrencyDecimals = 3;
  locale.ThousandSeparator = '\'';
  locale.DecimalSeparator = '.';
  locale.DateSeparator = '-';
  locale.ShortDateFormat = "dd.MM.yy";
  locale.LongDateFormat = "dddd, d. MMMM yyyy";
  locale.TimeSeparator = ':';
  locale.TimeAMString = "vorm.";
  locale.TimePMString = "nachm.";
  locale.HourLeadingZero = true;
  locale.TimeFormat = 1;
  locale.TimeMarkPosition = 1;
  locale.Measurement = 1;
  locale.CalendarType = 4;
  locale.OptionalCalendar = 5;
  locale.FirstDayOfWeek = 6;
  locale.FirstWeekOfYear = 2;
  for (int i = 0; i < 12; ++i) {
    locale.ShortMonthNames[i] = "m" + std::to_string(i);
    locale.LongMonthNames[i] = "month " + std::to_string(i);
  }
  for (int i = 0; i < 7; ++i) {
    locale.ShortDayNames[i] = "d" + std::to_string(i);
    locale.LongDayNames[i] = "day " + std::to_string(i);
  }
}

class LxRecordFieldsTest : public ::testing::Test {
 protected:
  support::FixedSystem system_;
};

TEST_F(LxRecordFieldsTest, EmbeddedDataGivesBackEveryFieldItWasWritten) {
  lang::TLxLanguage language;
  SetEveryField(language);
  lang::TLxLocale locale;
  SetEveryField(locale);
  framework::TMemoryStream data;
  TLxCustomFileDictionary::WriteLanguageEntry(data, language);
  TLxCustomFileDictionary::WriteLocaleEntry(data, locale);
  data.SetPosition(0);
  lang::TLxLanguage languageRead;
  lang::TLxLocale localeRead;
  TLxCustomFileDictionary::ReadLanguageEntry(data, languageRead);
  TLxCustomFileDictionary::ReadLocaleEntry(data, localeRead);
  EXPECT_EQ(data.Remaining(), 0);
  EXPECT_EQ(Dump(LanguageFields, languageRead, TLxRecordLayout::kData),
            Dump(LanguageFields, language, TLxRecordLayout::kData));
  EXPECT_EQ(Dump(LocaleFields, localeRead, TLxRecordLayout::kData),
            Dump(LocaleFields, locale, TLxRecordLayout::kData));
}

TEST_F(LxRecordFieldsTest, TheLayoutsOrderTheSameLanguageFieldsTheirOwnWay) {
  lang::TLxLanguage language;
  SetEveryField(language);
  language.IsoLanguageName = "de";
  language.IsoCountryName = "DE";
  const std::vector<std::string> common = {"w7",      "t1,2",     "w1",      "w204", "w1251",
                                           "tGerman", "tDeutsch", "tTahoma", "s9",   "f3"};
  EXPECT_EQ(Dump(LanguageFields, language, TLxRecordLayout::kData), common);
  EXPECT_EQ(Dump(LanguageFields, language, TLxRecordLayout::kList), common);
  EXPECT_EQ(Dump(LanguageFields, language, TLxRecordLayout::kFile),
            (std::vector<std::string>{"w7", "ide", "w1", "iDE", "t1,2", "t", "w204", "w1251", "f3",
                                      "tGerman", "tDeutsch", "tTahoma", "s9"}));
}

}  // namespace
}  // namespace lx::dict

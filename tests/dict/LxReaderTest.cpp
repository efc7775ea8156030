#include <gtest/gtest.h>

#include <algorithm>

#include "EmbeddedForms.h"
#include "dict/LxReader.h"
#include "support/FixedSystem.h"
#include "support/Raised.h"

namespace lx::dict {
namespace {

using test::CompileForm;

constexpr const char* kNotFound = "Could not find the property";

// A form whose dictionary stands after a sibling and root properties of every value kind.
constexpr std::string_view kBusyForm = R"(object EmbedModule: TEmbedModule
  Int8 = 5
  Int16 = 1000
  Int32 = -100000
  Int64 = 9000000000
  Float = 0.1
  Single = 2.5s
  Date = 45000.25d
  Money = -12.3456c
  Short = 'short'
  Long = 'x'
  Wide = 'Grüße'
  Ident = lxsFile
  On = True
  Off = False
  Ref = nil
  Set = [fsBold, fsItalic]
  Data = {
    000102}
  List = (1 'two' (3.5 nil) ())
  object Panel1: TPanel
    Items = <
      item [3]
        Caption = 'x'
        Sub = <
          item [1000]
          end>
      end
      item [100000]
      end
      item
        Tag = 1
      end>
    object Inner: TLxBinaryDictionary
      Tag = 7
    end
  end
  object Dictionary: TLxBinaryDictionary
    Storage = lxsEmbedded
    Before = (1 (2 3))
    Target = 42
  end
end
)";

// The reader stands at the value of the property.
int IntegerOf(std::string_view form, std::string_view className, std::string_view name,
              std::string_view property) {
  framework::TMemoryStream stream(CompileForm(form));
  framework::TReader reader(stream, 4096);
  TLxReader::FindStoredProperty(reader, className, name, property);
  return reader.ReadInteger();
}

TEST(LxReaderTest, FindsThePropertyPastValuesOfEveryKind) {
  std::string form(kBusyForm);
  // A long string of its own kind.
  form.replace(form.find("'x'\n"), 3, "'" + std::string(300, 'x') + "'");
  EXPECT_EQ(IntegerOf(form, "TLxBinaryDictionary", "Dictionary", "Target"), 42);
}

TEST(LxReaderTest, FindsOnlyDirectChildrenByExactClassAndName) {
  const std::string_view form = kBusyForm;
  EXPECT_RAISES(IntegerOf(form, "TLxBinaryDictionary", "Inner", "Tag"), platform::EResNotFound,
                kNotFound);
  EXPECT_RAISES(IntegerOf(form, "TLxBinaryDictionary", "dictionary", "Target"),
                platform::EResNotFound, kNotFound);
  EXPECT_RAISES(IntegerOf(form, "TLxCustomFileDictionary", "Dictionary", "Target"),
                platform::EResNotFound, kNotFound);
  EXPECT_RAISES(IntegerOf(form, "TLxBinaryDictionary", "Dictionary", "target"),
                platform::EResNotFound, kNotFound);
  EXPECT_RAISES(
      IntegerOf("object A: TEmbedModule\nend\n", "TLxBinaryDictionary", "Dictionary", "Target"),
      platform::EResNotFound, kNotFound);
}

TEST(LxReaderTest, RefusesAnUnknownValueKind) {
  std::vector<std::uint8_t> bytes = CompileForm(kBusyForm);
  // The kind byte of "Before" (a list) becomes 21.
  const std::string_view name =
      "\x06"
      "Before";
  const auto at = std::search(bytes.begin(), bytes.end(), name.begin(), name.end());
  ASSERT_NE(at, bytes.end());
  *(at + static_cast<std::ptrdiff_t>(name.size())) = 21;
  framework::TMemoryStream stream(bytes);
  framework::TReader reader(stream, 4096);
  EXPECT_RAISES(
      TLxReader::FindStoredProperty(reader, "TLxBinaryDictionary", "Dictionary", "Target"),
      platform::EReadError, "Unknown property value: 21");
}

// ---- The list form

// A form whose dictionary carries `property` = `value` (a list).
std::string ListForm(std::string_view property, std::string_view value) {
  return "object EmbedModule: TEmbedModule\n  object Dictionary: TLxBinaryDictionary\n"
         "    Storage = lxsEmbedded\n    " +
         std::string(property) + " = " + std::string(value) + "\n  end\nend\n";
}

// Runs `count` on a reader standing at the value of `property`.
template <typename F>
int Count(std::string_view property, std::string_view value, F count) {
  framework::TMemoryStream stream(CompileForm(ListForm(property, value)));
  framework::TReader reader(stream, 4096);
  TLxReader::FindStoredProperty(reader, "TLxBinaryDictionary", "Dictionary", property);
  return count(reader);
}

constexpr std::string_view kEnglishV1 = "(0 '' 0 1252 'English' 'Native' '' 0 False False)";
constexpr std::string_view kEnglishV2 = "(0 '' 0 0 1252 'English' 'Native' '' 0 False False)";
constexpr std::string_view kGermanV1 = "(7 '1,3' 1 1252 'German' 'Deutsch' 'Arial' 9 True False)";
constexpr std::string_view kGermanV2 = "(7 '1,3' 1 0 1252 'German' 'Deutsch' 'Arial' 9 True True)";

std::string Languages(int version, std::string_view german) {
  return "(" + std::to_string(version) + " 2 " +
         std::string(version == 1 ? kEnglishV1 : kEnglishV2) + " " + std::string(german) + ")";
}

constexpr std::string_view kNames12 = "'1' '2' '3' '4' '5' '6' '7' '8' '9' '10' '11' '12'";
constexpr std::string_view kNames7 = "'Mo' 'Tu' 'We' 'Th' 'Fr' 'Sa' 'Su'";

std::string Locales(int version) {
  const std::string charset = version >= 2 ? " 0" : "";
  return "(" + std::to_string(version) + " 1 (7 3" + charset +
         " 1252 True 'German' 'Austria' 'Deutsch' 'Oesterreich' 'DEA' 'Austria' 0 'EUR' 3 8 2 "
         "'.' ',' '/' 'dd.MM.yyyy' 'dddd, d. MMMM yyyy' ':' 'AM' 'PM' True 1 0 1 0 0 0 " +
         std::string(kNames12) + " " + std::string(kNames12) + " " + std::string(kNames7) + " " +
         std::string(kNames7) + "))";
}

class LxReaderListTest : public ::testing::Test {
 protected:
  support::FixedSystem system_;
};

TEST_F(LxReaderListTest, CountsLanguagesOfBothVersionsAndRefusesLaterOnes) {
  auto count = [](framework::TReader& reader) { return CountListLanguages(reader); };
  EXPECT_EQ(Count("Languages", Languages(1, kGermanV1), count), 2);
  EXPECT_EQ(Count("Languages", Languages(2, kGermanV2), count), 2);
  EXPECT_RAISES(Count("Languages", Languages(3, kGermanV2), count), platform::Exception,
                "Unknown language data version: 3");
  // Version 1 has no character set: the version 2 entry does not fit it.
  EXPECT_RAISES(Count("Languages", Languages(1, kGermanV2), count), platform::EReadError,
                "Invalid property value");
  EXPECT_EQ(Count("Locales", Locales(1), CountListLocales), 1);
  EXPECT_EQ(Count("Locales", Locales(2), CountListLocales), 1);
  EXPECT_RAISES(Count("Locales", "(3 0)", CountListLocales), platform::Exception,
                "Unknown locale data version: 3");
}

TEST_F(LxReaderListTest, CountsTranslationsByTheirKeysAndLanguages) {
  auto three = [](framework::TReader& reader) { return CountListTranslations(reader, 3); };
  // Version 1: no flags, so no keys.
  EXPECT_EQ(Count("Translations", "(1 2 ('a' 'b' 'c') ('d' 'e' 'f'))", three), 2);
  // Version 2, content flags 3: the context only.
  EXPECT_EQ(Count("Translations", "(2 3 1 ('a' 'ctx' 'b' 'c'))", three), 1);
  EXPECT_EQ(Count("Translations", "(2 1 1 ('a' 'ctx' 'id' 'b' 'c'))", three), 1);
  // A record with a text too many or too few is the reader's error.
  EXPECT_RAISES(Count("Translations", "(2 3 1 ('a' 'ctx' 'b' 'c' 'd'))", three),
                platform::EReadError, "Invalid property value");
  EXPECT_RAISES(Count("Translations", "(2 3 1 ('a' 'b' 'c'))", three), platform::EReadError,
                "Invalid property value");
  EXPECT_RAISES(Count("Translations", "(3 0 0)", three), platform::Exception,
                "Unknown translation data version: 3");
}

class LxReaderQueryTest : public LxReaderListTest {
 protected:
  void Link(std::string_view property, const std::string& value) {
    resource_ = std::make_unique<test::TFormResource>("TEmbedModule",
                                                      CompileForm(ListForm(property, value)));
  }
  const TLxStoredComponent component_{"TEmbedModule", "TLxBinaryDictionary", "Dictionary"};
  std::unique_ptr<test::TFormResource> resource_;
};

TEST_F(LxReaderQueryTest, ReadsLanguagesEntryByEntry) {
  Link("Languages", Languages(2, kGermanV2));
  lang::TLxLanguage language;
  ReadListLanguage(component_, 1, language);
  EXPECT_EQ(language.EnglishName, "German");
  EXPECT_EQ(language.NativeName, "Deutsch");
  EXPECT_EQ(language.GetSubLanguagesText(), "1,3");
  EXPECT_EQ(language.FontName, "Arial");
  EXPECT_EQ(language.FontSize, 9);
  EXPECT_TRUE(language.Flags.Contains(lang::lfUser));
  EXPECT_TRUE(language.Flags.Contains(lang::lfAnyCodePage));
  EXPECT_EQ(language.IsoLanguageName, "de");
  // Entry 0 starts from an empty record: nothing of the German entry stays, nor what the
  // record held before.
  language.SetSubLanguageCodesText("AT,DE");
  ReadListLanguage(component_, 0, language);
  EXPECT_EQ(language.SubLanguageCodes.Count(), 0);
  EXPECT_EQ(language.FontName, "");
  EXPECT_EQ(language.SubLanguageCount(), 0);
  std::vector<std::unique_ptr<lang::TLxLanguage>> list;
  ReadListLanguages(component_, list);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1]->EnglishName, "German");
}

TEST_F(LxReaderQueryTest, ReadsLocales) {
  Link("Locales", Locales(1));
  lang::TLxLocale locale;
  ReadListLocale(component_, 0, locale);
  EXPECT_EQ(locale.LocaleId(), 0x0C07);
  EXPECT_TRUE(locale.Custom);
  EXPECT_EQ(locale.CurrencyString, "EUR");
  EXPECT_EQ(locale.NegCurrFormat, 8);
  EXPECT_EQ(locale.DecimalSeparator, ',');
  EXPECT_EQ(locale.DateSeparator, '/');
  EXPECT_EQ(locale.LongDateFormat, "dddd, d. MMMM yyyy");
  EXPECT_EQ(locale.TimePMString, "PM");
  EXPECT_TRUE(locale.HourLeadingZero);
  EXPECT_EQ(locale.TimeFormat, 1);
  EXPECT_EQ(locale.CalendarType, 1);
  EXPECT_EQ(locale.LongMonthNames[11], "12");
  EXPECT_EQ(locale.LongDayNames[6], "Su");
  std::vector<std::unique_ptr<lang::TLxLocale>> list;
  ReadListLocales(component_, list);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0]->ShortDayNames[0], "Mo");
}

TEST_F(LxReaderQueryTest, LoadsTheActiveAndFallbackTextsUnescaped) {
  Link("Translations",
       "(2 3 4 ('a#Lb' 'TForm1' 'x#Ly' 'z') ('Open' 'TForm1' '' 'Offen') "
       "('None' 'TForm1' '' '') ('Keep' 'TForm2' 'Garder' 'Behalten'))");
  TLxTranslationList table;
  EXPECT_TRUE(LoadListTranslations(component_, 3, 2, 1, table));
  ASSERT_EQ(table.Count(), 3);
  EXPECT_EQ(table.Native(0), "a\nb");
  EXPECT_EQ(table.Context(0), "TForm1");
  EXPECT_EQ(table.Translation(0), "z");
  EXPECT_EQ(table.State(0), lang::TLxTranslation::kActiveText);
  EXPECT_EQ(table.Translation(1), "Offen");
  EXPECT_EQ(table.Native(2), "Keep");
  EXPECT_EQ(table.Translation(2), "Behalten");
  table.Clear();
  // The fallback text when the active language has none.
  EXPECT_TRUE(LoadListTranslations(component_, 3, 1, 2, table));
  EXPECT_EQ(table.Translation(0), "x\ny");
  EXPECT_EQ(table.Translation(1), "Offen");
  EXPECT_EQ(table.State(1), lang::TLxTranslation::kFallbackText);
}

TEST_F(LxReaderQueryTest, ContentFlagsOneCarryContextAndId) {
  Link("Translations", "(2 1 1 ('Word' 'TForm1' 'Label1.Caption' 'Wort'))");
  TLxTranslationList table;
  EXPECT_TRUE(LoadListTranslations(component_, 2, 1, -1, table));
  ASSERT_EQ(table.Count(), 1);
  EXPECT_EQ(table.Context(0), "TForm1");
  EXPECT_EQ(table.Id(0), "Label1.Caption");
  EXPECT_EQ(table.Translation(0), "Wort");
}

TEST_F(LxReaderQueryTest, VersionOneTranslationsCarryNoKeys) {
  Link("Translations", "(1 1 ('Open' 'Abrir'))");
  TLxTranslationList table;
  EXPECT_FALSE(LoadListTranslations(component_, 2, 1, -1, table));
  ASSERT_EQ(table.Count(), 1);
  EXPECT_EQ(table.Context(0), "");
  EXPECT_EQ(table.Translation(0), "Abrir");
}

TEST_F(LxReaderQueryTest, OpensAndClosesTheStoredProperty) {
  Link("Languages", Languages(2, kGermanV2));
  TLxReader& reader = TLxReader::OpenStoredProperty(component_, "Languages");
  EXPECT_EQ(CountListLanguages(reader), 2);
  TLxReader::CloseStoredProperty();
  TLxReader::CloseStoredProperty();
  EXPECT_RAISES(TLxReader::OpenStoredProperty(component_, "Translations"), platform::EResNotFound,
                kNotFound);
  EXPECT_RAISES(TLxReader::OpenStoredProperty({"TNoSuchForm", "TLxBinaryDictionary", "Dictionary"},
                                              "Languages"),
                platform::EResNotFound, "Resource TNoSuchForm not found");
}

}  // namespace
}  // namespace lx::dict

// The example image of docs/pld-format.md, taken from the page's annotated hex dump at run
// time, is what lxpld builds from the page's JSON source and reads back as the page says.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "dict/LxPLDFil.h"
#include "framework/core/Strings.h"
#include "lxpld/PldJson.h"
#include "support/FixedSystem.h"
#include "support/PldImages.h"
#include "support/Raised.h"

namespace lx::dict {
namespace {

using Bytes = std::vector<std::uint8_t>;

const char* const kPage = LX_SOURCE_DIR "/docs/pld-format.md";

// The lines of the fenced block whose info string carries `mark`.
std::vector<std::string> BlockOfPage(std::string_view mark) {
  std::ifstream page(kPage);
  EXPECT_TRUE(page) << "cannot open " << kPage;
  std::vector<std::string> lines;
  bool inBlock = false;
  for (std::string line; std::getline(page, line);) {
    if (line.starts_with("```")) {
      if (inBlock) return lines;
      inBlock = line.find(mark) != std::string::npos;
    } else if (inBlock) {
      lines.push_back(line);
    }
  }
  ADD_FAILURE() << "no block marked " << mark << " in " << kPage;
  return lines;
}

bool IsHex(const std::string& token) {
  return !token.empty() &&
         std::all_of(token.begin(), token.end(), [](unsigned char c) { return std::isxdigit(c); });
}

// A dump line is "OFFSET: HH HH ... | comment"; other lines (titles, blanks) are skipped.
// Each offset must be the number of bytes before it, so a mistake in the page shows.
void ParseDumpLine(const std::string& line, Bytes& bytes) {
  const std::size_t colon = line.find(':');
  if (colon == std::string::npos || !IsHex(line.substr(0, colon))) return;
  const unsigned long offset = std::stoul(line.substr(0, colon), nullptr, 16);
  ASSERT_EQ(offset, bytes.size()) << "offset of the line: " << line;
  std::istringstream tokens(line.substr(colon + 1, line.find('|') - colon - 1));
  for (std::string token; tokens >> token;) {
    ASSERT_TRUE(token.size() == 2 && IsHex(token)) << "not a byte: '" << token << "' in " << line;
    bytes.push_back(static_cast<std::uint8_t>(std::stoul(token, nullptr, 16)));
  }
}

Bytes ExampleFromPage(std::string_view mark = "pld-example-dump") {
  Bytes bytes;
  for (const std::string& line : BlockOfPage(mark))
    ParseDumpLine(line, bytes);
  return bytes;
}

std::string ExampleSourceFromPage(std::string_view mark = "pld-example-source") {
  std::string source;
  for (const std::string& line : BlockOfPage(mark))
    source += line + '\n';
  return source;
}

class PldFormatDocTest : public testing::Test {
 protected:
  void SetUp() override {
    bytes_ = ExampleFromPage();
    ASSERT_FALSE(bytes_.empty());
    file_.OpenStream(support::ImageStream(bytes_));
  }

  const support::FixedSystem system_;
  Bytes bytes_;
  TLxPLDFile file_;
};

TEST_F(PldFormatDocTest, TheDumpIsWhatLxpldBuildsFromThePageSource) {
  EXPECT_EQ(bytes_, tools::WritePldImage(tools::ImageFromJson(ExampleSourceFromPage())));
}

TEST_F(PldFormatDocTest, Header) {
  EXPECT_EQ(file_.Version(), 3);
  EXPECT_TRUE(file_.LittleEndian());
  EXPECT_TRUE(file_.AnsiStrings());
  EXPECT_EQ(file_.ContentFlags(), 1);
  EXPECT_TRUE(file_.HasContext());
  EXPECT_TRUE(file_.HasId());
  EXPECT_EQ(file_.LanguageCount(), 2);
  EXPECT_EQ(file_.TranslationCount(), 2);
  EXPECT_EQ(file_.LocaleCount(), 0);
  EXPECT_EQ(file_.Header().LanguageOffset, 42u);
  EXPECT_EQ(file_.Header().TranslationOffset, 134u);
  EXPECT_RAISES(file_.SeekLocales(), platform::Exception, "No custom locales");
}

TEST_F(PldFormatDocTest, Languages) {
  const std::unique_ptr<lang::TLxLanguage> native = file_.ReadLanguageAt(0)->Clone();
  EXPECT_EQ(native->PrimaryLanguage, 0);
  EXPECT_EQ(native->SubLanguage, 0);
  EXPECT_EQ(native->IsoLanguageName, "");
  EXPECT_EQ(native->IsoCountryName, "");
  EXPECT_EQ(native->CodePage, 1252);
  // The native language is named so whatever the record holds.
  EXPECT_EQ(native->EnglishName, "Native");
  EXPECT_EQ(native->NativeName, "Native");

  const lang::TLxLanguage& german = *file_.ReadLanguageAt(1);
  EXPECT_EQ(german.PrimaryLanguage, 7);
  EXPECT_EQ(german.SubLanguage, 1);
  EXPECT_EQ(german.IsoLanguageName, "de");
  EXPECT_EQ(german.IsoCountryName, "DE");
  EXPECT_EQ(german.GetSubLanguagesText(), "1,3");
  ASSERT_EQ(german.SubLanguageCodes.Count(), 2);
  EXPECT_EQ(german.SubLanguageCodes.Strings(0), "DE");
  EXPECT_EQ(german.SubLanguageCodes.Strings(1), "AT");
  EXPECT_EQ(german.CodePage, 1252);
  EXPECT_EQ(german.Charset, 0);
  EXPECT_TRUE(german.Flags.Empty());
  EXPECT_EQ(german.EnglishName, "German");
  EXPECT_EQ(german.NativeName, "Deutsch");
  EXPECT_EQ(german.FontName, "Arial");
  EXPECT_EQ(german.FontSize, 9);
}

TEST_F(PldFormatDocTest, TranslationsIntoGerman) {
  file_.SeekTranslations();
  lang::TLxTranslation open;
  EXPECT_EQ(file_.ReadTranslation(open, 1, 0, 1252), lang::TLxTranslation::kActiveText);
  EXPECT_EQ(open.Native, "Open");
  EXPECT_EQ(open.Context, "TForm1");
  EXPECT_EQ(open.Id, "Button1.Caption");
  EXPECT_EQ(open.Translation,
            "\xD6"
            "ffnen");

  lang::TLxTranslation cancel;
  EXPECT_EQ(file_.ReadTranslation(cancel, 1, 0, 1252), lang::TLxTranslation::kNoText);
  EXPECT_EQ(cancel.Native, "Cancel");
  EXPECT_EQ(cancel.Id, "Button2.Caption");
  EXPECT_EQ(cancel.Translation, "");
}

TEST_F(PldFormatDocTest, RawTranslations) {
  file_.SeekTranslations();
  framework::TStringList texts;
  std::string context, id;
  file_.ReadRawTranslation(texts, context, id);
  file_.ReadRawTranslation(texts, context, id);
  EXPECT_EQ(texts.Text(),
            "Open\n\xD6"
            "ffnen\nCancel\n\n");
  EXPECT_EQ(context, "TForm1");
  EXPECT_EQ(id, "Button2.Caption");
}

TEST(PldFormatDocVariantsTest, TheDumpIsWhatLxpldBuildsAndAnOlderImageIsItsPrefix) {
  const support::FixedSystem system;
  const Bytes bytes = ExampleFromPage("pld-variants-dump");
  tools::PldImage image = tools::ImageFromJson(ExampleSourceFromPage("pld-variants-source"));
  EXPECT_EQ(bytes, tools::WritePldImage(image));
  // Without its variants the image is the same bytes up to the variant section, with the
  // header's fourth pair at 0.
  image.translations[0].variantKind = tools::PldVariantKind::None;
  image.translations[0].variants.clear();
  Bytes older(bytes.begin(), bytes.begin() + 140);
  std::fill(older.begin() + 30, older.begin() + 36, 0);
  EXPECT_EQ(tools::WritePldImage(image), older);

  // Both read alike where they overlap: the languages and the translation.
  for (const Bytes& each : {bytes, older}) {
    TLxPLDFile file;
    file.OpenStream(support::ImageStream(each));
    EXPECT_EQ(file.ReadLanguageAt(1)->EnglishName, "Russian");
    file.SeekTranslations();
    lang::TLxTranslation translation;
    EXPECT_EQ(file.ReadTranslation(translation, 1, 0, 1251), lang::TLxTranslation::kActiveText);
    EXPECT_EQ(translation.Translation, "%d \xF4\xE0\xE9\xEB");
  }
  TLxPLDFile older_file;
  older_file.OpenStream(support::ImageStream(older));
  EXPECT_EQ(older_file.VariantCount(), 0);
}

TEST(PldFormatDocVariantsTest, VariantsOfTheActiveLanguage) {
  const support::FixedSystem system;
  TLxPLDFile file;
  file.OpenStream(support::ImageStream(ExampleFromPage("pld-variants-dump")));
  ASSERT_EQ(file.VariantCount(), 1);
  using Texts = std::vector<std::pair<std::string, std::string>>;
  const struct {
    int active;
    Texts texts;
  } cases[] = {
      {1,
       {{"one", "%d \xF4\xE0\xE9\xEB"},
        {"few", "%d \xF4\xE0\xE9\xEB\xE0"},
        {"many", "%d \xF4\xE0\xE9\xEB\xEE\xE2"}}},
      {0, {{"one", "%d file"}, {"other", "%d files"}}},
  };
  for (const auto& c : cases) {
    file.SeekVariants();
    TLxPLDFile::TLxVariantRecord record;
    file.ReadVariants(record, c.active, 0, 1251);
    EXPECT_EQ(record.native, "%d file");
    EXPECT_EQ(record.kind, 1);
    EXPECT_EQ(record.texts, c.texts);
    EXPECT_EQ(file.Position(), file.Size());
  }
}

}  // namespace
}  // namespace lx::dict

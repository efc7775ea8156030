#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "lx/LxVersion.h"
#include "lxpld/Lxpld.h"
#include "lxpld/PldJson.h"
#include "support/FixedSystem.h"
#include "support/PldImages.h"
#include "support/TempFolder.h"

namespace lx::tools {
namespace {

std::string ErrorOf(const std::string& json) {
  try {
    ImageFromJson(json);
  } catch (const PldImageError& error) {
    return error.Message();
  }
  return "";
}

TEST(PldJsonTest, DescribesEveryFieldBothWays) {
  PldImage image = support::SampleImage();
  image.version = 2;
  image.bigEndian = true;
  image.utf16 = true;
  image.textCodePage = 1250;
  image.languages[1].extra = {0, 0, 0};
  image.languages[2].extra = {0x0a, 0xff};
  image.locales[0].isoCountry = std::string("A\0", 2);
  const std::string json = ImageToJson(image);
  EXPECT_NE(json.find("\"extra\": 3"), std::string::npos);
  EXPECT_NE(json.find("\"extra\": \"0aff\""), std::string::npos);
  EXPECT_NE(json.find("\"byteOrder\": \"big\""), std::string::npos);
  EXPECT_NE(json.find("\"textWidth\": 16"), std::string::npos);
  EXPECT_EQ(ImageFromJson(json), image);

  // Keys that the content flags do not carry are left out.
  image.contentFlags = 0;
  for (auto& translation : image.translations)
    translation.context = translation.id = "";
  EXPECT_EQ(ImageToJson(image).find("\"context\""), std::string::npos);
  EXPECT_EQ(ImageFromJson(ImageToJson(image)), image);
}

TEST(PldJsonTest, FieldsLeftOutKeepTheirDefaults) {
  const PldImage image = ImageFromJson(R"({
    "languages": [{"primaryLanguage": 9, "codePage": 1252}],
    "locales": [{"hourLeadingZero": true}]
  })");
  EXPECT_EQ(image.version, 3);
  EXPECT_FALSE(image.bigEndian);
  EXPECT_FALSE(image.utf16);
  ASSERT_EQ(image.languages.size(), 1u);
  EXPECT_EQ(image.languages[0].primaryLanguage, 9);
  EXPECT_EQ(image.languages[0].englishName, "");
  EXPECT_EQ(image.locales[0].custom, 1);
  EXPECT_EQ(image.locales[0].hourLeadingZero, 1);
  EXPECT_TRUE(image.translations.empty());
}

TEST(PldJsonTest, ErrorsNameThePlace) {
  EXPECT_EQ(ErrorOf(R"({"languages": [{"primary": 9}]})"),
            "languages[0]: unknown field \"primary\"");
  EXPECT_EQ(ErrorOf(R"({"versoin": 3})"), "image: unknown field \"versoin\"");
  EXPECT_EQ(ErrorOf(R"({"languages": [{}, {"codePage": "1252"}]})"),
            "languages[1].codePage: expected a whole number from 0 to 65535");
  EXPECT_EQ(ErrorOf(R"({"languages": [{"fontSize": 256}]})"),
            "languages[0].fontSize: expected a whole number from 0 to 255");
  EXPECT_EQ(ErrorOf(R"({"languages": [{"englishName": 5}]})"),
            "languages[0].englishName: expected a text");
  EXPECT_EQ(ErrorOf(R"({"languages": {}})"), "image.languages: expected an array");
  EXPECT_EQ(ErrorOf(R"({"languages": [7]})"), "languages[0]: expected an object");
  EXPECT_EQ(ErrorOf(R"({"locales": [{"shortDayNames": ["Mo"]}]})"),
            "locales[0].shortDayNames: expected 7 texts");
  EXPECT_EQ(ErrorOf(R"({"locales": [{"extra": "0g"}]})"),
            "locales[0].extra: expected a count of zero bytes or lower-case hex digits");
  EXPECT_EQ(ErrorOf(R"({"translations": [{"context": "x"}]})"), "translations[0]: no texts");
  EXPECT_EQ(ErrorOf(R"({"translations": [{"texts": ["a", 1]}]})"),
            "translations[0].texts[1]: expected a text");
  EXPECT_EQ(ErrorOf(R"({"byteOrder": "middle"})"), "byteOrder: expected \"little\" or \"big\"");
  EXPECT_EQ(ErrorOf(R"({"textWidth": 12})"), "textWidth: expected 8 or 16");
  EXPECT_EQ(ErrorOf("[1]"), "expected an object at the top");
  // Nesting is refused before any parser recurses; brackets inside texts do not count.
  EXPECT_EQ(ErrorOf(R"({"x": )" + std::string(20000, '[') + std::string(20000, ']') + "}"),
            "arrays and objects nested deeper than 100 levels");
  EXPECT_EQ(ErrorOf(R"({"languages": [{"englishName": ")" + std::string(200, '[') + "\\\"\"}]}"),
            "");
  EXPECT_EQ(ErrorOf(R"({"version": 1e400})"), "number overflow parsing '1e400'");
  EXPECT_EQ(ErrorOf("{\"languages\": [1,"),
            "parse error at line 1, column 18: syntax error while parsing value - unexpected "
            "end of input; expected '[', '{', or a literal");
}

TEST(PldJsonTest, LxpldTakesOptionsAndAnswersWithExitCodes) {
  std::ostringstream out, err;
  EXPECT_EQ(RunLxpld({"check", "--help"}, out, err), kLxpldOk);
  EXPECT_NE(out.str().find("lxpld dump FILE.pld"), std::string::npos);
  const auto usageError = [&](const std::vector<std::string>& args) {
    out.str("");
    err.str("");
    EXPECT_EQ(RunLxpld(args, out, err), kLxpldBadUsage);
    return err.str().substr(0, err.str().find('\n'));
  };
  EXPECT_EQ(usageError({"build", "a.json", "-o"}), "lxpld: build: -o needs a file name");
  EXPECT_EQ(usageError({"build", "a.json", "-o", ""}), "lxpld: build: -o needs a file name");
  EXPECT_EQ(usageError({"build", "a.json", "-o", "x", "-o", "y"}),
            "lxpld: build: more than one output file");
  EXPECT_EQ(usageError({"build", "a.json", "b.json", "-o", "x.pld"}),
            "lxpld: build: unexpected \"b.json\"");
  EXPECT_EQ(usageError({"build", "a.json", "-o", "x.pld", "--image-version", "3x"}),
            "lxpld: --image-version takes a number from 0 to 255, not \"3x\"");
  EXPECT_EQ(usageError({"build", "a.json", "-o", "x.pld", "--image-version"}),
            "lxpld: build: --image-version needs a number");
  // The tool's own version is asked without a command; in a build it is a mistake.
  EXPECT_EQ(usageError({"build", "a.json", "-o", "x.pld", "--version", "2"}),
            "lxpld: build: the image's format version is set with --image-version N");
  EXPECT_EQ(usageError({"build", std::string(5000, 'y'), "z", "-o", "x"}),
            "lxpld: build: unexpected \"z\"");
  EXPECT_EQ(usageError({"build", "a", std::string(5000, 'z'), "-o", "x"}),
            "lxpld: build: unexpected \"" + std::string(40, 'z') + "...\"");

  out.str("");
  EXPECT_EQ(RunLxpld({"--version"}, out, err), kLxpldOk);
  EXPECT_EQ(out.str(), std::string("lxpld (Lx) ") + kLxVersion + "\n");
}

TEST(PldJsonTest, MessagesQuoteOnlyAnExcerptOfTheInput) {
  EXPECT_EQ(ErrorOf("{\"languages\": [\"" + std::string(70000, 'x') + "\x01\"]}"),
            "parse error at line 1, column 70017: syntax error while parsing value - invalid "
            "string: control character U+0001 (SOH) must be escaped to \\u0001; last read: '\"" +
                std::string(39, 'x') + "...'");
  EXPECT_EQ(ErrorOf("{\"" + std::string(1000, 'k') + "\": 1}"),
            "image: unknown field \"" + std::string(40, 'k') + "...\"");
}

class LxpldFilesTest : public ::testing::Test {
 protected:
  void Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(root_ + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  // The first line lxpld writes to standard error; its exit code in `code`.
  std::string FirstError(const std::vector<std::string>& args, int& code) {
    std::ostringstream out, err;
    code = RunLxpld(args, out, err);
    return err.str().substr(0, err.str().find('\n'));
  }

  support::TempFolder temp_;
  std::string root_ = temp_.Text();
  int code_ = -1;
};

TEST_F(LxpldFilesTest, NeverWritesOverTheSourceAndRefusesFolders) {
  const std::string json = ImageToJson(support::SampleImage());
  Write("a.json", std::vector<std::uint8_t>(json.begin(), json.end()));
  std::filesystem::create_symlink(root_ + "a.json", root_ + "alias.json");
  EXPECT_EQ(FirstError({"build", root_ + "a.json", "-o", root_ + "alias.json"}, code_),
            "lxpld: build: the output file " + root_ + "alias.json is the source itself");
  EXPECT_EQ(code_, kLxpldBadUsage);
  EXPECT_EQ(std::filesystem::file_size(root_ + "a.json"), json.size());
  for (const char* command : {"dump", "check"}) {
    EXPECT_EQ(FirstError({command, root_}, code_), "lxpld: " + root_ + ": is a folder");
    EXPECT_EQ(code_, kLxpldBadInput);
  }
  EXPECT_EQ(FirstError({"build", root_, "-o", root_ + "x.pld"}, code_),
            "lxpld: " + root_ + ": is a folder");
}

TEST_F(LxpldFilesTest, CheckNamesTheRecordWhoseLengthRunsPastTheImage) {
  std::vector<std::uint8_t> image = WritePldImage(support::SampleImage());
  const std::uint32_t languages = SectionOffset(image, PldSection::Languages);
  image[languages + 1] = 0x10;  // languages[0] claims 4 KB more than it has
  Write("long.pld", image);
  EXPECT_EQ(FirstError({"check", root_ + "long.pld"}, code_),
            "lxpld: " + root_ + "long.pld: languages[0]: the record length runs past the end " +
                "of the image (byte " + std::to_string(image.size()) + ")");
  EXPECT_EQ(code_, kLxpldBadInput);
}

}  // namespace
}  // namespace lx::tools

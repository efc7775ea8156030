#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "pldimage/PldImage.h"
#include "support/FixedSystem.h"
#include "support/PldImages.h"
#include "support/Raised.h"

namespace lx::tools {
namespace {

using Bytes = std::vector<std::uint8_t>;

// What an image of `version` keeps of `image`.
PldImage KeptBy(PldImage image) {
  for (PldLanguage& language : image.languages) {
    if (image.version < 2) {
      language.isoLanguage = language.isoCountry = language.subLanguageCodes = "";
    }
    if (image.version < 3) {
      language.charset = 0;
      language.extra.clear();
    }
  }
  for (PldLocale& locale : image.locales) {
    if (image.version < 2) locale.isoLanguage = locale.isoCountry = "";
    if (image.version < 3) {
      locale.charset = 0;
      locale.extra.clear();
    }
  }
  return image;
}

class PldImageLayoutTest : public testing::TestWithParam<std::tuple<int, bool, bool>> {};

TEST_P(PldImageLayoutTest, ParsesWhatItWrote) {
  const support::FixedSystem system;
  PldImage image = support::SampleImage();
  std::tie(image.version, image.bigEndian, image.utf16) = GetParam();
  image.languages[2].extra = {1, 2, 3};
  image.locales[0].extra.assign(5, 0);
  image.translations[2].texts[0] = std::string("O\0K", 3);
  const Bytes bytes = WritePldImage(image);
  const PldImage parsed = ParsePldImage(bytes);
  EXPECT_EQ(parsed, KeptBy(image));
  EXPECT_EQ(WritePldImage(parsed), bytes);
}

INSTANTIATE_TEST_SUITE_P(VersionsOrdersWidths, PldImageLayoutTest,
                         testing::Combine(testing::Values(0, 1, 2, 3, 5), testing::Bool(),
                                          testing::Bool()));

TEST(PldImageTest, HeaderAndRecordFraming) {
  const support::FixedSystem system;
  PldImage image = support::SampleImage();
  image.locales.clear();
  Bytes bytes = WritePldImage(image);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 3), "PLD");
  EXPECT_EQ(bytes[3], 3);
  EXPECT_EQ(bytes[4], 1);
  EXPECT_EQ(bytes[5], 1);
  EXPECT_EQ(bytes[6], 1);
  EXPECT_EQ(bytes[7], 0);
  EXPECT_EQ(SectionOffset(bytes, PldSection::Languages), 42u);
  EXPECT_EQ(SectionCount(bytes, PldSection::Locales), 0);
  EXPECT_EQ(SectionOffset(bytes, PldSection::Locales), 0u);
  // The native record: its length, then primary language 0.
  const int length = bytes[42] | bytes[43] << 8;
  const Bytes nativeOnly = [&] {
    PldImage one = image;
    one.languages.resize(1);
    one.translations.clear();
    return WritePldImage(one);
  }();
  EXPECT_EQ(static_cast<std::size_t>(length), nativeOnly.size() - 42);

  image.version = 1;
  image.utf16 = true;
  bytes = WritePldImage(image);
  EXPECT_EQ(bytes[5], 0);
  EXPECT_EQ(bytes[7], 0);
  image.utf16 = false;
  bytes = WritePldImage(image);
  EXPECT_EQ(bytes[5], 0);
  EXPECT_EQ(bytes[7], 1);
}

TEST(PldImageTest, DamageHelpersKeepTheByteOrder) {
  const support::FixedSystem system;
  for (const bool bigEndian : {false, true}) {
    PldImage image = support::SampleImage();
    image.bigEndian = bigEndian;
    Bytes bytes = WritePldImage(image);
    EXPECT_EQ(SectionCount(bytes, PldSection::Translations), 4);
    SetSectionCount(bytes, PldSection::Translations, 0x1234);
    SetSectionOffset(bytes, PldSection::Locales, 0x01020304);
    EXPECT_EQ(SectionCount(bytes, PldSection::Translations), 0x1234);
    EXPECT_EQ(SectionOffset(bytes, PldSection::Locales), 0x01020304u);
    EXPECT_EQ(bytes[bigEndian ? 26 : 29], 0x01);
  }
  EXPECT_RAISES(SectionCount(Bytes(10), PldSection::Languages), platform::Exception,
                "the image has no complete header");
}

TEST(PldImageTest, RefusesWhatTheFormatCannotHold) {
  const support::FixedSystem system;
  const auto changed = [](auto change) {
    PldImage image = support::SampleImage();
    change(image);
    return image;
  };
  EXPECT_RAISES(WritePldImage(changed([](PldImage& i) { i.languages[2].codePage = 1361; })),
                PldImageError, "languages[2]: code page 1361 is not installed");
  EXPECT_NO_THROW(WritePldImage(changed([](PldImage& i) {
    i.languages[2].codePage = 1361;
    i.utf16 = true;
  })));
  EXPECT_RAISES(WritePldImage(changed([](PldImage& i) { i.languages[2].codePage = 1252; })),
                PldImageError,
                "languages[2].nativeName: \"Русский\" cannot be written in code page 1252");
  EXPECT_RAISES(WritePldImage(changed([](PldImage& i) { i.translations[1].texts.pop_back(); })),
                PldImageError, "translations[1]: 2 texts for 3 languages");
  EXPECT_RAISES(WritePldImage(changed([](PldImage& i) { i.translations[0].texts[1] = "Ω"; })),
                PldImageError,
                "translations[0].texts[1]: \"Ω\" cannot be written in code page 1252");
  EXPECT_RAISES(WritePldImage(changed([](PldImage& i) { i.languages[1].primaryLanguage = 70000; })),
                PldImageError, "languages[1].primaryLanguage: 70000 does not fit in 16 bits");
  EXPECT_RAISES(WritePldImage(changed([](PldImage& i) { i.languages[1].fontSize = -1; })),
                PldImageError, "languages[1].fontSize: -1 does not fit in 8 bits");
  EXPECT_RAISES(WritePldImage(changed([](PldImage& i) { i.languages[1].isoLanguage = "deu"; })),
                PldImageError, "languages[1].isoLanguage: \"deu\" is longer than 2 characters");
  EXPECT_RAISES(WritePldImage(changed([](PldImage& i) { i.locales[0].decimalSeparator = ",,"; })),
                PldImageError, "locales[0].decimalSeparator: \",,\" is longer than 1 character");
  EXPECT_RAISES(WritePldImage(changed([](PldImage& i) { i.contentFlags = 2; })), PldImageError,
                "translations[0].context: content flags 2 carry no context");
  EXPECT_RAISES(
      WritePldImage(changed([](PldImage& i) { i.languages[1].englishName.assign(70000, 'x'); })),
      PldImageError, "languages[1].englishName: text is longer than 65535 characters");
  EXPECT_RAISES(WritePldImage(changed([](PldImage& i) { i.languages[1].extra.assign(65535, 0); })),
                PldImageError, "languages[1]: the record takes 65587 bytes, more than 65535");
  EXPECT_RAISES(WritePldImage(changed([](PldImage& i) { i.textCodePage = 12345; })), PldImageError,
                "textCodePage: code page 12345 is not installed");
  EXPECT_RAISES(WritePldImage(changed([](PldImage& i) { i.version = 256; })), PldImageError,
                "version: 256 does not fit in 8 bits");
}

TEST(PldImageTest, TextsGoInTheCodePageOfTheirField) {
  const support::FixedSystem system;
  PldImage image = support::SampleImage();
  image.locales.clear();
  image.languages[0].codePage = 1251;
  image.languages[0].nativeName = "Английский";
  image.languages[1].englishName = "Немецкий";  // text code page: language 0's
  EXPECT_EQ(EffectiveTextCodePage(image), 1251);
  EXPECT_EQ(ParsePldImage(WritePldImage(image)).languages[1].englishName, "Немецкий");
  image.textCodePage = 1252;
  EXPECT_RAISES(WritePldImage(image), platform::Exception,
                "languages[1].englishName: \"Немецкий\" cannot be written in code page 1252");
  image.languages.clear();
  image.textCodePage = 0;
  EXPECT_EQ(EffectiveTextCodePage(image), 1252);
}

TEST(PldImageTest, VariantsGoAndComeBackWithTheirTranslationInEveryLayout) {
  const support::FixedSystem system;
  for (const auto& [version, utf16] : {std::pair{2, false}, {3, true}, {3, false}}) {
    PldImage image = support::PluralImage();
    image.version = version;
    image.utf16 = utf16;
    const Bytes bytes = WritePldImage(image);
    EXPECT_EQ(ParsePldImage(bytes), KeptBy(image));
    // Sorting moves the translation; its variants move with it.
    const PldImage sorted = ParsePldImage(WritePldImageInKeyOrder(image));
    EXPECT_EQ(std::count_if(sorted.translations.begin(), sorted.translations.end(),
                            [](const PldTranslation& t) { return !t.variants.empty(); }),
              1);
  }
}

TEST(PldImageTest, RefusesVariantsThatDoNotFit) {
  const support::FixedSystem system;
  PldImage image = support::PluralImage();
  image.version = 1;
  EXPECT_RAISES(WritePldImage(image), PldImageError, "version 1 images carry no variants");
  image = support::PluralImage();
  image.translations[4].variants[1].texts.pop_back();
  EXPECT_RAISES(WritePldImage(image), PldImageError,
                "translations[4].variants[1]: 2 texts for 3 languages");
  // A record whose keys no translation has, and one of an unknown kind.
  image = support::PluralImage();
  const Bytes bytes = WritePldImage(image);
  const std::uint32_t at = SectionOffset(bytes, PldSection::Fourth);
  Bytes otherKeys = bytes;
  otherKeys[at + 4] = 'X';
  EXPECT_RAISES(ParsePldImage(otherKeys), PldImageError,
                "variants[0]: no translation has its keys");
  Bytes unknownKind = bytes;
  unknownKind[at + 2 + 9 + 11 + 12] = 7;
  EXPECT_RAISES(ParsePldImage(unknownKind), PldImageError,
                "variants[0].kind: 7 is neither 1 (plural) nor 2 (choice)");
}

TEST(PldImageTest, ParsingNamesTheRecordThatDoesNotFit) {
  const support::FixedSystem system;
  const Bytes bytes = WritePldImage(support::SampleImage());
  EXPECT_RAISES(ParsePldImage(Bytes(bytes.begin(), bytes.begin() + 41)), platform::Exception,
                "header: the image is shorter than 42 bytes");
  Bytes lower = bytes;
  lower[0] = 'p';
  EXPECT_RAISES(ParsePldImage(lower), platform::Exception,
                "header: the image does not start with \"PLD\"");
  const Bytes cut(bytes.begin(), bytes.begin() + 60);
  EXPECT_RAISES(ParsePldImage(cut), platform::Exception,
                "languages[0].flags: the image ends at byte 60");
  Bytes shortRecord = bytes;
  shortRecord[42] = 4;
  shortRecord[43] = 0;
  EXPECT_RAISES(ParsePldImage(shortRecord), platform::Exception,
                "languages[0]: record length 4 is less than the 40 bytes of its fields");
  Bytes noLanguages = bytes;
  SetSectionOffset(noLanguages, PldSection::Languages, 0);
  EXPECT_RAISES(ParsePldImage(noLanguages), platform::Exception,
                "languages: the section's offset is 0");
}

// ---- Key order

std::vector<std::string> Natives(const PldImage& image) {
  std::vector<std::string> natives;
  for (const PldTranslation& translation : image.translations)
    natives.push_back(translation.texts[0] + "|" + translation.context + "|" + translation.id);
  return natives;
}

PldImage WithKeys(int contentFlags, std::vector<PldTranslation> translations) {
  PldImage image = support::SampleImage();
  image.contentFlags = contentFlags;
  for (PldTranslation& translation : translations)
    translation.texts.resize(image.languages.size());
  image.translations = std::move(translations);
  return image;
}

TEST(PldImageTest, SortsTranslationsByTheBytesTheReaderCompares) {
  const support::FixedSystem system;
  // In code page 1252 the euro sign (0x80) comes before e-acute (0xE9), unlike in UTF-8.
  PldImage image = WithKeys(0, {{{"\u00E9"}, "", ""}, {{"Z"}, "", ""}, {{"\u20AC"}, "", ""}});
  SortTranslationsByKey(image);
  EXPECT_EQ(Natives(image), (std::vector<std::string>{"Z||", "\u20AC||", "\u00E9||"}));

  // With key strings character 127 ends the native text: "Open~" before "Open" and a context.
  const std::vector<PldTranslation> keyed = {
      {{"Open"}, "A", "2"}, {{"Open~"}, "", ""}, {{"Open"}, "A", "1"}, {{"Open"}, "", "3"}};
  image = WithKeys(1, keyed);
  SortTranslationsByKey(image);
  EXPECT_EQ(Natives(image),
            (std::vector<std::string>{"Open~||", "Open||3", "Open|A|1", "Open|A|2"}));
  image = WithKeys(0, {keyed[1], {{"Open"}, "", ""}});
  SortTranslationsByKey(image);
  EXPECT_EQ(Natives(image), (std::vector<std::string>{"Open||", "Open~||"}));
}

TEST(PldImageTest, RecordsSharingAKeyKeepTheWholeOrder) {
  const support::FixedSystem system;
  // Only the id tells these apart, and an image with flags 3 carries none.
  const std::vector<PldTranslation> translations = {
      {{"Save"}, "B", ""}, {{"Open"}, "A", ""}, {{"Save"}, "B", ""}};
  PldImage image = WithKeys(3, translations);
  SortTranslationsByKey(image);
  EXPECT_EQ(image.translations, WithKeys(3, translations).translations);
  // Without key strings the context is no part of the key either.
  image = WithKeys(0, {{{"b"}, "", ""}, {{"a"}, "", ""}, {{"b"}, "", ""}});
  SortTranslationsByKey(image);
  EXPECT_EQ(Natives(image), (std::vector<std::string>{"b||", "a||", "b||"}));
}

TEST(PldImageTest, WrittenInKeyOrderAnErrorNamesTheRecordAsGiven) {
  const support::FixedSystem system;
  PldImage image = WithKeys(0, {{{"b"}, "", ""}, {{"c"}, "", ""}, {{"a"}, "", ""}});
  PldImage sorted = image;
  SortTranslationsByKey(sorted);
  EXPECT_EQ(WritePldImageInKeyOrder(image), WritePldImage(sorted));
  image.translations[1].texts.pop_back();
  EXPECT_RAISES(WritePldImageInKeyOrder(image), platform::Exception,
                "translations[1]: 2 texts for 3 languages");
}

}  // namespace
}  // namespace lx::tools

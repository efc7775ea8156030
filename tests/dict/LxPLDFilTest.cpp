#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "dict/LxPLDFil.h"
#include "framework/core/Strings.h"
#include "platform/Exception.h"
#include "support/FixedSystem.h"
#include "support/PldImages.h"
#include "support/Raised.h"
#include "support/TempFolder.h"

namespace lx::dict {
namespace {

using Bytes = std::vector<std::uint8_t>;
using lang::TLxTranslation;
using tools::PldImage;
using tools::PldSection;

std::unique_ptr<TLxPLDFile> Open(const Bytes& bytes) {
  auto file = std::make_unique<TLxPLDFile>();
  file->OpenStream(support::ImageStream(bytes));
  return file;
}

std::unique_ptr<TLxPLDFile> Open(const PldImage& image) {
  return Open(tools::WritePldImage(image));
}

struct TranslationResult {
  std::uint8_t state;
  std::string native;
  std::string translation;
};

std::vector<TranslationResult> AllTranslations(TLxPLDFile& file, int active, int fallback,
                                               int codePage) {
  std::vector<TranslationResult> results;
  file.SeekTranslations();
  for (int i = 0; i < file.TranslationCount(); ++i) {
    TLxTranslation translation;
    translation.Translation = "(none)";
    const std::uint8_t state = file.ReadTranslation(translation, active, fallback, codePage);
    EXPECT_EQ(state, translation.State);
    results.push_back({state, translation.Native, translation.Translation});
  }
  return results;
}

// ---- Every layout reads alike

class LxPLDFileLayoutTest : public testing::TestWithParam<std::tuple<int, bool, bool>> {
 protected:
  PldImage Image() const {
    PldImage image = support::SampleImage();
    std::tie(image.version, image.bigEndian, image.utf16) = GetParam();
    image.locales[0].charset = 161;
    return image;
  }
  const support::FixedSystem system_;
};

TEST_P(LxPLDFileLayoutTest, ReadsLanguagesTranslationsAndLocales) {
  const PldImage image = Image();
  const auto file = Open(image);
  EXPECT_EQ(file->Version(), image.version);
  EXPECT_EQ(file->LittleEndian(), !image.bigEndian);
  EXPECT_EQ(file->AnsiStrings(), !image.utf16);
  EXPECT_EQ(file->ContentFlags(), 1);
  EXPECT_TRUE(file->HasContext());
  EXPECT_TRUE(file->HasId());
  EXPECT_EQ(file->LanguageCount(), 3);
  EXPECT_EQ(file->TranslationCount(), 4);
  EXPECT_EQ(file->LocaleCount(), 1);

  file->SeekLanguages();
  const lang::TLxLanguage& native = file->ReadLanguage();
  EXPECT_EQ(native.PrimaryLanguage, 0);
  EXPECT_EQ(native.EnglishName, "Native");
  EXPECT_EQ(native.IsoLanguageName, "");
  const lang::TLxLanguage& german = file->ReadLanguage();
  EXPECT_EQ(german.PrimaryLanguage, 7);
  EXPECT_EQ(german.SubLanguage, 3);
  EXPECT_EQ(german.GetSubLanguagesText(), "3,1");
  EXPECT_EQ(german.SubLanguageCodes.CommaText(), image.version >= 2 ? "AT,DE" : "");
  EXPECT_EQ(german.IsoLanguageName, "de");
  EXPECT_EQ(german.IsoCountryName, "AT");
  EXPECT_EQ(german.CodePage, 1252);
  EXPECT_EQ(german.Flags, lang::TLxLanguageFlags{lang::lfUser});
  EXPECT_EQ(german.NativeName, "Deutsch");
  EXPECT_EQ(german.FontName, "Arial");
  EXPECT_EQ(german.FontSize, 9);
  const lang::TLxLanguage& russian = file->ReadLanguage();
  EXPECT_EQ(russian.PrimaryLanguage, 25);
  EXPECT_EQ(russian.NativeName, "\xD0\xF3\xF1\xF1\xEA\xE8\xE9");  // in code page 1251
  EXPECT_EQ(russian.Charset, 204);                                // from the code page

  const auto texts = AllTranslations(*file, 1, 2, 1252);
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0].translation,
            "\xD6"
            "ffnen");
  EXPECT_EQ(texts[3].state, TLxTranslation::kFallbackText);

  const lang::TLxLocale* locale = file->ReadLocaleAt(0);
  ASSERT_NE(locale, nullptr);
  EXPECT_EQ(locale->LocaleId(), 0x0C07);
  EXPECT_EQ(locale->Charset, image.version >= 3 ? 161 : 0);
  EXPECT_EQ(locale->NativeCountryName, "\xD6sterreich");
  EXPECT_EQ(locale->CurrencyString, "\x80");
  EXPECT_EQ(locale->DecimalSeparator, ',');
  EXPECT_EQ(locale->TimeSeparator, ':');
  EXPECT_EQ(locale->ListSeparator, '\0');
  EXPECT_TRUE(locale->HourLeadingZero);
  EXPECT_EQ(locale->FirstWeekOfYear, 2);
  EXPECT_EQ(locale->LongMonthNames[0], "J\xE4nner");
  EXPECT_EQ(locale->LongDayNames[6], "Sonntag");
}

INSTANTIATE_TEST_SUITE_P(VersionsOrdersWidths, LxPLDFileLayoutTest,
                         testing::Combine(testing::Values(0, 1, 2, 3, 7), testing::Bool(),
                                          testing::Bool()));

// ---- Header

TEST(LxPLDFileTest, RejectsAnotherSignatureAndAShortHeader) {
  Bytes bytes = tools::WritePldImage(support::SampleImage());
  Bytes lower = bytes;
  lower[0] = 'p';
  lower[1] = 'l';
  lower[2] = 'd';
  EXPECT_RAISES(Open(lower), platform::Exception, "The stream is not a valid PLD stream");
  EXPECT_RAISES(Open(Bytes(bytes.begin(), bytes.begin() + 41)), platform::Exception,
                "Stream read error");
  EXPECT_RAISES(Open(Bytes{}), platform::Exception, "Stream read error");
}

TEST(LxPLDFileTest, Version1TakesTheStringWidthFromByte7AndHasNoFourthSection) {
  const support::FixedSystem system;
  PldImage image = support::SampleImage();
  image.version = 1;
  Bytes bytes = tools::WritePldImage(image);
  EXPECT_EQ(bytes[5], 0);
  EXPECT_EQ(bytes[7], 1);
  tools::SetSectionCount(bytes, PldSection::Fourth, 9);
  tools::SetSectionOffset(bytes, PldSection::Fourth, 1234);
  auto file = Open(bytes);
  EXPECT_TRUE(file->AnsiStrings());
  EXPECT_EQ(file->Header().StringWidth, 0);
  EXPECT_EQ(file->Header().FourthCount, 0);
  EXPECT_EQ(file->Header().FourthOffset, 0u);
  EXPECT_EQ(file->ReadLanguageAt(1)->NativeName, "Deutsch");

  // Later versions keep the fourth pair, swapped like the others.
  image.version = 2;
  image.bigEndian = true;
  bytes = tools::WritePldImage(image);
  tools::SetSectionCount(bytes, PldSection::Fourth, 9);
  tools::SetSectionOffset(bytes, PldSection::Fourth, 1234);
  file = Open(bytes);
  EXPECT_EQ(file->Header().FourthCount, 9);
  EXPECT_EQ(file->Header().FourthOffset, 1234u);
}

TEST(LxPLDFileTest, BigEndianImagesSwapCountsOffsetsAndUnits) {
  const support::FixedSystem system;
  PldImage image = support::SampleImage();
  image.bigEndian = true;
  image.utf16 = true;
  image.translations = {{{"A", "B", "C"}, "", ""}};
  const Bytes bytes = tools::WritePldImage(image);
  EXPECT_EQ(bytes[12], 0x00);
  EXPECT_EQ(bytes[13], 0x03);
  auto file = Open(bytes);
  EXPECT_EQ(file->LanguageCount(), 3);
  EXPECT_EQ(file->Header().LanguageOffset, 42u);
  // The native text starts the translation section: count 00 01, unit 00 41.
  const std::uint32_t at = tools::SectionOffset(bytes, PldSection::Translations);
  EXPECT_EQ(Bytes(bytes.begin() + at, bytes.begin() + at + 4), (Bytes{0, 1, 0, 0x41}));
  file->SeekTranslations();
  TLxTranslation translation;
  EXPECT_EQ(file->ReadTranslation(translation, 2, 1, 1252), TLxTranslation::kActiveText);
  EXPECT_EQ(translation.Native, "A");
  EXPECT_EQ(translation.Translation, "C");
}

// ---- Language records

TEST(LxPLDFileTest, SkipsWhatARecordHoldsBeyondItsKnownFields) {
  const support::FixedSystem system;
  PldImage image = support::SampleImage();
  image.languages[1].extra.assign(10, 0xEE);
  image.locales.push_back(image.locales[0]);
  image.locales[0].extra.assign(10, 0xEE);
  image.locales[1].primaryLanguage = 9;
  image.locales[1].subLanguage = 1;
  const Bytes bytes = tools::WritePldImage(image);
  image.languages[1].extra.clear();
  const Bytes plain = tools::WritePldImage(image);
  EXPECT_EQ(bytes.size(), plain.size() + 10);

  auto file = Open(bytes);
  file->SeekLanguages();
  file->ReadLanguage();
  EXPECT_EQ(file->ReadLanguage().NativeName, "Deutsch");
  EXPECT_EQ(file->ReadLanguage().PrimaryLanguage, 25);
  EXPECT_EQ(AllTranslations(*file, 1, 0, 1252)[1].translation, "Abbrechen");
  EXPECT_EQ(file->ReadLocaleAt(1)->LocaleId(), 0x0409);
}

TEST(LxPLDFileTest, CharacterSetFollowsTheCodePageInEveryVersion) {
  const support::FixedSystem system;
  for (const int version : {2, 3}) {
    PldImage image = support::SampleImage();
    image.version = version;
    const auto file = Open(image);
    // The image stores 77 for Russian from version 3 on; the code page decides.
    EXPECT_EQ(file->ReadLanguageAt(2)->Charset, 204) << version;
  }
}

TEST(LxPLDFileTest, IsoCodesOfNulsAndOfALetterAndNul) {
  const support::FixedSystem system;
  for (const bool utf16 : {false, true}) {
    PldImage image = support::SampleImage();
    image.utf16 = utf16;
    // A language the system does not know, so that nothing fills the codes in.
    image.languages[1].primaryLanguage = 0x200;
    image.languages[1].subLanguages = "";
    image.languages[1].isoLanguage = std::string("\0\0", 2);
    image.languages[1].isoCountry = std::string("A\0", 2);
    image.languages[2].primaryLanguage = 0x201;
    image.languages[2].isoLanguage = std::string("\0B", 2);
    image.languages[2].isoCountry = "X";
    const auto file = Open(image);
    file->SeekLanguages();
    EXPECT_EQ(file->ReadLanguage().IsoLanguageName, "");
    const lang::TLxLanguage& first = file->ReadLanguage();
    EXPECT_EQ(first.IsoLanguageName, "") << utf16;
    EXPECT_EQ(first.IsoCountryName, utf16 ? std::string("A") : std::string("A\0", 2)) << utf16;
    const lang::TLxLanguage& second = file->ReadLanguage();
    EXPECT_EQ(second.IsoLanguageName, "") << utf16;
    EXPECT_EQ(second.IsoCountryName, utf16 ? std::string("X") : std::string("X\0", 2)) << utf16;
  }
}

TEST(LxPLDFileTest, TheCountryCodeGoesWithAZeroSubLanguage) {
  const support::FixedSystem system;
  PldImage image = support::SampleImage();
  image.languages[1].primaryLanguage = 0x200;
  image.languages[1].subLanguage = 0;
  image.languages[1].subLanguages = "";
  image.languages[1].isoLanguage = "xx";
  image.languages[1].isoCountry = "YY";
  const auto file = Open(image);
  const lang::TLxLanguage* language = file->ReadLanguageAt(1);
  EXPECT_EQ(language->IsoLanguageName, "xx");
  EXPECT_EQ(language->IsoCountryName, "");
  EXPECT_EQ(language->SubLanguage, 1);
}

TEST(LxPLDFileTest, EveryLanguageStartsFromAnEmptyRecord) {
  const support::FixedSystem system;
  const auto file = Open(support::SampleImage());
  file->SeekLanguages();
  file->ReadLanguage();
  lang::TLxLanguage& german = file->ReadLanguage();
  EXPECT_EQ(german.LocaleSubLanguage, 3);
  german.EnglishName = "changed by the caller";
  const lang::TLxLanguage& russian = file->ReadLanguage();
  EXPECT_EQ(russian.LocaleSubLanguage, 1);
  EXPECT_EQ(russian.SubLanguageCount(), 0);
  EXPECT_EQ(russian.FontName, "");
  EXPECT_EQ(russian.EnglishName, "Russian");
  EXPECT_EQ(file->ReadLanguageAt(1)->EnglishName, "German");
  EXPECT_EQ(file->ReadLanguageAt(-1), nullptr);
}

TEST(LxPLDFileTest, TextsOfTheSystemCodePageInUtf16Images) {
  const support::FixedSystem system;
  PldImage image = support::SampleImage();
  image.utf16 = true;
  image.languages[1].englishName = "Germ\xC3\xA4n";  // ä, 0xE4 in 1252
  image.languages[1].fontName = std::string("Ar\0ial", 6);
  image.locales[0].codePage = 1251;
  image.locales[0].nativeLanguageName = "\xD0\x9D";  // Cyrillic Н, 0xCD in 1251
  image.locales[0].dateSeparator = "";
  const auto file = Open(image);
  const lang::TLxLanguage* german = file->ReadLanguageAt(1);
  EXPECT_EQ(german->EnglishName, "Germ\xE4n");
  EXPECT_EQ(german->FontName, "Ar");  // a UTF-16 text ends at its first NUL
  const lang::TLxLocale* locale = file->ReadLocaleAt(0);
  EXPECT_EQ(locale->NativeLanguageName, "\xCD");
  EXPECT_EQ(locale->DateSeparator, '\0');
}

// ---- Translations

TEST(LxPLDFileTest, ActiveTextFirstThenFallbackElseNone) {
  const support::FixedSystem system;
  const auto file = Open(support::SampleImage());
  // Russian active, German as fallback.
  auto texts = AllTranslations(*file, 2, 1, 1251);
  EXPECT_EQ(texts[0].state, TLxTranslation::kActiveText);
  EXPECT_EQ(texts[0].translation, "\xCE\xF2\xEA\xF0\xFB\xF2\xFC");
  EXPECT_EQ(texts[1].state, TLxTranslation::kFallbackText);
  EXPECT_EQ(texts[1].translation, "Abbrechen");
  EXPECT_EQ(texts[2].state, TLxTranslation::kNoText);
  EXPECT_EQ(texts[2].native, "OK");
  EXPECT_EQ(texts[2].translation, "(none)");
  EXPECT_EQ(texts[3].state, TLxTranslation::kActiveText);

  // The same index for both fills only the active text; index 0 never matches.
  texts = AllTranslations(*file, 1, 1, 1252);
  EXPECT_EQ(texts[1].state, TLxTranslation::kActiveText);
  EXPECT_EQ(texts[3].state, TLxTranslation::kNoText);
  texts = AllTranslations(*file, 0, 0, 1252);
  for (const auto& text : texts)
    EXPECT_EQ(text.state, TLxTranslation::kNoText);
}

TEST(LxPLDFileTest, KeysFollowTheContentFlags) {
  const support::FixedSystem system;
  const std::pair<int, std::pair<std::string, std::string>> cases[] = {
      {0, {"", ""}},
      {1, {"TMainForm", "OpenButton.Caption"}},
      {2, {"", "OpenButton.Caption"}},
      {3, {"TMainForm", ""}}};
  for (const auto& [flags, keys] : cases) {
    PldImage image = support::SampleImage();
    image.contentFlags = flags;
    for (auto& translation : image.translations) {
      if (flags == 0 || flags == 2) translation.context.clear();
      if (flags == 0 || flags == 3) translation.id.clear();
    }
    const auto file = Open(image);
    file->SeekTranslations();
    TLxTranslation translation;
    translation.Context = "stale";
    translation.Id = "stale";
    file->ReadTranslation(translation, 1, 0, 1252);
    EXPECT_EQ(translation.Context, keys.first) << flags;
    EXPECT_EQ(translation.Id, keys.second) << flags;
    EXPECT_EQ(translation.Translation,
              "\xD6"
              "ffnen")
        << flags;
  }
}

// A language switch notes where each record's texts start and comes back there for
// another language, in any order, UTF-16 images too.
TEST(LxPLDFileTest, TextsReadAgainFromWhereTheKeysEnded) {
  const support::FixedSystem system;
  for (const bool utf16 : {false, true}) {
    PldImage image = support::SampleImage();
    image.utf16 = utf16;
    const auto file = Open(image);
    const auto russian = AllTranslations(*file, 2, 1, 1251);
    std::vector<std::int64_t> textsAt;
    file->SeekTranslations();
    TLxTranslation translation;
    for (int i = 0; i < file->TranslationCount(); ++i) {
      file->ReadTranslationKeys(translation);
      EXPECT_EQ(translation.Native, russian[static_cast<std::size_t>(i)].native);
      textsAt.push_back(file->Position());
      file->ReadTranslationTexts(translation.Translation, 1, 0, 1252);
    }
    for (int i = file->TranslationCount() - 1; i >= 0; --i) {
      const auto& expected = russian[static_cast<std::size_t>(i)];
      std::string text = "(none)";
      file->SeekTexts(textsAt[static_cast<std::size_t>(i)]);
      EXPECT_EQ(file->ReadTranslationTexts(text, 2, 1, 1251), expected.state) << i;
      EXPECT_EQ(text, expected.translation) << i;
      // Appended, as a switch collects them; nothing when the record has neither text.
      std::string appended = "x";
      file->SeekTexts(textsAt[static_cast<std::size_t>(i)]);
      EXPECT_EQ(file->AppendTranslationTexts(appended, 2, 1, 1251), expected.state) << i;
      EXPECT_EQ(appended,
                expected.state == TLxTranslation::kNoText ? "x" : "x" + expected.translation)
          << i;
    }
    EXPECT_RAISES(file->SeekTexts(file->Size() + 1), platform::Exception, "Stream read error");
    EXPECT_RAISES(file->SeekTexts(-1), platform::Exception, "Stream read error");
    file->SeekTexts(file->Size());
    EXPECT_RAISES(file->ReadTranslationTexts(translation.Translation, 1, 0, 1252),
                  platform::Exception, "Stream read error");
  }
}

TEST(LxPLDFileTest, OneLanguageLeavesEveryRecordWithoutText) {
  const support::FixedSystem system;
  PldImage image = support::SampleImage();
  image.languages.resize(1);
  image.translations = {{{"Open"}, "", ""}, {{"Close"}, "", ""}};
  const auto file = Open(image);
  for (const auto& text : AllTranslations(*file, 1, 0, 1252))
    EXPECT_EQ(text.state, TLxTranslation::kNoText);
}

TEST(LxPLDFileTest, RawTranslationsKeepTheBytes) {
  const support::FixedSystem system;
  PldImage image = support::SampleImage();
  const auto file = Open(image);
  file->SeekTranslations();
  framework::TStringList texts;
  std::string context, id;
  file->ReadRawTranslation(texts, context, id);
  EXPECT_EQ(texts.CommaText(),
            "Open,\xD6"
            "ffnen,\xCE\xF2\xEA\xF0\xFB\xF2\xFC");
  EXPECT_EQ(context, "TMainForm");
  EXPECT_EQ(id, "OpenButton.Caption");
  file->ReadRawTranslation(texts, context, id);
  EXPECT_EQ(texts.Count(), 6);
  EXPECT_EQ(texts.Strings(5), "");

  image.contentFlags = 0;
  for (auto& translation : image.translations)
    translation.context = translation.id = "";
  const auto plain = Open(image);
  plain->SeekTranslations();
  context = id = "kept";
  plain->ReadRawTranslation(texts, context, id);
  EXPECT_EQ(context, "kept");
  EXPECT_EQ(id, "kept");
}

// ---- Sections

TEST(LxPLDFileTest, SectionsWithoutOffsetOrLocales) {
  const support::FixedSystem system;
  PldImage image = support::SampleImage();
  Bytes bytes = tools::WritePldImage(image);
  tools::SetSectionOffset(bytes, PldSection::Languages, 0);
  tools::SetSectionOffset(bytes, PldSection::Translations, 0);
  tools::SetSectionOffset(bytes, PldSection::Locales, 0);
  const auto file = Open(bytes);
  EXPECT_RAISES(file->SeekLanguages(), platform::Exception, "Invalid language offset");
  EXPECT_RAISES(file->ReadLanguageAt(0), platform::Exception, "Invalid language offset");
  EXPECT_RAISES(file->SeekTranslations(), platform::Exception, "Invalid translation offset");
  EXPECT_RAISES(file->SeekLocales(), platform::Exception, "Invalid locale offset");

  image.locales.clear();
  bytes = tools::WritePldImage(image);
  tools::SetSectionOffset(bytes, PldSection::Locales, 42);
  const auto noLocales = Open(bytes);
  EXPECT_RAISES(noLocales->SeekLocales(), platform::Exception, "No custom locales");
  EXPECT_RAISES(noLocales->ReadLocaleAt(0), platform::Exception, "No custom locales");
}

TEST(LxPLDFileTest, OpensFilesAndNeedsALanguageSection) {
  const support::FixedSystem system;
  const support::TempFolder folder;
  const auto write = [&](const std::string& name, const Bytes& bytes) {
    const std::string path = (folder.Path() / name).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    return path;
  };
  Bytes bytes = tools::WritePldImage(support::SampleImage());
  TLxPLDFile file;
  file.OpenFile(write("good.pld", bytes));
  EXPECT_EQ(file.ReadLanguage().PrimaryLanguage, 0);  // left at the language section
  EXPECT_EQ(file.ReadLanguage().PrimaryLanguage, 7);

  tools::SetSectionOffset(bytes, PldSection::Languages, 0);
  const std::string noLanguages = write("bad.pld", bytes);
  EXPECT_RAISES(TLxPLDFile().OpenFile(noLanguages), platform::Exception, "Invalid language offset");
  const std::string missing = (folder.Path() / "missing.pld").string();
  EXPECT_RAISES(TLxPLDFile().OpenFile(missing), platform::Exception,
                "Cannot open file \"" + missing + "\". No such file or directory");
}

// ---- Bad input

// Reads every record of every section, as the dictionaries do.
void ReadEverything(const Bytes& bytes) {
  const auto file = Open(bytes);
  file->SeekLanguages();
  for (int i = 0; i < file->LanguageCount(); ++i)
    file->ReadLanguage();
  TLxTranslation translation;
  for (const int active : {1, file->LanguageCount() - 1}) {  // the last text read or passed over
    file->SeekTranslations();
    for (int i = 0; i < file->TranslationCount(); ++i)
      file->ReadTranslation(translation, active, 2, 1252);
  }
  // Raw reading is meant for 8-bit images only.
  if (file->AnsiStrings()) {
    file->SeekTranslations();
    framework::TStringList texts;
    std::string context, id;
    for (int i = 0; i < file->TranslationCount(); ++i)
      file->ReadRawTranslation(texts, context, id);
  }
  if (file->LocaleCount() > 0) file->ReadLocaleAt(file->LocaleCount() - 1);
}

TEST(LxPLDFileTest, AnImageCutAtAnyByteRaisesTheReadError) {
  const support::FixedSystem system;
  for (const bool utf16 : {false, true}) {
    PldImage image = support::SampleImage();
    image.utf16 = utf16;
    const Bytes bytes = tools::WritePldImage(image);
    EXPECT_NO_THROW(ReadEverything(bytes));
    for (std::size_t size = 0; size < bytes.size(); ++size) {
      const Bytes cut(bytes.begin(), bytes.begin() + static_cast<long>(size));
      EXPECT_RAISES(ReadEverything(cut), platform::Exception, "Stream read error")
          << "cut at " << size << (utf16 ? " (UTF-16)" : "");
    }
  }
}

// A file cut short by another program after it was opened: the stream still reports the
// old size but reads end at the cut.
class TCutStream : public framework::TStream {
 public:
  TCutStream(Bytes bytes, std::size_t cut) : bytes_(std::move(bytes)), cut_(cut) {}
  std::int64_t Read(void* buffer, std::int64_t count) override {
    const auto available = static_cast<std::int64_t>(cut_) - position_;
    const std::int64_t got =
        std::clamp<std::int64_t>(count, 0, std::max<std::int64_t>(available, 0));
    std::memcpy(buffer, bytes_.data() + position_, static_cast<std::size_t>(got));
    position_ += got;
    return got;
  }
  std::int64_t Write(const void*, std::int64_t) override { return 0; }
  std::int64_t Seek(std::int64_t offset, framework::TSeekOrigin origin) override {
    const std::int64_t base = origin == framework::TSeekOrigin::soBeginning ? 0
                              : origin == framework::TSeekOrigin::soCurrent
                                  ? position_
                                  : static_cast<std::int64_t>(bytes_.size());
    position_ = std::max<std::int64_t>(base + offset, 0);
    return position_;
  }

 private:
  Bytes bytes_;
  std::size_t cut_;
  std::int64_t position_ = 0;
};

// Records across several of the reader's windows, each with a text passed over: wherever
// the file ends early, reading ends with the read error.
TEST(LxPLDFileTest, AFileCutAfterOpeningRaisesTheReadError) {
  PldImage image = support::SampleImage();
  image.locales.clear();
  image.languages.resize(3);
  image.translations.clear();
  for (int i = 0; i < 400; ++i) {
    const std::string n = std::to_string(i);
    image.translations.push_back(
        {{"w" + n, "es" + std::string(90, 'e'), "de" + std::string(140 + i % 50, 'd')}, "", ""});
  }
  const Bytes bytes = tools::WritePldImage(image);
  ASSERT_GT(bytes.size(), 65536u + 500u);
  // The records read up to the error, and the error.
  const auto readAll = [&](std::size_t cut, std::vector<std::string>& texts) {
    TLxPLDFile file;
    file.OpenStream(std::make_unique<TCutStream>(bytes, cut));
    file.SeekTranslations();
    TLxTranslation translation;
    for (int i = 0; i < file.TranslationCount(); ++i) {
      file.ReadTranslation(translation, 1, 0, 1252);
      texts.push_back(translation.Native + "=" + translation.Translation);
    }
  };
  std::vector<std::string> whole;
  ASSERT_NO_THROW(readAll(bytes.size(), whole));
  for (std::size_t cut = 65536 - 500; cut < 65536 + 500; ++cut) {
    std::vector<std::string> texts;
    EXPECT_RAISES(readAll(cut, texts), platform::Exception, "Stream read error")
        << "cut at " << cut;
    ASSERT_EQ(texts, std::vector<std::string>(whole.begin(), whole.begin() + texts.size()))
        << "cut at " << cut;
  }
}

TEST(LxPLDFileTest, CountsLargerThanTheRecordsEndWithTheReadError) {
  const support::FixedSystem system;
  Bytes bytes = tools::WritePldImage(support::SampleImage());
  for (const PldSection section :
       {PldSection::Languages, PldSection::Translations, PldSection::Locales}) {
    Bytes large = bytes;
    tools::SetSectionCount(large, section, 65535);
    EXPECT_RAISES(ReadEverything(large), platform::Exception, "Stream read error");
  }
  // Offsets past the end, and a record length that runs past it.
  tools::SetSectionOffset(bytes, PldSection::Translations, 0xFFFFFFF0u);
  EXPECT_RAISES(ReadEverything(bytes), platform::Exception, "Stream read error");
}

TEST(LxPLDFileTest, TextsLongerThanTheImageAllocateNothing) {
  const support::FixedSystem system;
  PldImage image = support::SampleImage();
  image.languages.resize(1);
  image.translations = {{{"Open"}, "", ""}};
  Bytes bytes = tools::WritePldImage(image);
  const std::uint32_t at = tools::SectionOffset(bytes, PldSection::Translations);
  bytes[at] = 0xFF;
  bytes[at + 1] = 0xFF;
  const auto file = Open(bytes);
  file->SeekTranslations();
  TLxTranslation translation;
  EXPECT_RAISES(file->ReadTranslation(translation, 1, 0, 1252), platform::Exception,
                "Stream read error");
  EXPECT_EQ(translation.Native.capacity() < 1000, true);
}

TEST(LxPLDFileTest, AStreamOfTheWrongKindOfDataIsRefused) {
  EXPECT_RAISES(TLxPLDFile file;
                file.OpenStream(nullptr), platform::Exception, "Stream read error");
  const Bytes text(100, 'x');
  EXPECT_RAISES(Open(text), platform::Exception, "The stream is not a valid PLD stream");
}

TEST(LxPLDFileTest, ASubLanguageListThatIsNoListRaisesTheConversionError) {
  const support::FixedSystem system;
  PldImage image = support::SampleImage();
  image.languages[1].subLanguages = ",3";
  const auto file = Open(image);
  EXPECT_RAISES(file->ReadLanguageAt(1), platform::Exception, "'' is not a valid integer value");
}

}  // namespace
}  // namespace lx::dict

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "EmbeddedForms.h"
#include "dict/LxAPoly.h"
#include "framework/controls/Dialogs.h"
#include "lang/LxDictionaries.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "support/FixedSystem.h"
#include "support/Raised.h"
#include "support/TempFolder.h"

namespace lx::dict {
namespace {

namespace fs = std::filesystem;

// A file dictionary whose table is given in code: every load copies `entries`.
class TTableDictionary : public TLxCustomFileDictionary {
 public:
  struct Entry {
    std::string native, context, id, translation;
  };

  TTableDictionary() : TLxCustomFileDictionary(nullptr) {}

  int GetLanguageCount() override { return 2; }
  void GetLanguage(int index, lang::TLxLanguage& dest) override {
    dest.Assign(lang::TLxLanguage(index == 0 ? 0 : 10, 1, 1252, "", "", "", "", 0, {}));
    dest.Validate();
  }
  int GetLocaleCount() override { return 0; }
  void GetLocale(int, lang::TLxLocale&) override {}

  using TLxCustomDictionary::Change;

  std::vector<Entry> entries;
  bool keys = false;
  int loads = 0;

 protected:
  void LoadTranslations() override {
    ++loads;
    ClearTranslations();
    lang::TLxTranslation record;
    for (const Entry& entry : entries) {
      record.Native = entry.native;
      record.Context = entry.context;
      record.Id = entry.id;
      record.Translation = entry.translation;
      TranslationTable().Add(record);
    }
    SetContextKeys(keys);
    SortTranslations();
  }
};

class LxAPolyTest : public ::testing::Test {
 protected:
  support::FixedSystem system_;
  TTableDictionary dictionary_;
};

TEST_F(LxAPolyTest, SortsAndLooksUpByNativeText) {
  dictionary_.entries = {{"Open", "", "", "Abrir"},
                         {"OK", "", "", "Aceptar"},
                         {"ok", "", "", "vale"},
                         {"Cancel", "", "", "Cancelar"}};
  dictionary_.Change(true, false);
  std::vector<std::string> order;
  lang::TLxTranslation entry;
  for (int i = 0; i < dictionary_.GetTranslationCount(); ++i) {
    dictionary_.TranslationAt(i, entry);
    order.push_back(entry.Native);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"Cancel", "OK", "Open", "ok"}));
  std::string value = "untouched";
  EXPECT_TRUE(dictionary_.TranslateWord("ok", value));
  EXPECT_EQ(value, "vale");
  EXPECT_FALSE(dictionary_.TranslateWord("Ok", value));
  EXPECT_EQ(value, "vale");
}

TEST_F(LxAPolyTest, KeyedLookUpTellsFormsApart) {
  dictionary_.keys = true;
  dictionary_.entries = {{"Save", "TFormA", "", "first"}, {"Save", "TFormB", "", "second"}};
  dictionary_.Change(true, false);
  std::string value;
  EXPECT_TRUE(dictionary_.Translate("Save", "TFormB", value, ""));
  EXPECT_EQ(value, "second");
  EXPECT_FALSE(dictionary_.Translate("Save", "TFormC", value, ""));
  EXPECT_GE(dictionary_.FindWord("Save"), 0);
  EXPECT_EQ(dictionary_.FindKey("Save", "TFormA", ""), dictionary_.FindKey("Save", "TFormA", ""));
}

TEST_F(LxAPolyTest, AnEmptyTableLeavesTheValueAlone) {
  std::string value = "untouched";
  EXPECT_FALSE(dictionary_.TranslateWord("Open", value));
  EXPECT_FALSE(dictionary_.Translate("Open", "TForm", value, "1"));
  EXPECT_EQ(value, "untouched");
}

TEST_F(LxAPolyTest, OnlyALanguageChangeReloadsTheTable) {
  dictionary_.Change(false, true);
  EXPECT_EQ(dictionary_.loads, 0);
  dictionary_.Change(true, false);
  dictionary_.Change(true, true);
  EXPECT_EQ(dictionary_.loads, 2);
}

TEST_F(LxAPolyTest, ResolvesBareNamesBesideTheExecutable) {
  support::TempFolder elsewhere;
  const fs::path before = fs::current_path();
  fs::current_path(elsewhere.Path());
  const std::string name = "lx-resolve-" + std::to_string(getpid()) + ".pld";
  const std::string beside =
      platform::ExtractFilePath(platform::ExecutablePath(), platform::kNativePathStyle) + name;
  std::ofstream(beside) << "x";

  dictionary_.SetFileName(name);
  EXPECT_EQ(dictionary_.FileName(), beside);
  EXPECT_EQ(dictionary_.StoredFileName(), beside);  // the resolution is kept
  dictionary_.SetFileName("sub/" + name);
  EXPECT_EQ(dictionary_.FileName(), "sub/" + name);

  std::ofstream(elsewhere.Text() + name) << "x";  // the current folder comes first
  dictionary_.SetFileName(name);
  EXPECT_EQ(dictionary_.FileName(), elsewhere.Text() + name);

  dictionary_.SetDesigning(true);
  dictionary_.SetFileName(name);
  EXPECT_EQ(dictionary_.FileName(), name);
  fs::current_path(before);
  fs::remove(beside);
}

TEST_F(LxAPolyTest, CanOpenDependsOnStorage) {
  EXPECT_FALSE(dictionary_.CanOpen());  // lxsFile without a name
  dictionary_.SetFileName("/nonexistent/file.pld");
  EXPECT_FALSE(dictionary_.CanOpen());
  support::TempFolder temp;
  std::ofstream(temp.Text() + "d.pld") << "x";
  dictionary_.SetFileName(temp.Text() + "d.pld");
  EXPECT_TRUE(dictionary_.CanOpen());
  dictionary_.SetFileName("");
  dictionary_.SetStorage(lxsResource);
  EXPECT_TRUE(dictionary_.CanOpen());
  dictionary_.SetStorage(lxsEmbedded);
  EXPECT_TRUE(dictionary_.CanOpen());
  EXPECT_EQ(dictionary_.ResolveFileName("x.pld"), "x.pld");  // only files are resolved
}

TEST_F(LxAPolyTest, ChangingTheStorageAtDesignTimeRemindsTheDeveloper) {
  std::vector<std::string> shown;
  const auto previous = framework::SetDialogSink([&](const framework::TDialogRequest& request) {
    shown.push_back(request.text);
    return request.defaultResult;
  });
  dictionary_.SetStorage(lxsResource);  // at run time nothing is shown
  dictionary_.SetDesigning(true);
  dictionary_.SetStorage(lxsEmbedded);
  dictionary_.SetStorage(lxsEmbedded);
  dictionary_.SetStorage(lxsResource);
  dictionary_.SetStorage(lxsFile);
  framework::SetDialogSink(previous);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_NE(shown[0].find("stored in the form"), std::string::npos);
  EXPECT_NE(shown[1].find("\"PlDictionary\""), std::string::npos);
}

// ---- The binary form of embedded dictionary data

using Data = framework::TMemoryStream;

class LxAPolyDataTest : public ::testing::Test {
 protected:
  // The file of `image`, opened.
  TLxPLDFile& Open(const tools::PldImage& image) {
    const std::string name = temp_.Text() + "d" + std::to_string(files_++) + ".pld";
    test::WriteImageFile(image, name);
    file_ = std::make_unique<TLxPLDFile>();
    file_->OpenFile(name);
    return *file_;
  }
  // `write` into a new stream, rewound.
  template <typename W>
  std::unique_ptr<Data> Written(const tools::PldImage& image, W write) {
    auto data = std::make_unique<Data>();
    write(*data, Open(image));
    data->SetPosition(0);
    return data;
  }

  support::FixedSystem system_;
  support::TempFolder temp_;
  int files_ = 0;
  std::unique_ptr<TLxPLDFile> file_;
};

TEST_F(LxAPolyDataTest, LanguagesAndLocalesComeBackAsTheFileHasThem) {
  const tools::PldImage image = tools::SamplePldImage();
  auto languages = Written(image, TLxCustomFileDictionary::WriteLanguageData);
  EXPECT_EQ(TLxCustomFileDictionary::CountLanguageData(*languages), 3);
  EXPECT_EQ(languages->Remaining(), 0);
  languages->SetPosition(0);
  lang::TLxLanguage german;
  german.SetSubLanguageCodesText("AT,DE");
  TLxCustomFileDictionary::ReadLanguageData(*languages, 1, german);
  TLxPLDFile& file = Open(image);
  const lang::TLxLanguage& stored = *file.ReadLanguageAt(1);
  EXPECT_EQ(german.EnglishName, stored.EnglishName);
  EXPECT_EQ(german.NativeName, stored.NativeName);
  EXPECT_EQ(german.GetSubLanguagesText(), "3,1");
  EXPECT_EQ(german.SubLanguage, stored.SubLanguage);
  EXPECT_EQ(german.FontName, "Arial");
  EXPECT_EQ(german.FontSize, 9);
  EXPECT_EQ(german.Flags, stored.Flags);
  // Not carried: the codes kept beside the sub-languages.
  EXPECT_EQ(german.SubLanguageCodes.Count(), 0);

  auto locales = Written(image, TLxCustomFileDictionary::WriteLocaleData);
  lang::TLxLocale austria;
  TLxCustomFileDictionary::ReadLocaleData(*locales, 0, austria);
  EXPECT_EQ(austria.LocaleId(), 0x0C07);
  EXPECT_EQ(austria.TimeAMString, "vorm.");
  EXPECT_EQ(austria.TimePMString, "nachm.");
  EXPECT_EQ(austria.NegCurrFormat, 9);
  EXPECT_EQ(austria.FirstWeekOfYear, 2);
  EXPECT_EQ(austria.LongDayNames[6], "Sonntag");

  tools::PldImage noLocales = image;
  noLocales.locales.clear();
  auto none = Written(noLocales, TLxCustomFileDictionary::WriteLocaleData);
  EXPECT_EQ(none->Size(), 4);
  EXPECT_EQ(TLxCustomFileDictionary::CountLocaleData(*none), 0);
}

TEST_F(LxAPolyDataTest, TranslationRecordsCarryOnlyTheKeysOfTheirFlags) {
  tools::PldImage image = tools::SamplePldImage();
  image.contentFlags = 3;
  for (tools::PldTranslation& record : image.translations)
    record.id.clear();
  auto data = Written(image, TLxCustomFileDictionary::WriteTranslationData);
  EXPECT_EQ(TLxCustomFileDictionary::CountTranslationData(*data, 3), 4);
  EXPECT_EQ(data->Remaining(), 0);
  // Version, flags, count; then the native text, the context and the two texts.
  const std::vector<std::uint8_t>& bytes = data->Bytes();
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 8),
            (std::vector<std::uint8_t>{1, 0, 3, 0, 4, 0, 0, 0}));
  std::size_t at = 8;
  auto text = [&] {
    const std::size_t length = bytes[at] | (bytes[at + 1] << 8);
    at += 2 + length;
    return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(at - length),
                       bytes.begin() + static_cast<std::ptrdiff_t>(at));
  };
  EXPECT_EQ(text(), "Open");
  EXPECT_EQ(text(), "TMainForm");
  EXPECT_EQ(text(),
            "\xD6"
            "ffnen");
  EXPECT_EQ(text().size(), 7u);
  EXPECT_EQ(text(), "Cancel");
  data->SetPosition(0);
  // Read with a language too many, the records run past the end.
  EXPECT_RAISES(TLxCustomFileDictionary::CountTranslationData(*data, 4), platform::EReadError,
                "Stream read error");
}

TEST_F(LxAPolyDataTest, LaterVersionsAreRefused) {
  auto versionTwo = [] {
    auto data = std::make_unique<Data>(std::vector<std::uint8_t>{2, 0, 0, 0, 0, 0, 0, 0});
    return data;
  };
  EXPECT_RAISES(TLxCustomFileDictionary::CountLanguageData(*versionTwo()), platform::Exception,
                "Unknown language data version: 2");
  EXPECT_RAISES(TLxCustomFileDictionary::CountTranslationData(*versionTwo(), 2),
                platform::Exception, "Unknown translation data version: 2");
  EXPECT_RAISES(TLxCustomFileDictionary::CountLocaleData(*versionTwo()), platform::Exception,
                "Unknown locale data version: 2");
  // Version 0 reads as version 1.
  Data zero(std::vector<std::uint8_t>{0, 0, 0, 0});
  EXPECT_EQ(TLxCustomFileDictionary::CountLanguageData(zero), 0);
}

TEST_F(LxAPolyDataTest, DataCutShortIsAReadErrorNotGarbage) {
  auto full = Written(tools::SamplePldImage(), TLxCustomFileDictionary::WriteLanguageData);
  for (std::int64_t size : {std::int64_t{1}, std::int64_t{3}, full->Size() - 1}) {
    std::vector<std::uint8_t> bytes = full->Bytes();
    bytes.resize(static_cast<std::size_t>(size));
    Data cut(bytes);
    EXPECT_RAISES(TLxCustomFileDictionary::CountLanguageData(cut), platform::EReadError,
                  "Stream read error")
        << size;
  }
  // A count far beyond the bytes fails at the end of the bytes.
  Data huge(std::vector<std::uint8_t>{1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 3, 0, 'a'});
  EXPECT_RAISES(TLxCustomFileDictionary::CountTranslationData(huge, 1), platform::EReadError,
                "Stream read error");
}

TEST_F(LxAPolyDataTest, WritingTranslationsNeedsTheirSection) {
  std::vector<std::uint8_t> bytes = tools::WritePldImage(tools::SamplePldImage());
  tools::SetSectionCount(bytes, tools::PldSection::Translations, 0);
  tools::SetSectionOffset(bytes, tools::PldSection::Translations, 0);
  const std::string name = temp_.Text() + "nosection.pld";
  framework::TMemoryStream(bytes).SaveToFile(name);
  TLxPLDFile file;
  file.OpenFile(name);
  Data data;
  EXPECT_RAISES(TLxCustomFileDictionary::WriteTranslationData(data, file), platform::Exception,
                "Invalid translation offset");
}

TEST_F(LxAPolyDataTest, OnlyABinaryValueIsStoredData) {
  test::TFormResource form("TEmbedModule", test::CompileForm(R"(object EmbedModule: TEmbedModule
  object Dictionary: TLxBinaryDictionary
    LanguageData = 'text'
    TranslationData = {
      0100}
  end
end
)"));
  const TLxStoredComponent component{"TEmbedModule", "TLxBinaryDictionary", "Dictionary"};
  EXPECT_RAISES(TLxCustomFileDictionary::ReadStoredProperty(component, "LanguageData"),
                platform::Exception, "Invalid property type!");
  auto data = TLxCustomFileDictionary::ReadStoredProperty(component, "TranslationData");
  EXPECT_EQ(data->Bytes(), (std::vector<std::uint8_t>{1, 0}));
  EXPECT_EQ(data->Position(), 0);
}

}  // namespace
}  // namespace lx::dict

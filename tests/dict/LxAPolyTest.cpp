#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "dict/LxAPoly.h"
#include "framework/controls/Dialogs.h"
#include "lang/LxDictionaries.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "support/FixedSystem.h"
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

}  // namespace
}  // namespace lx::dict

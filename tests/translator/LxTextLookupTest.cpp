#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "TranslatorTest.h"
#include "dict/LxAPoly.h"
#include "framework/controls/CheckLst.h"
#include "framework/controls/ComCtrls.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/rtti/ClassRegistry.h"
#include "framework/rtti/Published.h"
#include "lang/LxDictionaries.h"
#include "platform/Menus.h"
#include "platform/Windows.h"
#include "samples/TranslatorForms.h"
#include "support/FixedSystem.h"
#include "support/Raised.h"
#include "support/lang/LxProcessState.h"
#include "translator/LxModules.h"
#include "translator/LxPoly.h"
#include "translator/LxTextLookup.h"

namespace lx::translator {
namespace {

using LxTextLookupTest = TranslatorTest;

TEST_F(LxTextLookupTest, StripHotkeyRemovesMarkers) {
  const struct {
    const char* text;
    const char* stripped;
    bool hadHotkey;
  } cases[] = {{"&&Save", "&Save", true}, {"&File", "File", true}, {"File(&F)", "File", true},
               {"E&xit", "Exit", true},   {"File", "File", false}, {"", "", false}};
  for (const auto& c : cases) {
    const TLxStrippedText stripped = TLxTranslator::StripHotkey(c.text);
    EXPECT_EQ(stripped.text, c.stripped) << c.text;
    EXPECT_EQ(stripped.hadHotkey, c.hadHotkey) << c.text;
  }
}

// ---- Look-up answers remembered from pass to pass

namespace remembered {

using Entry = std::tuple<std::string, std::string, std::string, std::array<std::string, 3>>;

// Native text, context, id, and the texts of English, Spanish and German. Some are found in
// the root's class, some in its ancestor, some only flat; a few texts are empty.
std::vector<Entry> Entries() {
  return {
      {"Main window", "TMainForm", "", {"Main window", "Ventana principal", "Hauptfenster"}},
      {"Child window", "TChildForm", "", {"Child window", "Ventana hija", ""}},
      {"&File name", "TMainForm", "FileLabel", {"&File name", "&Nombre", "&Dateiname"}},
      {"Open", "TMainForm", "OpenButton", {"Open", "Abrir", "Oeffnen"}},
      {"Open a file", "", "", {"Open a file", "Abrir un archivo", "Datei oeffnen"}},
      {"Red", "TMainForm", "Colours", {"Red", "Rojo", "Rot"}},
      {"Green", "", "", {"Green", "Verde", "Gruen"}},
      {"File", "TMainForm", "FileItem", {"File", "&Archivo", "&Datei"}},
      {"E&xit", "TMainForm", "ExitItem", {"E&xit", "&Salir", ""}},
      {"&Open", "", "", {"&Open", "&Abrir", "&Oeffnen"}},
      {"Hello\r\nWorld", "TMainForm", "Notes", {"Hello\r\nWorld", "Hola\r\nMundo", "Hallo"}},
      {"Help", "TChildForm", "HelpButton", {"Help", "Ayuda", "Hilfe"}},
      {"Italic", "TMainForm", "Styles", {"Italic", "", "Kursiv"}},
      {"Large", "", "", {"Large", "", "Gross"}},
  };
}

// A dictionary whose table is given in code. A change of language keeps the keys and only
// replaces the texts, as the binary dictionary does, unless `reload` asks for a full load.
// Without `positions` it answers no positions, so the translator searches every text: the
// reference for what remembered answers must give.
class TSwitchDictionary : public dict::TLxCustomDictionary {
 public:
  explicit TSwitchDictionary(bool positions)
      : TLxCustomDictionary(nullptr), entries(Entries()), positions_(positions) {
    SetBinding(lang::lxbiNone);
    SetCheckLevel(lang::lxclNone);
    SetOptions(Options() - lang::TLxDictionaryOptions{lang::lxdoUseFlatTranslation});
  }

  int GetLanguageCount() override { return 3; }
  void GetLanguage(int index, lang::TLxLanguage& dest) override {
    const int primary[] = {9, 10, 7};
    dest.Assign(lang::TLxLanguage(primary[index], 1, 1252, "", "", "", "", 0, {}));
    dest.Validate();
  }
  int GetLocaleCount() override { return 0; }
  void GetLocale(int, lang::TLxLocale&) override {}
  std::uint64_t KeysVersion() const override {
    return positions_ ? TLxCustomDictionary::KeysVersion() : 0;
  }
  int FindKey(const std::string& word, const std::string& context,
              const std::string& id) const override {
    ++searches;
    return TLxCustomDictionary::FindKey(word, context, id);
  }

  std::vector<Entry> entries;
  bool reload = false;
  mutable int searches = 0;

 protected:
  void LoadTranslations() override {
    const auto language = static_cast<std::size_t>(std::max(ActiveLanguageIndex(), 0));
    dict::TLxTranslationList& table = TranslationTable();
    if (!reload && table.Count() == static_cast<int>(entries.size())) {
      dict::TLxTranslationList::Texts texts;
      for (const auto& entry : entries) {
        texts.text += std::get<3>(entry)[language];
        texts.lengths.push_back(static_cast<std::uint32_t>(std::get<3>(entry)[language].size()));
        texts.states.push_back(lang::TLxTranslation::kActiveText);
      }
      table.ReplaceTranslations(std::move(texts));
      return;
    }
    reload = false;
    ClearTranslations();
    lang::TLxTranslation record;
    for (const auto& [native, context, id, texts] : entries) {
      record.Native = native;
      record.Context = context;
      record.Id = id;
      record.Translation = texts[language];
      table.Add(record);
    }
    SetContextKeys(true);
    SortTranslations();
  }

 private:
  bool positions_;
};

// One run of random steps on a child form; the texts after each step.
std::vector<Texts> RandomRun(bool positions, unsigned seed) {
  TSwitchDictionary dictionary(positions);
  dictionary.SetDictionaryName("Dictionary1");
  dictionary.SetLanguage(1);
  dictionary.Open();
  auto form = support::LoadForm<TChildForm>();
  TLxTranslator& translator = Find<TLxTranslator>(*form, "Translator1");
  translator.Open();
  std::mt19937 random(seed);
  std::vector<Texts> seen;
  const auto pick = [&random](int count) { return static_cast<int>(random() % count); };
  for (int step = 0; step < 300; ++step) {
    switch (pick(9)) {
      case 0:
        translator.FlatTranslation = !translator.FlatTranslation;
        break;
      case 1: {
        const lang::TLxDictionaryOptions flat{lang::lxdoUseFlatTranslation};
        const lang::TLxDictionaryOptions options = dictionary.Options();
        dictionary.SetOptions(options.Contains(lang::lxdoUseFlatTranslation) ? options - flat
                                                                             : options + flat);
      } break;
      case 2:
        dictionary.SetMissingTranslation(static_cast<lang::TLxMissingTranslation>(pick(3)));
        break;
      case 3:
        dictionary.entries.push_back({"Blue",
                                      pick(2) == 0 ? "TMainForm" : "",
                                      pick(2) == 0 ? "Colours" : "",
                                      {"Blue", "Azul " + std::to_string(step), "Blau"}});
        dictionary.reload = true;
        break;
      case 4:
        Find<TButton>(*form, "OpenButton").SetCaption(pick(2) == 0 ? "Open a file" : "Open");
        break;
      case 5:
        dictionary.Close();
        dictionary.Open();
        translator.Open();
        break;
      case 6:
        if (TComponent* help = form->FindComponent("HelpButton")) delete help;
        break;
      case 7:
        translator.Open();
        break;
      default:
        break;
    }
    dictionary.SetLanguage(pick(3));
    seen.push_back(TextsOf(*form));
  }
  return seen;
}

}  // namespace remembered

TEST_F(LxTextLookupTest, RememberedAnswersGiveWhatASearchGives) {
  for (unsigned seed : {1u, 2u, 3u}) {
    const std::vector<Texts> searched = remembered::RandomRun(false, seed);
    const std::vector<Texts> read = remembered::RandomRun(true, seed);
    ASSERT_EQ(read.size(), searched.size());
    for (std::size_t step = 0; step < read.size(); ++step)
      ASSERT_EQ(read[step], searched[step]) << "seed " << seed << ", step " << step;
  }
}

TEST_F(LxTextLookupTest, ASwitchReadsTheTextsWhereTheyWereFoundUntilAnythingChanges) {
  remembered::TSwitchDictionary dictionary(true);
  dictionary.SetDictionaryName("Dictionary1");
  dictionary.SetLanguage(1);
  dictionary.Open();
  auto form = support::LoadForm<TMainForm>();
  TLxTranslator& translator = TranslatorOf(*form);
  EXPECT_EQ(Find<TMenuItem>(*form, "FileItem").Caption(), "&Archivo");
  const Texts spanish = TextsOf(*form);
  const auto searchesAfter = [&dictionary](const std::function<void()>& change) {
    const int before = dictionary.searches;
    change();
    return dictionary.searches - before;
  };
  // Same keys: not one search, and A -> B -> A gives the first texts again.
  EXPECT_EQ(searchesAfter([&] { dictionary.SetLanguage(2); }), 0);
  EXPECT_EQ(Find<TMenuItem>(*form, "FileItem").Caption(), "&Datei");
  EXPECT_EQ(Find<TMenuItem>(*form, "ExitItem").Caption(), "E&xit");  // empty: the native
  EXPECT_EQ(searchesAfter([&] { dictionary.SetLanguage(1); }), 0);
  EXPECT_EQ(TextsOf(*form), spanish);

  // Each of these searches again, and finds the new answers.
  dictionary.entries.push_back({"Blue", "TMainForm", "Colours", {"Blue", "Azul", "Blau"}});
  dictionary.reload = true;
  EXPECT_GT(searchesAfter([&] { dictionary.SetLanguage(2); }), 0);
  EXPECT_EQ(Find<framework::TListBox>(*form, "Colours").Items()->CommaText(), "Rot,Green,Blau");
  EXPECT_EQ(Find<framework::TListBox>(*form, "Colours").ItemIndex(), 1);
  translator.FlatTranslation = true;
  EXPECT_GT(searchesAfter([&] { dictionary.SetLanguage(1); }), 0);
  EXPECT_EQ(Find<TButton>(*form, "OpenButton").Hint(), "Abrir un archivo");
  translator.FlatTranslation = false;
  EXPECT_GT(searchesAfter([&] { dictionary.SetLanguage(2); }), 0);
  EXPECT_EQ(Find<TButton>(*form, "OpenButton").Hint(), "Open a file");
  dictionary.SetOptions(dictionary.Options() +
                        lang::TLxDictionaryOptions{lang::lxdoUseFlatTranslation});
  EXPECT_GT(searchesAfter([&] { dictionary.SetLanguage(1); }), 0);
  EXPECT_EQ(Find<TButton>(*form, "OpenButton").Hint(), "Abrir un archivo");

  // The missing-text rule is applied anew on every pass.
  dictionary.SetMissingTranslation(lang::lxmtTagNative);
  EXPECT_EQ(searchesAfter([&] { dictionary.SetLanguage(2); }), 0);
  EXPECT_EQ(Find<TMenuItem>(*form, "ExitItem").Caption(), "@E&xit@");
}

TEST_F(LxTextLookupTest, AnotherDictionaryWithOtherPositionsIsSearchedAnew) {
  remembered::TSwitchDictionary first(true);
  first.SetDictionaryName("Dictionary1");
  first.SetLanguage(1);
  first.Open();
  auto form = support::LoadForm<TMainForm>();
  const Texts spanish = TextsOf(*form);
  // The same keys added in another order, with other texts.
  remembered::TSwitchDictionary second(true);
  std::reverse(second.entries.begin(), second.entries.end());
  for (auto& entry : second.entries)
    std::get<3>(entry)[1] += "!";
  second.SetLanguage(1);
  second.Open();
  TLxTranslator& translator = TranslatorOf(*form);
  translator.SetDictionary(&second);
  translator.Open();
  EXPECT_EQ(form->Caption(), "Ventana principal!");
  EXPECT_EQ(Find<TButton>(*form, "OpenButton").Caption(), "Abrir!");
  translator.SetDictionary(&first);
  translator.Open();
  EXPECT_EQ(TextsOf(*form), spanish);
}

}  // namespace
}  // namespace lx::translator

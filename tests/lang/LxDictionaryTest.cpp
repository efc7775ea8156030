#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/Strings.h"
#include "framework/rtti/ClassRegistry.h"
#include "framework/rtti/Published.h"
#include "framework/rtti/TypInfo.h"
#include "framework/streaming/Filer.h"
#include "framework/streaming/TextForm.h"
#include "lang/LxDictionaries.h"
#include "lang/LxDictionary.h"
#include "lang/LxParser.h"
#include "platform/Exception.h"
#include "support/FixedSystem.h"
#include "support/Raised.h"
#include "support/lang/LxMemoryDictionary.h"
#include "support/lang/LxProcessState.h"
#include "support/lang/LxRecordingTranslator.h"

namespace lx::lang {
namespace {

using support::TLxMemoryDictionary;
using support::TLxRecordingTranslator;
using Texts = std::vector<std::string>;

class LxDictionaryTest : public ::testing::Test {
 protected:
  // Logs the open, close and change events of `dictionary` into log_.
  void Watch(TLxDictionary& dictionary) {
    dictionary.OnBeforeOpen = [this](framework::TObject*) { log_.push_back("before open"); };
    dictionary.OnAfterOpen = [this](framework::TObject*) { log_.push_back("after open"); };
    dictionary.OnBeforeClose = [this](framework::TObject*) { log_.push_back("before close"); };
    dictionary.OnAfterClose = [this](framework::TObject*) { log_.push_back("after close"); };
    dictionary.OnLanguageChange = [this](framework::TObject*) { log_.push_back("language"); };
    dictionary.OnLocaleChange = [this](framework::TObject*) { log_.push_back("locale"); };
  }

  support::FixedSystem system_;
  support::TLxProcessState state_;
  Texts log_;
};

TEST_F(LxDictionaryTest, ANewDictionaryHoldsTheDefaults) {
  TLxMemoryDictionary dictionary(nullptr);
  EXPECT_TRUE(dictionary.Enabled());
  EXPECT_EQ(dictionary.Locale(), 0x0400);
  EXPECT_EQ(dictionary.PrimaryLanguage(), 0);
  EXPECT_EQ(dictionary.SubLanguage(), 1);
  EXPECT_EQ(dictionary.Language(), -1);
  EXPECT_EQ(dictionary.MasterLanguage(), 0);
  EXPECT_EQ(dictionary.Binding(), lxbiLocaleToLanguage);
  EXPECT_EQ(dictionary.Options().ToMask(), 0x7F);
  EXPECT_EQ(dictionary.MissingTranslation(), lxmtUseNative);
  EXPECT_EQ(dictionary.Euro(), lxeNormal);
  EXPECT_EQ(dictionary.CheckLevel(), lxclCodePage);
  EXPECT_FALSE(dictionary.IsOpen());
  EXPECT_FALSE(dictionary.HasContextKeys());
  EXPECT_EQ(dictionary.ActiveLocaleId(), 0);
  EXPECT_EQ(dictionary.NativeCodePage(), 1252);
  EXPECT_EQ(dictionary.CurrentLanguage().EnglishName, "");
  EXPECT_EQ(dictionary.CurrentLocale().LocaleId(), 0);
  EXPECT_EQ(dictionary.TranslatorCount(), 0);
  EXPECT_EQ(dictionary.GetTranslationCount(), 0);
}

TEST_F(LxDictionaryTest, PublishedPropertiesAtTheirDefaultsAreNotStored) {
  TLxMemoryDictionary dictionary(nullptr);
  Texts names;
  for (const framework::TPropInfo* property : framework::GetPropList(dictionary)) {
    names.push_back(property->Name());
    const bool atDefault = framework::IsDefaultPropValue(dictionary, *property);
    EXPECT_EQ(atDefault, property->Name() != "DictionaryName") << property->Name();
  }
  EXPECT_EQ(names, (Texts{"Name", "Tag", "Enabled", "DictionaryName", "PrimaryLanguage",
                          "SubLanguage", "Language", "MasterLanguage", "Binding", "Options",
                          "MissingTranslation", "Euro", "CheckLevel", "OnBeforeOpen", "OnAfterOpen",
                          "OnBeforeClose", "OnAfterClose", "OnLanguageChange", "OnLocaleChange"}));

  const framework::TPropInfo& euro = framework::FindPropInfo(dictionary, "Euro");
  dictionary.SetEuro(lxeBusiness);
  EXPECT_FALSE(framework::IsStoredProp(dictionary, euro));
  EXPECT_EQ(framework::GetSetProp(dictionary, "Options", true),
            "[lxdoConvertNativeString,lxdoUpdateLocaleVariables,lxdoAutoTranslate,lxdoYear2000,"
            "lxdoTranslateResourceStrings,lxdoRecreateMDIChild,lxdoUseFlatTranslation]");

  framework::SetEnumProp(dictionary, "Binding", "lxbiLanguageToLocale");
  EXPECT_EQ(dictionary.Binding(), lxbiLanguageToLocale);
  EXPECT_FALSE(
      framework::IsDefaultPropValue(dictionary, framework::FindPropInfo(dictionary, "Binding")));
  EXPECT_NE(framework::GetClass("TLxDictionary"), nullptr);
}

TEST_F(LxDictionaryTest, TheLanguagePartsComposeTheLocale) {
  TLxMemoryDictionary dictionary(nullptr);
  dictionary.SetPrimaryLanguage(7);
  EXPECT_EQ(dictionary.Locale(), 0x0407);
  dictionary.SetSubLanguage(3);
  EXPECT_EQ(dictionary.Locale(), 0x0C07);
  dictionary.SetSubLanguage(0);
  EXPECT_EQ(dictionary.Locale(), 0x0007);
  // A locale with a sort id keeps it only until a part is written.
  dictionary.SetLocale(0x10407);
  EXPECT_EQ(dictionary.PrimaryLanguage(), 7);
  EXPECT_EQ(dictionary.SubLanguage(), 1);
  dictionary.SetPrimaryLanguage(12);
  EXPECT_EQ(dictionary.Locale(), 0x040C);
  // Parts wider than their fields are cut to them.
  dictionary.SetPrimaryLanguage(0x407);
  EXPECT_EQ(dictionary.Locale(), 0x0407);

  framework::SetOrdProp(dictionary, "SubLanguage", 2);
  EXPECT_EQ(dictionary.Locale(), 0x0807);
}

TEST_F(LxDictionaryTest, OpenAndCloseFireTheirEventsWithoutTestingTheState) {
  TLxMemoryDictionary dictionary(nullptr);
  dictionary.AddLanguage(0, 0, 1252);
  Watch(dictionary);

  dictionary.Close();
  EXPECT_EQ(log_, (Texts{"before close", "after close"}));
  log_.clear();

  dictionary.Open();
  EXPECT_TRUE(dictionary.IsOpen());
  EXPECT_EQ(log_, (Texts{"before open", "language", "locale", "after open"}));
  log_.clear();

  // Opening again selects and reports everything again.
  dictionary.Open();
  EXPECT_EQ(log_, (Texts{"before open", "language", "locale", "after open"}));
  log_.clear();

  dictionary.Close();
  dictionary.Close();
  EXPECT_FALSE(dictionary.IsOpen());
  EXPECT_EQ(log_, (Texts{"before close", "after close", "before close", "after close"}));
}

TEST_F(LxDictionaryTest, DisabledOrUnreachableDictionariesAreNotOpened) {
  TLxMemoryDictionary dictionary(nullptr);
  dictionary.AddLanguage(0, 0, 1252);
  dictionary.canOpen = false;
  dictionary.Open();
  EXPECT_FALSE(dictionary.IsOpen());
  EXPECT_TRUE(dictionary.changes.empty());

  // Disabled only keeps an open dictionary from being opened again.
  dictionary.canOpen = true;
  dictionary.SetEnabled(false);
  dictionary.Open();
  EXPECT_TRUE(dictionary.IsOpen());
  dictionary.Open();
  EXPECT_EQ(dictionary.changes.size(), 1u);
}

TEST_F(LxDictionaryTest, ClosingKeepsTheActiveLanguageAndLocale) {
  TLxMemoryDictionary dictionary(nullptr);
  dictionary.AddLanguage(0, 0, 1252);
  dictionary.AddLanguage(7, 1, 1252, "1,3", "German");
  dictionary.Open();
  const TLxLanguage* language = &dictionary.CurrentLanguage();
  dictionary.Close();
  EXPECT_EQ(dictionary.ActiveLanguageIndex(), 1);
  EXPECT_EQ(&dictionary.CurrentLanguage(), language);
  EXPECT_EQ(dictionary.CurrentLanguage().EnglishName, "German");
  EXPECT_EQ(dictionary.ActiveLocaleId(), 0x0C07);
  EXPECT_EQ(dictionary.CurrentLocale().LocaleId(), 0x0C07);
}

TEST_F(LxDictionaryTest, LanguageAtHandsOutTheActiveRecordOrAScratchCopy) {
  TLxMemoryDictionary dictionary(nullptr);
  dictionary.AddLanguage(0, 0, 1252);
  dictionary.AddLanguage(7, 1, 1252, "", "German");
  dictionary.AddLanguage(12, 1, 1252, "", "French");

  // Before any selection every index is read from the dictionary.
  EXPECT_EQ(dictionary.LanguageAt(0).EnglishName, "Native");
  dictionary.SetLanguage(1);
  dictionary.Open();
  EXPECT_EQ(&dictionary.LanguageAt(1), &dictionary.CurrentLanguage());

  const TLxLanguage* native = &dictionary.LanguageAt(0);
  EXPECT_EQ(native->EnglishName, "Native");
  const TLxLanguage* french = &dictionary.LanguageAt(2);
  EXPECT_NE(native, french);
  EXPECT_EQ(french->EnglishName, "French");

  for (const int index : {3, -1, -2}) {
    EXPECT_RAISES(dictionary.LanguageAt(index), platform::ERangeError, "Out of language range")
        << index;
  }
}

TEST_F(LxDictionaryTest, LanguageNamesListEachPrimaryLanguageOnce) {
  TLxMemoryDictionary dictionary(nullptr);
  dictionary.AddLanguage(9, 1, 1252, "1", "English (United States)");
  dictionary.AddLanguage(9, 2, 1252, "2", "English (United Kingdom)");
  dictionary.AddLanguage(7, 1, 1252, "", "German");

  framework::TStringList english;
  dictionary.GetLanguageNames(english, false);
  ASSERT_EQ(english.Count(), 2);
  EXPECT_EQ(english.Strings(0), "English (United States)");
  EXPECT_EQ(LanguageIdOf(english.Objects(0)), 9);
  EXPECT_EQ(english.Strings(1), "German");
  EXPECT_EQ(LanguageIdOf(english.Objects(1)), 7);

  framework::TStringList native;
  native.Add("kept");
  dictionary.GetLanguageNames(native, true);
  ASSERT_EQ(native.Count(), 3);
  EXPECT_EQ(native.Strings(2), "Deutsch");
}

TEST_F(LxDictionaryTest, SupportedLocalesAreTheSystemsAndTheDictionarysOwn) {
  TLxMemoryDictionary dictionary(nullptr);
  TLxLocale locale;
  locale.PrimaryLanguage = 9;
  locale.SubLanguage = 2;
  dictionary.AddLocale(locale);
  locale.SubLanguage = 4;
  dictionary.AddLocale(locale);
  dictionary.AddLocale(locale);

  std::vector<int> locales;
  dictionary.GetSupportedLocales(locales);
  EXPECT_EQ(locales, (std::vector<int>{0x0407, 0x0409, 0x040C, 0x040D, 0x0411, 0x0419, 0x0809,
                                       0x0C07, 0x1009}));
  EXPECT_TRUE(dictionary.IsLocaleSupported(0x1009));
  EXPECT_TRUE(dictionary.IsLocaleSupported(0x0411));
  EXPECT_FALSE(dictionary.IsLocaleSupported(0x0816));
}

TEST_F(LxDictionaryTest, NativeTextsWithAContextAreReencodedForTheSystem) {
  TLxMemoryDictionary dictionary(nullptr);
  dictionary.AddLanguage(0, 0, 1251);
  dictionary.SetCheckLevel(lxclNone);
  dictionary.Open();
  ASSERT_EQ(dictionary.NativeCodePage(), 1251);

  // The euro sign is 0x88 in code page 1251 and 0x80 in 1252.
  TLxTranslation entry;
  entry.Native = "5 \x88";
  entry.Context = "TMainForm";
  dictionary.ConvertNativeString(entry);
  EXPECT_EQ(entry.Native, "5 \x80");

  TLxTranslation plain;
  plain.Native = "5 \x88";
  dictionary.ConvertNativeString(plain);
  EXPECT_EQ(plain.Native, "5 \x88");

  TLxTranslation ascii;
  ascii.Native = "Open";
  ascii.Context = "TMainForm";
  dictionary.ConvertNativeString(ascii);
  EXPECT_EQ(ascii.Native, "Open");

  dictionary.SetOptions(dictionary.Options() - TLxDictionaryOptions{lxdoConvertNativeString});
  dictionary.ConvertNativeString(entry);
  EXPECT_EQ(entry.Native, "5 \x80");
}

TEST_F(LxDictionaryTest, NativeTextsOfAnUnreadableCodePageAreKept) {
  TLxMemoryDictionary dictionary(nullptr);
  dictionary.AddLanguage(0, 0, 1361);
  dictionary.SetCheckLevel(lxclNone);
  dictionary.Open();
  ASSERT_EQ(dictionary.NativeCodePage(), 1361);
  TLxTranslation entry;
  entry.Native = "\x88\xA1";
  entry.Context = "TMainForm";
  dictionary.ConvertNativeString(entry);
  EXPECT_EQ(entry.Native, "\x88\xA1");
}

// ---- Stored form

// A root that stores the components it owns.
class TDictionaryHost : public framework::TComponent {
  LX_CLASS(TDictionaryHost, framework::TComponent)

 public:
  explicit TDictionaryHost(framework::TComponent* owner) : TComponent(owner) {}
  void GetChildren(const framework::TGetChildProc& proc, framework::TComponent*) override {
    for (int i = 0; i < ComponentCount(); ++i)
      proc(Components(i));
  }
};

LX_PUBLISHED(TDictionaryHost)

std::string StoredText(framework::TComponent& root) {
  framework::TMemoryStream stream;
  framework::WriteComponentTo(stream, root);
  return framework::FormBinaryToText(stream.Bytes());
}

std::unique_ptr<framework::TComponent> ReadText(const std::string& text) {
  framework::RegisterClasses(
      {&TDictionaryHost::StaticClassInfo(), &TLxMemoryDictionary::StaticClassInfo()});
  const std::vector<std::uint8_t> bytes = framework::FormTextToBinary(text);
  framework::TReadOnlyMemoryStream stream(bytes);
  return std::unique_ptr<framework::TComponent>(framework::ReadComponentFrom(stream, nullptr));
}

TEST_F(LxDictionaryTest, AStoredDictionaryKeepsWhatDiffersFromTheDefaults) {
  TDictionaryHost host(nullptr);
  host.SetName("Host");
  auto* dictionary = new TLxMemoryDictionary(&host);
  dictionary->SetName("Languages");
  EXPECT_EQ(StoredText(host),
            "object Host: TDictionaryHost\n"
            "  object Languages: TLxMemoryDictionary\n"
            "    DictionaryName = 'Dictionary1'\n"
            "  end\n"
            "end\n");

  dictionary->SetDictionaryName("Main");
  dictionary->SetEnabled(false);
  dictionary->SetLocale(0x0C07);
  dictionary->SetLanguage(2);
  dictionary->SetMasterLanguage(1);
  dictionary->SetBinding(lxbiNone);
  dictionary->SetOptions({lxdoAutoTranslate, lxdoYear2000});
  dictionary->SetMissingTranslation(lxmtTagNative);
  dictionary->SetEuro(lxeBusiness);
  dictionary->SetCheckLevel(lxclNone);
  const std::string text = StoredText(host);
  EXPECT_EQ(text,
            "object Host: TDictionaryHost\n"
            "  object Languages: TLxMemoryDictionary\n"
            "    Enabled = False\n"
            "    DictionaryName = 'Main'\n"
            "    PrimaryLanguage = 7\n"
            "    SubLanguage = 3\n"
            "    Language = 2\n"
            "    MasterLanguage = 1\n"
            "    Binding = lxbiNone\n"
            "    Options = [lxdoAutoTranslate, lxdoYear2000]\n"
            "    MissingTranslation = lxmtTagNative\n"
            "    CheckLevel = lxclNone\n"
            "  end\n"
            "end\n");

  const auto copy = ReadText(text);
  ASSERT_EQ(copy->ComponentCount(), 1);
  const auto* read = dynamic_cast<TLxMemoryDictionary*>(copy->Components(0));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Locale(), 0x0C07);
  EXPECT_EQ(read->Language(), 2);
  EXPECT_EQ(read->Euro(), lxeNormal);
  EXPECT_FALSE(read->IsOpen());
  EXPECT_EQ(Dictionaries()->Find("Main"), dictionary);
  EXPECT_EQ(StoredText(*copy), text);
}

TEST_F(LxDictionaryTest, StoredLocalesComeBackWhateverPartIsAtItsDefault) {
  for (const int locale : {0x0000, 0x0800, 0x0409, 0x0007, 0xFC00, 0x03FF}) {
    TDictionaryHost host(nullptr);
    host.SetName("Host");
    auto* dictionary = new TLxMemoryDictionary(&host);
    dictionary->SetName("Languages");
    dictionary->SetLocale(locale);
    const auto copy = ReadText(StoredText(host));
    EXPECT_EQ(dynamic_cast<TLxDictionary*>(copy->Components(0))->Locale(), locale) << locale;
  }
}

TEST_F(LxDictionaryTest, AStoredDictionaryCodeIsReadAndDropped) {
  const auto copy = ReadText(
      "object Host: TDictionaryHost\n"
      "  object Languages: TLxMemoryDictionary\n"
      "    DictionaryCode = 1234567\n"
      "    SubLanguage = 2\n"
      "  end\n"
      "end\n");
  auto* read = dynamic_cast<TLxDictionary*>(copy->Components(0));
  EXPECT_EQ(read->Locale(), 0x0800);
  EXPECT_EQ(StoredText(*copy),
            "object Host: TDictionaryHost\n"
            "  object Languages: TLxMemoryDictionary\n"
            "    DictionaryName = 'Dictionary1'\n"
            "    SubLanguage = 2\n"
            "  end\n"
            "end\n");
  EXPECT_RAISES(ReadText("object Host: TDictionaryHost\n"
                         "  object Languages: TLxMemoryDictionary\n"
                         "    DictionaryCode = 'x'\n"
                         "  end\n"
                         "end\n"),
                platform::EReadError,
                "Error reading Languages.DictionaryCode: Invalid property value");
}

// ---- Translators

// A translator whose Close forgets to leave its dictionary.
class StubbornTranslator : public TLxRecordingTranslator {
 public:
  using TLxRecordingTranslator::TLxRecordingTranslator;
  void Close() override { ++closes; }
};

TEST_F(LxDictionaryTest, TranslatorsRegisterOnceAndAreClosedWithTheDictionary) {
  TLxMemoryDictionary dictionary(nullptr);
  dictionary.AddLanguage(0, 0, 1252);
  TLxRecordingTranslator first(nullptr);
  TLxRecordingTranslator second(nullptr);
  first.Open();
  second.Open();
  dictionary.RegisterTranslator(&first);
  ASSERT_EQ(dictionary.TranslatorCount(), 2);
  EXPECT_EQ(dictionary.Translators(0), &first);
  EXPECT_EQ(dictionary.Translators(1), &second);
  EXPECT_RAISES(dictionary.Translators(2), platform::EListError, "List index out of bounds (2)");

  dictionary.Open();
  dictionary.Close();
  EXPECT_EQ(dictionary.TranslatorCount(), 0);
  EXPECT_EQ(first.closes, 1);
  EXPECT_EQ(second.closes, 1);
  EXPECT_EQ(first.Dictionary(), nullptr);
  EXPECT_FALSE(second.Active());
}

TEST_F(LxDictionaryTest, UnlinkingDoesNotHangOnATranslatorThatStaysRegistered) {
  TLxMemoryDictionary dictionary(nullptr);
  StubbornTranslator translator(nullptr);
  dictionary.RegisterTranslator(&translator);
  dictionary.UnlinkTranslators();
  EXPECT_EQ(translator.closes, 1);
  EXPECT_EQ(dictionary.TranslatorCount(), 0);
}

TEST_F(LxDictionaryTest, ADestroyedDictionaryLeavesNoReferenceBehind) {
  TLxRecordingTranslator registered(nullptr);
  TLxRecordingTranslator bound(nullptr);
  {
    TLxMemoryDictionary dictionary(nullptr);
    dictionary.AddLanguage(0, 0, 1252);
    dictionary.Open();
    registered.Open();
    bound.SetDictionary(&dictionary);
    ASSERT_EQ(dictionary.TranslatorCount(), 1);
    ASSERT_EQ(bound.Dictionary(), &dictionary);
  }
  EXPECT_EQ(registered.closes, 1);
  EXPECT_EQ(registered.Dictionary(), nullptr);
  EXPECT_FALSE(registered.Active());
  EXPECT_EQ(bound.Dictionary(), nullptr);
  EXPECT_EQ(bound.DictionaryName(), "Dictionary1");
  EXPECT_EQ(Dictionaries()->Count(), 0);
  // The translators can still be used and destroyed safely.
  registered.Close();
  bound.Open();
  EXPECT_EQ(bound.Dictionary(), nullptr);
}

TEST_F(LxDictionaryTest, ADestroyedTranslatorLeavesTheDictionary) {
  TLxMemoryDictionary dictionary(nullptr);
  dictionary.AddLanguage(0, 0, 1252);
  auto* translator = new TLxRecordingTranslator(nullptr);
  translator->Open();
  ASSERT_EQ(dictionary.TranslatorCount(), 1);
  delete translator;
  EXPECT_EQ(dictionary.TranslatorCount(), 0);

  // Also one that was registered without being bound.
  auto* unbound = new TLxRecordingTranslator(nullptr);
  dictionary.RegisterTranslator(unbound);
  ASSERT_EQ(unbound->Dictionary(), nullptr);
  delete unbound;
  EXPECT_EQ(dictionary.TranslatorCount(), 0);
  dictionary.Open();
  EXPECT_EQ(dictionary.changes.size(), 1u);
}

TEST_F(LxDictionaryTest, OwnedDictionariesAndTranslatorsGoInEitherOrder) {
  for (const bool dictionaryFirst : {true, false}) {
    framework::TComponent form(nullptr);
    TLxMemoryDictionary* dictionary = nullptr;
    TLxRecordingTranslator* translator = nullptr;
    if (dictionaryFirst) dictionary = new TLxMemoryDictionary(&form);
    translator = new TLxRecordingTranslator(&form);
    if (!dictionaryFirst) dictionary = new TLxMemoryDictionary(&form);
    dictionary->AddLanguage(0, 0, 1252);
    translator->SetDictionary(dictionary);
    translator->Open();
    dictionary->Open();
    ASSERT_EQ(dictionary->TranslatorCount(), 1);
  }
  EXPECT_EQ(Dictionaries()->Count(), 0);
}

}  // namespace
}  // namespace lx::lang

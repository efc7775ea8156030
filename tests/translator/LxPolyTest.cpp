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

using LxPolyTest = TranslatorTest;

TEST_F(LxPolyTest, AFormLoadedWithADictionaryComesUpTranslated) {
  support::TLxMemoryDictionary& dictionary = OpenMemoryDictionary(1);
  auto form = support::LoadForm<TMainForm>();
  TLxTranslator& translator = TranslatorOf(*form);

  EXPECT_TRUE(translator.Active());
  EXPECT_EQ(translator.Dictionary(), &dictionary);
  EXPECT_TRUE(dictionary.IsRegistered(&translator));
  EXPECT_EQ(form->Caption(), "Ventana principal");
  EXPECT_EQ(form->Hint(), "La ventana principal");
  EXPECT_EQ(Find<TButton>(*form, "OpenButton").Caption(), "Abrir");
  EXPECT_EQ(Find<TButton>(*form, "OpenButton").Hint(), "Abrir un archivo");
  EXPECT_EQ(Find<framework::TLabel>(*form, "FileLabel").Caption(), "&Nombre");
  EXPECT_EQ(Find<framework::TMemo>(*form, "Notes").Text(), "Hola\r\nMundo\r\n");
  EXPECT_EQ(Find<framework::TListBox>(*form, "Colours").Items()->CommaText(), "Rojo,Verde,Azul");
  EXPECT_EQ(Find<framework::TComboBox>(*form, "Sizes").Items()->CommaText(), "Pequeno,Grande");
  // Text is no target: the edit keeps its content.
  EXPECT_EQ(Find<framework::TEdit>(*form, "NameEdit").Text(), "Open");
  // Contexts are the form's class, ids the components' names; names are never looked up.
  const auto& lookups = dictionary.lookups;
  EXPECT_NE(std::find(lookups.begin(), lookups.end(), "Open|TMainForm|OpenButton"), lookups.end());
  EXPECT_NE(std::find(lookups.begin(), lookups.end(), "Main window|TMainForm|"), lookups.end());
  for (const std::string& lookup : lookups)
    EXPECT_EQ(lookup.find("OpenButton|"), std::string::npos) << lookup;
}

TEST_F(LxPolyTest, EveryPassStartsFromTheNativeTexts) {
  support::TLxMemoryDictionary& dictionary = OpenMemoryDictionary(1);
  auto form = support::LoadForm<TMainForm>();
  const Texts spanish = TextsOf(*form);

  dictionary.SetLanguage(2);
  EXPECT_EQ(form->Caption(), "Hauptfenster");
  EXPECT_EQ(Find<framework::TListBox>(*form, "Colours").Items()->CommaText(), "Rot,Gruen,Blau");
  EXPECT_EQ(Find<framework::TMemo>(*form, "Notes").Text(), "Hallo\r\nWelt\r\n");
  dictionary.SetLanguage(1);
  EXPECT_EQ(TextsOf(*form), spanish);
}

TEST_F(LxPolyTest, RevertPutsTheNativeTextsBackAndUnbinds) {
  support::TLxMemoryDictionary& dictionary = OpenMemoryDictionary(2);
  std::unique_ptr<TMainForm> native = support::LoadForm<TMainForm>();
  TranslatorOf(*native).Revert();
  memory_.reset();
  const Texts english = TextsOf(*native);
  EXPECT_EQ(native->Caption(), "Main window");

  support::TLxMemoryDictionary& again = OpenMemoryDictionary(2);
  auto form = support::LoadForm<TMainForm>();
  TLxTranslator& translator = TranslatorOf(*form);
  ASSERT_EQ(form->Caption(), "Hauptfenster");
  translator.Revert();
  EXPECT_EQ(TextsOf(*form), english);
  EXPECT_FALSE(translator.Active());
  EXPECT_EQ(translator.Dictionary(), nullptr);
  EXPECT_EQ(translator.DictionaryName(), "Dictionary1");
  EXPECT_FALSE(again.IsRegistered(&translator));
  EXPECT_EQ(translator.Table().Count(), 0);
  (void)dictionary;
}

TEST_F(LxPolyTest, CloseKeepsTheTextsAndForgetsTheNatives) {
  OpenMemoryDictionary(1);
  auto form = support::LoadForm<TMainForm>();
  TLxTranslator& translator = TranslatorOf(*form);
  EXPECT_GT(translator.Table().Count(), 0);
  translator.Close();
  EXPECT_EQ(form->Caption(), "Ventana principal");
  EXPECT_EQ(translator.Table().Count(), 0);
  EXPECT_EQ(translator.Root(), nullptr);
  EXPECT_FALSE(translator.Active());
}

TEST_F(LxPolyTest, NoDictionaryOrNoTargetsLeaveTheFormUntouched) {
  auto form = support::LoadForm<TMainForm>();
  TLxTranslator& translator = TranslatorOf(*form);
  const Texts english = TextsOf(*form);
  translator.Open();
  EXPECT_FALSE(translator.Active());
  EXPECT_EQ(form->Caption(), "Main window");

  OpenMemoryDictionary(1);
  translator.Targets()->Clear();
  translator.Open();
  EXPECT_FALSE(translator.Active());
  EXPECT_EQ(TextsOf(*form), english);

  // A disabled dictionary or one that cannot open is not used either.
  translator.Targets()->Add("", 0, "Caption");
  memory_->SetEnabled(false);
  translator.Open();
  memory_->SetEnabled(true);
  memory_->canOpen = false;
  translator.Open();
  EXPECT_EQ(TextsOf(*form), english);
  memory_->canOpen = true;
  translator.Open();
  EXPECT_EQ(form->Caption(), "Ventana principal");
}

TEST_F(LxPolyTest, OpenFindsTheDictionaryByNameElseTheFirstOne) {
  auto form = support::LoadForm<TMainForm>();  // nothing to bind to yet: Loaded skips
  TLxTranslator& translator = TranslatorOf(*form);
  EXPECT_FALSE(translator.Active());
  auto other = support::MemoryDictionary();
  other->SetDictionaryName("Other");
  support::TLxMemoryDictionary& dictionary = OpenMemoryDictionary(1);
  translator.Open();
  EXPECT_EQ(translator.Dictionary(), &dictionary);

  translator.Close();
  translator.SetDictionaryName("Missing");
  translator.Open();
  EXPECT_EQ(translator.Dictionary(), other.get());
  EXPECT_TRUE(other->IsOpen());  // opened by the translator
}

TEST_F(LxPolyTest, AnAncestorFormClassIsAContextToo) {
  OpenMemoryDictionary(1);
  auto form = support::LoadForm<TChildForm>();
  TLxTranslator& translator = TranslatorOf(*form);
  ASSERT_TRUE(translator.Active());
  EXPECT_EQ(form->Caption(), "Ventana hija");
  EXPECT_EQ(Find<TButton>(*form, "HelpButton").Caption(), "Ayuda");
  EXPECT_EQ(Find<TButton>(*form, "OpenButton").Caption(), "Abrir");  // under TMainForm
  // Only through the ancestor's context: the dictionary has no flat translation.
  EXPECT_EQ(Find<framework::TMemo>(*form, "Notes").Text(), "Hola\r\nMundo\r\n");
  // The child's targets exclude every property of labels.
  EXPECT_EQ(Find<framework::TLabel>(*form, "FileLabel").Caption(), "&File name");
  EXPECT_EQ(translator.Targets()->Count(), 5);
}

TEST_F(LxPolyTest, FlatTranslationFallsBackToTheWordAlone) {
  support::TLxMemoryDictionary& dictionary = OpenMemoryDictionary(1);
  dictionary.SetText("Flat", 1, "Plano");
  auto form = support::LoadForm<TMainForm>();
  TLxTranslator& translator = TranslatorOf(*form);
  auto& button = Find<TButton>(*form, "OpenButton");
  button.SetCaption("Flat");
  translator.Open();
  EXPECT_EQ(button.Caption(), "Flat");
  translator.FlatTranslation = true;
  translator.Open();
  EXPECT_EQ(button.Caption(), "Plano");
  translator.FlatTranslation = false;
  dictionary.SetOptions(dictionary.Options() +
                        lang::TLxDictionaryOptions{lang::lxdoUseFlatTranslation});
  dictionary.SetLanguage(2);
  EXPECT_EQ(button.Caption(), "Flat");  // nothing in German: the native text
}

TEST_F(LxPolyTest, OwnedFormsAndUnnamedStringListsAreLeftAlone) {
  OpenMemoryDictionary(1);
  auto form = support::LoadForm<TMainForm>();
  memory_->SetText("Open", 1, "Abrir", "TMainForm");
  auto* owned = new framework::TForm(form.get());
  owned->SetCaption("Open");
  auto* unnamed = new framework::TListBox(form.get());
  unnamed->Items()->SetCommaText("Red,Blue");
  unnamed->SetHint("Open");
  TranslatorOf(*form).Open();
  EXPECT_EQ(owned->Caption(), "Open");
  EXPECT_EQ(unnamed->Items()->CommaText(), "Red,Blue");
  EXPECT_EQ(unnamed->Hint(), "Abrir");
}

TEST_F(LxPolyTest, TheSelectionOfListsSurvivesThePass) {
  support::TLxMemoryDictionary& dictionary = OpenMemoryDictionary(1);
  auto form = support::LoadForm<TMainForm>();
  auto& colours = Find<framework::TListBox>(*form, "Colours");
  auto& styles = Find<framework::TCheckListBox>(*form, "Styles");
  auto& sizes = Find<framework::TComboBox>(*form, "Sizes");
  EXPECT_EQ(colours.ItemIndex(), 1);
  EXPECT_EQ(sizes.ItemIndex(), 1);
  styles.SetMultiSelect(true);
  styles.SetSelected(0, true);
  styles.SetChecked(0, true);
  styles.SetChecked(1, true);
  styles.SetItemIndex(1);

  dictionary.SetLanguage(2);
  EXPECT_EQ(styles.Items()->CommaText(), "Fett,Kursiv");
  EXPECT_EQ(colours.ItemIndex(), 1);
  EXPECT_EQ(sizes.ItemIndex(), 1);
  EXPECT_TRUE(styles.Selected(0));
  EXPECT_TRUE(styles.Checked(0));
  EXPECT_TRUE(styles.Checked(1));
  EXPECT_EQ(styles.ItemIndex(), 1);
}

TEST_F(LxPolyTest, MenuHotKeysMovedByTheMenuAreFoundAgain) {
  support::TLxMemoryDictionary& dictionary = OpenMemoryDictionary(1);
  auto form = support::LoadForm<TMainForm>();
  auto& open = Find<TMenuItem>(*form, "OpenItem");
  auto& exit = Find<TMenuItem>(*form, "ExitItem");
  // Both Spanish captions ask for "A"; the menu's automatic hot keys move the second one.
  EXPECT_EQ(open.Caption(), "&Abrir");
  EXPECT_EQ(exit.Caption(), "A&cabar");
  EXPECT_EQ(Find<framework::TMainMenu>(*form, "MainMenu1").AutoHotkeys(), framework::maAutomatic);

  dictionary.SetLanguage(2);
  EXPECT_EQ(open.Caption(), "&Oeffnen");
  EXPECT_EQ(exit.Caption(), "&Beenden");
  EXPECT_EQ(Find<TMenuItem>(*form, "FileItem").Caption(), "&Datei");
  dictionary.SetLanguage(1);
  EXPECT_EQ(exit.Caption(), "A&cabar");
}

// Menus that join or leave the form between passes are switched to manual hot keys for the
// walk, or no longer touched.
TEST_F(LxPolyTest, AMenuCaptionWithoutItsMarkerIsStillLookedUpStripped) {
  support::TLxMemoryDictionary& dictionary = OpenMemoryDictionary(1);
  dictionary.SetText("Quit", 1, "Salir", "TMainForm", "ExitItem");
  dictionary.SetText("Quit", 2, "Ende", "TMainForm", "ExitItem");
  auto form = support::LoadForm<TMainForm>();
  Find<framework::TMainMenu>(*form, "MainMenu1").SetAutoHotkeys(framework::maManual);
  auto& exit = Find<TMenuItem>(*form, "ExitItem");
  exit.SetCaption("&Quit");
  TranslatorOf(*form).Open();
  ASSERT_EQ(exit.Caption(), "Salir");
  dictionary.SetLanguage(2);
  EXPECT_EQ(exit.Caption(), "Ende");
}

TEST_F(LxPolyTest, ACaptionSetBetweenPassesIsANewNativeText) {
  support::TLxMemoryDictionary& dictionary = OpenMemoryDictionary(1);
  auto form = support::LoadForm<TMainForm>();
  auto& button = Find<TButton>(*form, "OpenButton");
  button.SetCaption("Nowhere");
  button.SetHint("");
  dictionary.SetLanguage(2);
  EXPECT_EQ(button.Caption(), "Nowhere");
  button.SetCaption("Open a file");  // known for this button
  dictionary.SetLanguage(1);
  EXPECT_EQ(button.Caption(), "Abrir un archivo");
  EXPECT_EQ(button.Hint(), "");
}

TEST_F(LxPolyTest, TextsEmptiedByTheDictionaryComeBack) {
  support::TLxMemoryDictionary& dictionary = OpenMemoryDictionary(2);
  dictionary.SetMissingTranslation(lang::lxmtUseNull);
  auto form = support::LoadForm<TMainForm>();
  form->SetCaption("Untranslated");
  auto& colours = Find<framework::TListBox>(*form, "Colours");
  colours.Items()->SetCommaText("Red,Pink,Lilac");
  TLxTranslator& translator = TranslatorOf(*form);
  translator.Open();
  ASSERT_EQ(form->Caption(), "");
  ASSERT_EQ(colours.Items()->CommaText(), "Rot,,");
  dictionary.SetText("Untranslated", 1, "Sin traducir", "TMainForm");
  dictionary.SetText("Lilac", 1, "Lila", "TMainForm", "Colours");
  dictionary.SetLanguage(1);
  EXPECT_EQ(form->Caption(), "Sin traducir");
  EXPECT_EQ(colours.Items()->CommaText(), "Rojo,,Lila");
  translator.Revert();
  EXPECT_EQ(form->Caption(), "Untranslated");
  EXPECT_EQ(colours.Items()->CommaText(), "Red,Pink,Lilac");
}

TEST_F(LxPolyTest, AMissingTranslationThatRaisesEndsThePassInactive) {
  support::TLxMemoryDictionary& dictionary = OpenMemoryDictionary(1);
  dictionary.SetMissingTranslation(lang::lxmtRaiseException);
  auto form = support::LoadForm<TMainForm>();  // the automatic open raises inside Loaded
  TLxTranslator& translator = TranslatorOf(*form);
  translator.Revert();
  form->SetCaption("Unknown");
  int after = 0;
  translator.OnAfterTranslate = [&after](lang::TLxCustomTranslator*) { ++after; };
  EXPECT_RAISES(translator.Open(), lang::ELxPoly,
                "Dictionary does not contain a translation for the word \"Unknown\"");
  EXPECT_FALSE(translator.Active());
  EXPECT_FALSE(dictionary.IsRegistered(&translator));
  EXPECT_EQ(after, 0);
}

TEST_F(LxPolyTest, RestrictionsAndTheirEvents) {
  OpenMemoryDictionary(1);
  auto form = support::LoadForm<TMainForm>();
  TLxTranslator& translator = TranslatorOf(*form);
  translator.Revert();
  memory_->SetText("Open", 1, "Abrir", "TMainForm", "Group");
  memory_->SetText("Open", 1, "Abrir", "TMainForm", "Inner");
  auto* group = new framework::TGroupBox(form.get());
  group->SetName("Group");
  group->SetCaption("Open");
  auto* inner = new TButton(group);
  inner->SetName("Inner");
  inner->SetCaption("Open");
  auto& button = Find<TButton>(*form, "OpenButton");
  auto& sizes = Find<framework::TComboBox>(*form, "Sizes");
  std::vector<std::string> translated;
  translator.OnRestrictComponent = [&](TLxTranslator*, TComponent* component,
                                       TLxRestrictions& restrictions) {
    if (component == group) restrictions = {lxrBuildInTranslation, lxrThisComponentOnly};
  };
  translator.OnRestrictObject = [&](TLxTranslator*, framework::TObject* obj, bool& translate) {
    if (obj == &sizes) translate = false;
  };
  translator.OnRestrictProperty = [&](TLxTranslator*, framework::TObject* obj,
                                      const std::string& name, bool& translate) {
    if (obj == &button && name == "Hint") translate = false;
  };
  translator.OnTranslate = [&](TLxTranslator*, TComponent* component) {
    translated.push_back(component->Name());
  };
  translator.Open();
  EXPECT_EQ(group->Caption(), "Open");
  EXPECT_EQ(inner->Caption(), "Abrir");
  EXPECT_EQ(sizes.Items()->CommaText(), "Small,Large");
  EXPECT_EQ(button.Caption(), "Abrir");
  EXPECT_EQ(button.Hint(), "Open a file");
  // Children before their owner, the root last.
  ASSERT_FALSE(translated.empty());
  EXPECT_EQ(translated.back(), "MainForm");
  const auto at = [&](const std::string& name) {
    return std::find(translated.begin(), translated.end(), name) - translated.begin();
  };
  EXPECT_LT(at("Inner"), at("Group"));

  // Without ThisComponentOnly the restrictions reach the owned components too.
  translator.Revert();
  translator.OnRestrictComponent = [&](TLxTranslator*, TComponent* component,
                                       TLxRestrictions& restrictions) {
    if (component == group) restrictions = {lxrBuildInTranslation};
  };
  translator.Open();
  EXPECT_EQ(inner->Caption(), "Open");
  EXPECT_EQ(button.Caption(), "Abrir");
}

// Holds the same sub-object under two properties.
class TTwoWays : public framework::TPersistent {
  LX_CLASS(TTwoWays, framework::TPersistent)

 public:
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value) { caption_ = value; }

 private:
  std::string caption_;
};

class TLinkHolder : public TComponent {
  LX_CLASS(TLinkHolder, TComponent)

 public:
  explicit TLinkHolder(TComponent* owner) : TComponent(owner) {}
  TTwoWays* First() const { return link_; }
  void SetFirst(TTwoWays* value) { link_ = value; }
  TTwoWays* Second() const { return link_; }
  void SetSecond(TTwoWays* value) { link_ = value; }
  TComponent* Other() const { return other_; }
  void SetOther(TComponent* value) { other_ = value; }
  TTwoWays* link_ = nullptr;
  TComponent* other_ = nullptr;
};

// A component with a wide caption, a "locale" number and a collection of captioned items.
class TGadget : public TComponent {
  LX_CLASS(TGadget, TComponent)

 public:
  explicit TGadget(TComponent* owner)
      : TComponent(owner),
        plainParts_(std::make_unique<framework::TCollection>(
            framework::TComboExItem::StaticClassInfo(), this)) {}
  const std::u16string& Caption() const { return caption_; }
  void SetCaption(const std::u16string& value) { caption_ = value; }
  int Locale() const { return locale_; }
  void SetLocale(int value) { locale_ = value; }
  framework::TCollection* Parts() const { return plainParts_.get(); }
  void SetParts(framework::TCollection* value) { plainParts_->Assign(value); }

 private:
  std::u16string caption_;
  int locale_ = 7;
  std::unique_ptr<framework::TCollection> plainParts_;
};

// A control class that no form of the tests uses before it is made.
class TLatecomer : public TComponent {
  LX_CLASS(TLatecomer, TComponent)

 public:
  explicit TLatecomer(TComponent* owner) : TComponent(owner) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value) { caption_ = value; }

 private:
  std::string caption_;
};

}  // namespace

LX_PUBLISHED(TLatecomer,
             framework::Property("Caption", &TLatecomer::Caption, &TLatecomer::SetCaption))

LX_PUBLISHED(TGadget, framework::Property("Caption", &TGadget::Caption, &TGadget::SetCaption),
             framework::Property("Locale", &TGadget::Locale, &TGadget::SetLocale),
             framework::Property("Parts", &TGadget::Parts, &TGadget::SetParts))

LX_PUBLISHED(TTwoWays, framework::Property("Caption", &TTwoWays::Caption, &TTwoWays::SetCaption))
LX_PUBLISHED(TLinkHolder, framework::Property("First", &TLinkHolder::First, &TLinkHolder::SetFirst),
             framework::Property("Second", &TLinkHolder::Second, &TLinkHolder::SetSecond),
             framework::Property("Other", &TLinkHolder::Other, &TLinkHolder::SetOther))

namespace {

TEST_F(LxPolyTest, AnObjectReachedTwiceIsHandledOnce) {
  support::TLxMemoryDictionary& dictionary = OpenMemoryDictionary(1);
  auto form = support::LoadForm<TMainForm>();
  dictionary.SetText("Open", 1, "Abrir", "TMainForm");  // objects that are no components
  TTwoWays shared;
  shared.SetCaption("Open");
  auto* holder = new TLinkHolder(form.get());
  holder->SetName("Holder");
  holder->link_ = &shared;
  int visits = 0;
  TLxTranslator& translator = TranslatorOf(*form);
  translator.OnRestrictObject = [&](TLxTranslator*, framework::TObject* obj, bool&) {
    if (obj == &shared) ++visits;
  };
  dictionary.lookups.clear();
  translator.Open();
  EXPECT_EQ(visits, 1);
  EXPECT_EQ(shared.Caption(), "Abrir");
  EXPECT_EQ(std::count(dictionary.lookups.begin(), dictionary.lookups.end(), "Open|TMainForm|"), 1);
}

TEST_F(LxPolyTest, WideTextsCollectionsAndLocaleNumbers) {
  support::TLxMemoryDictionary& dictionary = OpenMemoryDictionary(1);
  dictionary.SetText("Open", 1, "Abrir", "TMainForm", "Gadget");
  dictionary.SetText("Open", 1, "Abrir", "TMainForm");
  dictionary.SetText("Open", 2, "Oeffnen", "TMainForm");
  auto form = support::LoadForm<TMainForm>();
  auto* gadget = new TGadget(form.get());
  gadget->SetName("Gadget");
  gadget->SetCaption(u"Open");
  auto* part = static_cast<framework::TComboExItem*>(gadget->Parts()->Add());
  part->SetCaption("Open");
  TLxTranslator& translator = TranslatorOf(*form);
  translator.Open();
  EXPECT_EQ(gadget->Caption(), u"Abrir");
  EXPECT_EQ(part->Caption(), "Abrir");
  EXPECT_EQ(gadget->Locale(), 7);  // only with lxtoUpdateLocaleProperty

  translator.SetOptions(translator.Options() + TLxTranslatorOptions{lxtoUpdateLocaleProperty});
  dictionary.SetLanguage(2);
  EXPECT_EQ(part->Caption(), "Oeffnen");
  EXPECT_EQ(gadget->Locale(), dictionary.LanguageLocaleId());
  EXPECT_EQ(gadget->Locale(), 0x0407);
  translator.OnRestrictComponent = [gadget](TLxTranslator*, TComponent* component,
                                            TLxRestrictions& restrictions) {
    if (component == gadget) restrictions = {lxrFlip};
  };
  gadget->SetLocale(7);
  dictionary.SetLanguage(1);
  EXPECT_EQ(gadget->Locale(), 7);
}

TEST_F(LxPolyTest, ADestroyedComponentLeavesNothingBehindInTheTable) {
  support::TLxMemoryDictionary& dictionary = OpenMemoryDictionary(1);
  auto form = support::LoadForm<TMainForm>();
  TLxTranslator& translator = TranslatorOf(*form);
  TButton* button = &Find<TButton>(*form, "OpenButton");
  const int before = translator.Table().Count();
  delete button;
  EXPECT_EQ(translator.Table().Count(), before - 2);
  for (int i = 0; i < translator.Table().Count(); ++i)
    EXPECT_NE(translator.Table().Items(i).Control, button);

  // A component owned elsewhere, reached through a reference, is watched as well.
  auto outside = std::make_unique<framework::TForm>(nullptr);
  auto* far = new TButton(outside.get());
  far->SetName("Far");
  far->SetCaption("Open");
  dictionary.SetText("Open", 2, "Oeffnen", "TMainForm", "Far");
  auto* holder = new TLinkHolder(form.get());
  holder->SetName("Holder");
  holder->other_ = far;
  dictionary.SetLanguage(2);
  EXPECT_EQ(far->Caption(), "Oeffnen");
  const int withOutside = translator.Table().Count();
  holder->other_ = nullptr;
  outside.reset();
  EXPECT_EQ(translator.Table().Count(), withOutside - 1);
  dictionary.SetLanguage(1);
  EXPECT_EQ(form->Caption(), "Ventana principal");
}

TEST_F(LxPolyTest, TargetsChangedBetweenPassesAreFollowed) {
  support::TLxMemoryDictionary& dictionary = OpenMemoryDictionary(1);
  auto form = support::LoadForm<TMainForm>();
  TLxTranslator& translator = TranslatorOf(*form);
  TButton& button = Find<TButton>(*form, "OpenButton");
  TLxTargetProperties original;
  original.Assign(translator.Targets());

  translator.Targets()->Add("TButton", 1, "Hint");
  dictionary.SetLanguage(2);
  EXPECT_EQ(button.Caption(), "Oeffnen");
  EXPECT_EQ(button.Hint(), "Abrir un archivo");
  EXPECT_EQ(form->Hint(), "Das Hauptfenster");

  // An entry changed in place counts as much as one added.
  translator.Targets()->Items(translator.Targets()->Count() - 1).TargetProperty = "Caption";
  dictionary.SetLanguage(1);
  EXPECT_EQ(button.Caption(), "Oeffnen");
  EXPECT_EQ(button.Hint(), "Abrir un archivo");  // its native text is translated again

  translator.SetTargets(&original);
  dictionary.SetLanguage(2);
  EXPECT_EQ(button.Caption(), "Oeffnen");
  EXPECT_EQ(button.Hint(), "Datei oeffnen");
  dictionary.SetLanguage(0);
  EXPECT_EQ(button.Caption(), "Open");
  EXPECT_EQ(button.Hint(), "Open a file");
}

TEST_F(LxPolyTest, AClassFirstMetInALaterPassIsTranslated) {
  support::TLxMemoryDictionary& dictionary = OpenMemoryDictionary(1);
  dictionary.SetText("Late", 1, "Tarde", "TMainForm", "Late1");
  dictionary.SetText("Late", 2, "Spaet", "TMainForm", "Late1");
  auto form = support::LoadForm<TMainForm>();
  TLxTranslator& translator = TranslatorOf(*form);
  ASSERT_TRUE(translator.Active());

  // Registered now, and made by name as a stored form would make it.
  framework::RegisterClass(TLatecomer::StaticClassInfo());
  auto* late =
      static_cast<TLatecomer*>(framework::FindClass("TLatecomer").CreateComponent(form.get()));
  late->SetName("Late1");
  late->SetCaption("Late");
  dictionary.SetLanguage(2);
  EXPECT_EQ(late->Caption(), "Spaet");
  // Excluding the new class stops its texts at once.
  translator.Targets()->Add("TLatecomer", 1, "");
  dictionary.SetLanguage(1);
  EXPECT_EQ(late->Caption(), "Spaet");
  EXPECT_EQ(form->Caption(), "Ventana principal");
  framework::UnRegisterClass(TLatecomer::StaticClassInfo());
}

TEST_F(LxPolyTest, ComponentsReplacedBetweenPassesTakeNothingFromTheirPredecessors) {
  support::TLxMemoryDictionary& dictionary = OpenMemoryDictionary(1);
  dictionary.SetText("Late", 2, "Spaet", "TMainForm", "OpenButton");
  auto form = support::LoadForm<TMainForm>();
  TLxTranslator& translator = TranslatorOf(*form);
  // Components of other classes come and go where the button was, pass after pass.
  for (int round = 0; round < 3; ++round) {
    delete form->FindComponent("OpenButton");
    auto* late = new TLatecomer(form.get());
    late->SetName("OpenButton");
    late->SetCaption("Late");
    dictionary.SetLanguage(2);
    EXPECT_EQ(late->Caption(), "Spaet");
    delete late;
    auto* button = new TButton(form.get());
    button->SetName("OpenButton");
    button->SetCaption("Open");
    dictionary.SetLanguage(1);
    EXPECT_EQ(button->Caption(), "Abrir");
    EXPECT_EQ(button->Hint(), "");
  }
  for (int i = 0; i < translator.Table().Count(); ++i) {
    const TLxTranslatorTableItem& item = translator.Table().Items(i);
    if (item.ComponentName == "OpenButton") {
      EXPECT_EQ(item.Control, form->FindComponent("OpenButton"));
    }
  }
}

TEST_F(LxPolyTest, EventsAreAskedAboutWhatHasNothingToTranslate) {
  support::TLxMemoryDictionary& dictionary = OpenMemoryDictionary(1);
  auto form = support::LoadForm<TMainForm>();
  TLxTranslator& translator = TranslatorOf(*form);
  TTwoWays idle;  // its Caption is no target of this form
  auto* holder = new TLinkHolder(form.get());
  holder->SetName("Holder");
  holder->link_ = &idle;
  translator.Targets()->Add("TTwoWays", 1, "Caption");
  std::vector<std::string> objects;
  std::vector<std::string> properties;
  translator.OnRestrictObject = [&](TLxTranslator*, framework::TObject* obj, bool&) {
    if (obj == &idle || obj == holder) objects.push_back(obj->ClassName());
  };
  translator.OnRestrictProperty = [&](TLxTranslator*, framework::TObject* obj,
                                      const std::string& name, bool&) {
    if (obj == &idle || obj == holder) properties.push_back(name);
  };
  translator.Open();
  EXPECT_EQ(objects, (Texts{"TLinkHolder", "TTwoWays"}));
  // The name and the texts that are no targets are asked about too, in published order,
  // each object once.
  EXPECT_EQ(properties, (Texts{"Name", "First", "Caption", "Second", "Other"}));

  // Without events such objects are passed by, and nothing else changes.
  translator.OnRestrictObject = nullptr;
  translator.OnRestrictProperty = nullptr;
  idle.SetCaption("Open");
  dictionary.SetLanguage(2);
  EXPECT_EQ(idle.Caption(), "Open");
  EXPECT_EQ(Find<TButton>(*form, "OpenButton").Caption(), "Oeffnen");
}

TEST_F(LxPolyTest, ADestroyedDictionaryIsDroppedByAnInactiveTranslator) {
  OpenMemoryDictionary(1);
  auto form = support::LoadForm<TMainForm>();
  TLxTranslator& translator = TranslatorOf(*form);
  translator.Close();
  translator.SetDictionary(memory_.get());
  ASSERT_EQ(translator.Dictionary(), memory_.get());
  memory_.reset();
  EXPECT_EQ(translator.Dictionary(), nullptr);
  translator.Open();  // nothing to bind to: no crash, nothing done
  EXPECT_FALSE(translator.Active());
}

TEST_F(LxPolyTest, LanguageChangedFollowsAutoTranslate) {
  support::TLxMemoryDictionary& dictionary = OpenMemoryDictionary(1);
  auto form = support::LoadForm<TMainForm>();
  TLxTranslator& translator = TranslatorOf(*form);
  std::vector<std::string> events;
  translator.OnLanguageChange = [&](framework::TObject*) { events.push_back("language"); };
  translator.OnLocaleChange = [&](framework::TObject*) { events.push_back("locale"); };
  translator.SetOptions(translator.Options() - TLxTranslatorOptions{lxtoAutoTranslate});
  dictionary.SetLanguage(2);
  EXPECT_EQ(form->Caption(), "Ventana principal");
  EXPECT_EQ(events, (std::vector<std::string>{"language"}));
  translator.SetOptions(translator.Options() + TLxTranslatorOptions{lxtoAutoTranslate});
  translator.LanguageChanged(true, true);
  EXPECT_EQ(form->Caption(), "Hauptfenster");
}

TEST_F(LxPolyTest, TranslateToNativeLeavesTheDictionaryOnItsNativeLanguage) {
  support::TLxMemoryDictionary& dictionary = OpenMemoryDictionary(1);
  auto form = support::LoadForm<TMainForm>();
  TLxTranslator& translator = TranslatorOf(*form);
  const lang::TLxDictionaryOptions options = dictionary.Options();
  translator.TranslateToNative();
  EXPECT_EQ(form->Caption(), "Main window");
  EXPECT_EQ(dictionary.Language(), 0);
  EXPECT_EQ(dictionary.Options(), options);
  EXPECT_FALSE(translator.Active());
}

TEST_F(LxPolyTest, TheBinaryDictionaryTranslatesTheSameForm) {
  std::unique_ptr<lang::TLxDictionary> dictionary = support::ResourceDictionary();
  dictionary->SetLanguage(1);
  dictionary->Open();
  auto form = support::LoadForm<TMainForm>();
  EXPECT_EQ(form->Caption(), "Ventana principal");
  const Texts spanish = TextsOf(*form);
  dictionary->SetLanguage(2);
  EXPECT_EQ(Find<TMenuItem>(*form, "ExitItem").Caption(), "&Beenden");
  EXPECT_EQ(Find<framework::TMemo>(*form, "Notes").Text(), "Hallo\r\nWelt\r\n");
  dictionary->SetLanguage(1);
  EXPECT_EQ(TextsOf(*form), spanish);
  TranslatorOf(*form).Revert();
  EXPECT_EQ(form->Caption(), "Main window");

  auto child = support::LoadForm<TChildForm>();
  EXPECT_EQ(Find<TButton>(*child, "OpenButton").Caption(), "Abrir");
  EXPECT_EQ(Find<TButton>(*child, "HelpButton").Caption(), "Ayuda");
}

}  // namespace
}  // namespace lx::translator

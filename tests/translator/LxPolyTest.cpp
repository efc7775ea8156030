#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

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

using framework::TButton;
using framework::TComponent;
using framework::TControl;
using framework::TMenuItem;
using support::TChildForm;
using support::TMainForm;
using Texts = std::vector<std::string>;

template <typename T>
T& Find(const TComponent& owner, const char* name) {
  auto* found = dynamic_cast<T*>(owner.FindComponent(name));
  if (found == nullptr) throw std::runtime_error(std::string("no component ") + name);
  return *found;
}

// Every text of the form the translator may touch, in one list.
Texts TextsOf(const TComponent& form) {
  Texts texts;
  if (auto* control = dynamic_cast<const TControl*>(&form)) {
    texts.push_back(control->Caption());
    texts.push_back(control->Hint());
  }
  for (int i = 0; i < form.ComponentCount(); ++i) {
    TComponent* component = form.Components(i);
    if (auto* item = dynamic_cast<TMenuItem*>(component)) texts.push_back(item->Caption());
    if (auto* memo = dynamic_cast<framework::TCustomMemo*>(component)) {
      texts.push_back(memo->Text());
    } else if (auto* control = dynamic_cast<TControl*>(component)) {
      texts.push_back(control->Caption());
      texts.push_back(control->Hint());
    }
    if (auto* list = dynamic_cast<framework::TCustomListBox*>(component))
      texts.push_back(list->Items()->CommaText());
    if (auto* combo = dynamic_cast<framework::TCustomComboBox*>(component))
      texts.push_back(combo->Items()->CommaText());
  }
  return texts;
}

class LxPolyTest : public ::testing::Test {
 protected:
  LxPolyTest() { support::RegisterTranslatorForms(); }

  // The in-memory dictionary in `language`, open.
  support::TLxMemoryDictionary& OpenMemoryDictionary(int language) {
    memory_ = support::MemoryDictionary();
    memory_->SetLanguage(language);
    memory_->Open();
    return *memory_;
  }

  static TLxTranslator& TranslatorOf(const TComponent& form) {
    return Find<TLxTranslator>(form, "Translator1");
  }

  support::FixedSystem system_;
  support::TLxProcessState state_;
  std::unique_ptr<support::TLxMemoryDictionary> memory_;
};

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
TEST_F(LxPolyTest, EveryMenuOfTheFormHasManualHotKeysDuringThePass) {
  support::TLxMemoryDictionary& dictionary = OpenMemoryDictionary(1);
  auto form = support::LoadForm<TMainForm>();
  TLxTranslator& translator = TranslatorOf(*form);
  auto* popup = new framework::TPopupMenu(form.get());
  std::vector<framework::TMenuAutoFlag> seen;
  translator.OnTranslate = [&](TLxTranslator*, TComponent* component) {
    if (component == form.get()) seen.push_back(popup->AutoHotkeys());
  };
  dictionary.SetLanguage(2);
  delete popup;
  popup = new framework::TPopupMenu(form.get());
  dictionary.SetLanguage(1);
  delete popup;
  popup = new framework::TPopupMenu(nullptr);  // not the form's: left alone
  dictionary.SetLanguage(2);
  EXPECT_EQ(seen, (std::vector<framework::TMenuAutoFlag>{framework::maManual, framework::maManual,
                                                         framework::maAutomatic}));
  EXPECT_EQ(popup->AutoHotkeys(), framework::maAutomatic);
  delete popup;
}

// The hot key of the native text decides whether the stripped text is looked up, whatever
// the caption shows now.
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
  EXPECT_EQ(support::MessageOf<lang::ELxPoly>([&] { translator.Open(); }),
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

TEST_F(LxPolyTest, TheSystemMenuIsTranslatedWhole) {
  support::TLxMemoryDictionary& dictionary = OpenMemoryDictionary(1);
  const std::string longText = "&" + std::string(300, 'M');
  dictionary.SetText("&Move", 1, longText);
  auto form = support::LoadForm<TMainForm>();
  form->HandleNeeded();
  TranslatorOf(*form).Open();
  const platform::HMENU menu = platform::GetSystemMenu(form->Handle(), false);
  const auto text = [menu](platform::UINT id) {
    char buffer[512] = {};
    platform::GetMenuString(menu, id, buffer, platform::MF_BYCOMMAND);
    return std::string(buffer);
  };
  EXPECT_EQ(text(platform::SC_CLOSE), "&Cerrar\tAlt+F4");
  EXPECT_EQ(text(platform::SC_MOVE), longText);
  EXPECT_EQ(text(platform::SC_SIZE), "&Size");
}

TEST_F(LxPolyTest, StripHotkeyRemovesMarkers) {
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

// ---- Fonts, far-east scaling and right-to-left layout

// A form class of its own, built from forms/LayoutForm.lxfm: a label, panels inside panels,
// an edit, and a component with a column title.
class TLayoutForm : public framework::TForm {
  LX_CLASS(TLayoutForm, framework::TForm)

 public:
  explicit TLayoutForm(TComponent* owner) : TForm(owner) {}
};
LX_PUBLISHED(TLayoutForm)

// Grids keep the font of their column titles themselves.
class TColumnTitle : public framework::TPersistent {
  LX_CLASS(TColumnTitle, framework::TPersistent)

 public:
  framework::TFont* Font() const { return font_.get(); }
  void SetFont(framework::TFont* value) { font_->Assign(value); }

 private:
  std::unique_ptr<framework::TFont> font_ = std::make_unique<framework::TFont>();
};
LX_PUBLISHED(TColumnTitle, Property("Font", &TColumnTitle::Font, &TColumnTitle::SetFont))

class TTitledColumns : public TComponent {
  LX_CLASS(TTitledColumns, TComponent)

 public:
  explicit TTitledColumns(TComponent* owner) : TComponent(owner) {}
  TColumnTitle* Title() const { return title_.get(); }
  void SetTitle(TColumnTitle* value) { title_->Font()->Assign(value->Font()); }

 private:
  std::unique_ptr<TColumnTitle> title_ = std::make_unique<TColumnTitle>();
};
LX_PUBLISHED(TTitledColumns, Property("Title", &TTitledColumns::Title, &TTitledColumns::SetTitle))

// Takes over the mirroring of every control.
class TMirroringModule : public TLxModule {
 public:
  bool MirrorControl(TLxTranslator*, TComponent*, TLxBidirectionalState*) override {
    ++mirrored;
    return true;
  }
  int mirrored = 0;
};

// Notes every component it is asked to apply the reading order to.
class TReadingOrderModule : public TLxModule {
 public:
  bool ApplyReadingOrder(TLxTranslator*, TComponent* component) override {
    asked.push_back(component->Name());
    return false;
  }
  Texts asked;
};

// Languages: 0 English, 1 Japanese, 2 Arabic (no font of its own), 3 Chinese.
std::unique_ptr<support::TLxMemoryDictionary> LayoutDictionary() {
  auto dictionary = std::make_unique<support::TLxMemoryDictionary>(nullptr);
  dictionary->SetDictionaryName("Dictionary1");
  dictionary->SetBinding(lang::lxbiNone);
  dictionary->SetCheckLevel(lang::lxclNone);  // the test system reads none of these scripts
  dictionary->AddLanguage(0, 0, 1252, "", "English");
  dictionary->AddLanguage(lang::TLxLanguage(17, 1, 932, "", "Japanese", "", "MS UI Gothic", 9, {}));
  dictionary->AddLanguage(lang::TLxLanguage(1, 1, 1256, "", "Arabic", "", "", 0, {}));
  dictionary->AddLanguage(lang::TLxLanguage(4, 2, 936, "", "Chinese", "", "SimSun", 10, {}));
  dictionary->SetText("Title", 1, "Taitoru");
  dictionary->SetText("Title", 2, "Unwan");
  dictionary->SetText("Title", 3, "Biaoti");
  return dictionary;
}

constexpr int kEnglish = 0, kJapanese = 1, kArabic = 2, kChinese = 3;
constexpr framework::TFontCharset kShiftJis = 128, kArabicCharset = 178, kGb2312 = 134;

struct TPlace {
  std::string name;
  int left, top, width, height, fontHeight;
  bool operator==(const TPlace&) const = default;
};
using Places = std::vector<TPlace>;
void PrintTo(const TPlace& place, std::ostream* out) {
  *out << place.name << " (" << place.left << ", " << place.top << ", " << place.width << ", "
       << place.height << ", font " << place.fontHeight << ")";
}

Places PlacesOf(const TComponent& form) {
  Places places;
  auto add = [&places](const TControl& control) {
    places.push_back({control.Name(), control.Left(), control.Top(), control.Width(),
                      control.Height(), control.Font()->Height()});
  };
  add(dynamic_cast<const TControl&>(form));
  for (int i = 0; i < form.ComponentCount(); ++i) {
    if (auto* control = dynamic_cast<TControl*>(form.Components(i))) add(*control);
  }
  return places;
}

class LxPolyLayoutTest : public ::testing::Test {
 protected:
  LxPolyLayoutTest() {
    support::RegisterTranslatorForms();
    framework::RegisterClasses({&framework::TPanel::StaticClassInfo(),
                                &TLayoutForm::StaticClassInfo(),
                                &TTitledColumns::StaticClassInfo()});
    form_ = support::LoadForm<TLayoutForm>();  // no dictionary yet: stays closed
    dictionary_ = LayoutDictionary();
  }
  ~LxPolyLayoutTest() override {
    while (Modules()->Count() > 0)
      UnregisterModule(Modules()->Items(0)).reset();
  }

  // Opens the translator in `language` (the form with its window unless told otherwise).
  TLxTranslator& Open(int language, bool window = true) {
    if (window) form_->HandleNeeded();
    dictionary_->SetLanguage(language);
    dictionary_->Open();
    translator().Open();
    return translator();
  }
  TLxTranslator& translator() { return Find<TLxTranslator>(*form_, "Translator1"); }
  template <typename T = TControl>
  T& Get(const char* name) {
    return Find<T>(*form_, name);
  }
  framework::TFont& FontOf(const char* name) { return *Get(name).Font(); }

  support::FixedSystem system_;
  support::TLxProcessState state_;
  std::unique_ptr<TLayoutForm> form_;
  std::unique_ptr<support::TLxMemoryDictionary> dictionary_;
};

TEST_F(LxPolyLayoutTest, WithCharsetChangeDisabledOnlyTheFormFontFollowsTheLanguage) {
  translator().SetCharsetChange(lxccDisabled);
  translator().SetMultiByteScale(100);
  Open(kJapanese);
  EXPECT_EQ(FontOf("TitleLabel").Name(), "Tahoma");
  EXPECT_EQ(FontOf("TitleLabel").Charset(), framework::kDefaultCharset);
  EXPECT_EQ(FontOf("NameEdit").Name(), "Tahoma");
  EXPECT_EQ(form_->Font()->Name(), "MS UI Gothic");
  EXPECT_EQ(form_->Font()->Size(), 9);
  EXPECT_EQ(form_->Font()->Charset(), kShiftJis);

  // Without lxtoCheckFont the form's font stays as well.
  translator().SetOptions(translator().Options() - TLxTranslatorOptions{lxtoCheckFont});
  dictionary_->SetLanguage(kChinese);
  EXPECT_EQ(form_->Font()->Name(), "MS UI Gothic");
}

TEST_F(LxPolyLayoutTest, ALanguageWithoutAFontChangesTheCharsetAndBringsBackTheFormsFont) {
  translator().SetMultiByteScale(100);
  Open(kJapanese);
  EXPECT_EQ(FontOf("TitleLabel").Name(), "MS UI Gothic");
  EXPECT_EQ(FontOf("TitleLabel").Size(), 9);
  EXPECT_EQ(FontOf("TitleLabel").Charset(), kShiftJis);
  EXPECT_EQ(translator().SavedFontName(), "Tahoma");
  EXPECT_EQ(translator().SavedFontSize(), 8);

  dictionary_->SetLanguage(kArabic);
  EXPECT_EQ(FontOf("TitleLabel").Name(), "MS UI Gothic");
  EXPECT_EQ(FontOf("TitleLabel").Size(), 9);
  EXPECT_EQ(FontOf("TitleLabel").Charset(), kArabicCharset);
  EXPECT_EQ(form_->Font()->Name(), "Tahoma");
  EXPECT_EQ(form_->Font()->Size(), 8);
  EXPECT_EQ(form_->Font()->Charset(), kArabicCharset);
}

TEST_F(LxPolyLayoutTest, UnderNormalCharsetChangeOnlyControlsThatCanHaveAWindowChangeFont) {
  translator().SetMultiByteScale(100);
  Open(kChinese, false);
  EXPECT_EQ(FontOf("TitleLabel").Name(), "SimSun");  // drawn in its parent: no window needed
  EXPECT_EQ(FontOf("TitleLabel").Charset(), kGb2312);
  EXPECT_EQ(FontOf("NameEdit").Name(), "Tahoma");  // its parent has no window either
  EXPECT_FALSE(Get<framework::TWinControl>("NameEdit").HandleAllocated());
  EXPECT_EQ(form_->Font()->Name(), "Tahoma");  // the form has no window: left alone

  // A font that cannot change is still asked about when the event is there.
  int asked = 0;
  translator().OnRestrictProperty = [&](TLxTranslator*, framework::TObject* obj,
                                        const std::string& name, bool&) {
    if (obj == &Get<framework::TWinControl>("NameEdit") && name == "Font") ++asked;
  };
  translator().Open();
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(FontOf("NameEdit").Name(), "Tahoma");
  translator().OnRestrictProperty = nullptr;

  // Once the form has a window, the panel's is made and so on down.
  form_->HandleNeeded();
  translator().Open();
  EXPECT_EQ(FontOf("NameEdit").Name(), "SimSun");
  EXPECT_EQ(FontOf("OkButton").Charset(), kGb2312);
  EXPECT_TRUE(Get<framework::TWinControl>("NameEdit").HandleAllocated());
  EXPECT_EQ(form_->Font()->Name(), "SimSun");
}

TEST_F(LxPolyLayoutTest, EveryFontButTheColumnTitlesAndTheRestrictedOnesFollowsUnderAll) {
  translator().SetCharsetChange(lxccAll);
  translator().SetMultiByteScale(100);
  translator().OnRestrictComponent = [](TLxTranslator*, TComponent* component,
                                        TLxRestrictions& restrictions) {
    if (component->Name() == "OkButton") restrictions = {lxrCharset};
  };
  Open(kJapanese, false);
  EXPECT_EQ(FontOf("NameEdit").Name(), "MS UI Gothic");
  EXPECT_EQ(FontOf("NameEdit").Charset(), kShiftJis);
  EXPECT_EQ(FontOf("OkButton").Name(), "Tahoma");
  const framework::TFont& title = *Get<TTitledColumns>("Columns").Title()->Font();
  EXPECT_EQ(title.Name(), "Courier");
  EXPECT_EQ(title.Charset(), framework::kDefaultCharset);
}

TEST_F(LxPolyLayoutTest, FarEastLanguagesScaleTheFormOnceAndOthersScaleItBackExactly) {
  const Places native = PlacesOf(*form_);
  translator().SetCharsetChange(lxccDisabled);
  int scaled = 0;
  translator().OnScale = [&scaled, this](TLxTranslator*, TComponent* root) {
    EXPECT_EQ(root, form_.get());
    ++scaled;
  };
  Open(kJapanese);
  EXPECT_TRUE(translator().Scaled());
  EXPECT_EQ(form_->Width(), 480);
  EXPECT_EQ(Get("OuterPanel").Left(), 25);
  EXPECT_EQ(Get("OuterPanel").Width(), 244);
  EXPECT_EQ(Get("InnerPanel").Width(), 100);
  EXPECT_EQ(form_->Font()->Size(), 11);  // Japanese 9 points, scaled
  EXPECT_EQ(scaled, 1);

  dictionary_->SetLanguage(kChinese);  // far-east again: nothing more
  EXPECT_EQ(form_->Width(), 480);
  EXPECT_EQ(form_->Font()->Size(), 12);  // Chinese 10 points, at the scaled size
  EXPECT_EQ(scaled, 1);

  dictionary_->SetLanguage(kEnglish);
  EXPECT_FALSE(translator().Scaled());
  EXPECT_EQ(PlacesOf(*form_), native);
  EXPECT_EQ(scaled, 2);

  // A form resized while scaled goes back by the ratio, its controls exactly.
  dictionary_->SetLanguage(kJapanese);
  form_->SetWidth(481);
  dictionary_->SetLanguage(kEnglish);
  EXPECT_EQ(form_->Width(), 401);
  Places expected = native;
  expected[0].width = 401;
  EXPECT_EQ(PlacesOf(*form_), expected);

  // A scale below 100 % loses pixels on the way; scaling back still restores them.
  form_->SetWidth(400);
  translator().SetMultiByteScale(75);
  dictionary_->SetLanguage(kJapanese);
  EXPECT_EQ(Get("TitleLabel").Width(), 38);
  dictionary_->SetLanguage(kEnglish);
  EXPECT_EQ(PlacesOf(*form_), native);

  // Scaled back by the percentage it was scaled with; a percentage below 1 scales nothing.
  dictionary_->SetLanguage(kJapanese);
  translator().SetMultiByteScale(150);
  dictionary_->SetLanguage(kEnglish);
  EXPECT_EQ(PlacesOf(*form_), native);
  translator().SetMultiByteScale(0);
  dictionary_->SetLanguage(kJapanese);
  EXPECT_EQ(form_->Width(), 400);
  EXPECT_EQ(Get("TitleLabel").Left(), 10);
}

TEST_F(LxPolyLayoutTest, AReopenedOrRevertedTranslatorNeverLeavesTheFormScaledTwice) {
  const Places native = PlacesOf(*form_);
  translator().SetCharsetChange(lxccDisabled);
  translator().SetOptions(translator().Options() - TLxTranslatorOptions{lxtoCheckFont});
  TLxTranslator& translator = Open(kJapanese);
  const Places japanese = PlacesOf(*form_);
  translator.Close();
  EXPECT_FALSE(translator.Scaled());
  translator.Open();
  EXPECT_EQ(PlacesOf(*form_), japanese);
  EXPECT_TRUE(translator.Scaled());

  translator.Revert();
  EXPECT_EQ(PlacesOf(*form_), native);
  EXPECT_EQ(form_->Caption(), "Layout");
  dictionary_->SetLanguage(kEnglish);
  translator.Open();  // nothing to scale back
  EXPECT_EQ(PlacesOf(*form_), native);
}

TEST_F(LxPolyLayoutTest, AnAutoScrollFormRaisesAfterItsTextsWereTranslated) {
  form_->SetAutoScroll(true);
  int after = 0;
  translator().OnAfterTranslate = [&after](lang::TLxCustomTranslator*) { ++after; };
  EXPECT_EQ(support::MessageOf([this] { Open(kJapanese); }),
            "Cannot scale a form (LayoutForm) that has AutoScroll property set True");
  EXPECT_EQ(Get("TitleLabel").Caption(), "Taitoru");
  EXPECT_EQ(after, 0);
  EXPECT_FALSE(translator().Scaled());
  EXPECT_EQ(form_->Width(), 400);
  EXPECT_EQ(Get("OuterPanel").Width(), 203);
}

TEST_F(LxPolyLayoutTest, ArabicMirrorsEveryControlInsideItsParentAndEnglishPutsThemBack) {
  const Places native = PlacesOf(*form_);
  const platform::HWND window = form_->Handle();
  TLxTranslator& translator = Open(kArabic);
  EXPECT_TRUE(translator.Mirrored());
  EXPECT_EQ(translator.ReadingOrder(), lxroRightToLeft);
  EXPECT_EQ(platform::GetFrameRefreshCount(window), 1);
  EXPECT_EQ(form_->Left(), 0);
  EXPECT_EQ(Get("TitleLabel").Left(), 400 - 50 - 10);
  EXPECT_EQ(Get("OuterPanel").Left(), 400 - 203 - 21);
  EXPECT_EQ(Get("InnerPanel").Left(), 203 - 83 - 7);
  EXPECT_EQ(Get("NameEdit").Left(), 203 - 91 - 101);
  EXPECT_EQ(Get("OkButton").Left(), 83 - 33 - 3);
  EXPECT_EQ(Get("OkButton").Top(), 5);
  const Places arabic = PlacesOf(*form_);
  translator.Open();  // no second flip, no second frame refresh
  EXPECT_EQ(PlacesOf(*form_), arabic);
  EXPECT_EQ(platform::GetFrameRefreshCount(window), 1);
  translator.Close();  // reopened: still no second flip
  translator.Open();
  EXPECT_EQ(PlacesOf(*form_), arabic);
  TLxBidirectionalState* state = translator.FindBidiState(&Get("OkButton"), false);
  ASSERT_NE(state, nullptr);
  EXPECT_TRUE(state->Flipped);
  EXPECT_EQ(state->NativeLeft, 3);
  EXPECT_EQ(state->ReadingOrder, lxroRightToLeft);

  dictionary_->SetLanguage(kEnglish);
  EXPECT_FALSE(translator.Mirrored());
  EXPECT_EQ(platform::GetFrameRefreshCount(window), 3);  // Close forgot the flag: refreshed
  EXPECT_EQ(PlacesOf(*form_), native);
  EXPECT_FALSE(state->Flipped);
}

TEST_F(LxPolyLayoutTest, MirroringThereAndBackWithResizesInBetweenNeverDrifts) {
  const Places native = PlacesOf(*form_);
  TLxTranslator& translator = Open(kEnglish);
  for (int round = 1; round <= 3; ++round) {
    dictionary_->SetLanguage(kArabic);
    form_->SetWidth(400 + 37 * round);
    Get("OuterPanel").SetWidth(203 + 5 * round);
    translator.RealignControls();
    EXPECT_EQ(Get("TitleLabel").Left(), 400 + 37 * round - 50 - 10);
    EXPECT_EQ(Get("NameEdit").Left(), 203 + 5 * round - 91 - 101);
    dictionary_->SetLanguage(kEnglish);
    form_->SetWidth(400);
    Get("OuterPanel").SetWidth(203);
    EXPECT_EQ(PlacesOf(*form_), native) << round;
  }
  // A control moved in the native order is mirrored from, and comes back to, its new place.
  Get("TitleLabel").SetLeft(30);
  dictionary_->SetLanguage(kArabic);
  EXPECT_EQ(Get("TitleLabel").Left(), 400 - 50 - 30);
  form_->SetWidth(420);
  translator.RealignControl(&Get("TitleLabel"));
  EXPECT_EQ(Get("TitleLabel").Left(), 420 - 50 - 30);
  dictionary_->SetLanguage(kEnglish);
  EXPECT_EQ(Get("TitleLabel").Left(), 30);
}

TEST_F(LxPolyLayoutTest, ScalingAndMirroringTogetherComeBackExactly) {
  const Places native = PlacesOf(*form_);
  translator().SetCharsetChange(lxccDisabled);
  TLxTranslator& translator = Open(kJapanese);
  dictionary_->SetLanguage(kArabic);  // mirrored, scaled back
  EXPECT_FALSE(translator.Scaled());
  EXPECT_EQ(Get("OuterPanel").Left(), 400 - 203 - 21);
  EXPECT_EQ(Get("OuterPanel").Width(), 203);
  dictionary_->SetLanguage(kJapanese);  // unmirrored, scaled
  dictionary_->SetLanguage(kArabic);
  dictionary_->SetLanguage(kEnglish);
  EXPECT_EQ(PlacesOf(*form_), native);

  // Revert from right-to-left puts the native order back and refreshes the frame.
  dictionary_->SetLanguage(kArabic);
  const int refreshes = platform::GetFrameRefreshCount(form_->Handle());
  translator.Revert();
  EXPECT_FALSE(translator.Mirrored());
  EXPECT_EQ(PlacesOf(*form_), native);
  EXPECT_EQ(platform::GetFrameRefreshCount(form_->Handle()), refreshes + 1);
}

TEST_F(LxPolyLayoutTest, AModuleThatTakesOverMirroringLeavesTheControlsToIt) {
  auto owned = std::make_unique<TMirroringModule>();
  TMirroringModule* module = owned.get();
  RegisterModule(std::move(owned));
  const Places native = PlacesOf(*form_);
  Open(kArabic);
  EXPECT_EQ(module->mirrored, 5);  // every control but the form
  EXPECT_EQ(PlacesOf(*form_), native);
  EXPECT_FALSE(translator().FindBidiState(&Get("OkButton"), false)->Flipped);
}

TEST_F(LxPolyLayoutTest, TheReadingOrderIsAppliedWhenItChangesUnlessRestricted) {
  auto owned = std::make_unique<TReadingOrderModule>();
  TReadingOrderModule* module = owned.get();
  RegisterModule(std::move(owned));
  translator().OnRestrictComponent = [](TLxTranslator*, TComponent* component,
                                        TLxRestrictions& restrictions) {
    if (component->Name() == "NameEdit") restrictions = {lxrFlip};
    if (component->Name() == "OkButton") restrictions = {lxrReadingOrder};
  };
  Open(kEnglish);  // controls start left-to-right: only the other components are asked
  EXPECT_EQ(module->asked, (Texts{"Columns", "Translator1"}));

  module->asked.clear();
  dictionary_->SetLanguage(kArabic);
  EXPECT_EQ(module->asked, (Texts{"TitleLabel", "OuterPanel", "InnerPanel", "NameEdit", "Columns",
                                  "Translator1", "LayoutForm"}));
  EXPECT_EQ(Get("NameEdit").Left(), 101);  // not mirrored
  EXPECT_EQ(Get("OkButton").Left(), 83 - 33 - 3);
  EXPECT_EQ(translator().FindBidiState(form_.get(), false)->ReadingOrder, lxroRightToLeft);
}

TEST_F(LxPolyLayoutTest, AControlThatGoesTakesItsMirroringStateAlong) {
  TLxTranslator& translator = Open(kArabic);
  const auto states = translator.BidiStates().size();
  TControl* button = &Get("OkButton");
  delete button;
  EXPECT_EQ(translator.BidiStates().size(), states - 1);
  EXPECT_EQ(translator.FindBidiState(button, false), nullptr);
  form_->SetWidth(500);
  translator.RealignControls();
  EXPECT_EQ(Get("TitleLabel").Left(), 500 - 50 - 10);

  // Mirroring is off with its option.
  translator.SetOptions(translator.Options() - TLxTranslatorOptions{lxtoMirrorBiDirectional});
  dictionary_->SetLanguage(kEnglish);
  EXPECT_EQ(Get("TitleLabel").Left(), 500 - 50 - 10);
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

TEST_F(LxPolyTest, RememberedAnswersGiveWhatASearchGives) {
  for (unsigned seed : {1u, 2u, 3u}) {
    const std::vector<Texts> searched = remembered::RandomRun(false, seed);
    const std::vector<Texts> read = remembered::RandomRun(true, seed);
    ASSERT_EQ(read.size(), searched.size());
    for (std::size_t step = 0; step < read.size(); ++step)
      ASSERT_EQ(read[step], searched[step]) << "seed " << seed << ", step " << step;
  }
}

TEST_F(LxPolyTest, ASwitchReadsTheTextsWhereTheyWereFoundUntilAnythingChanges) {
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

TEST_F(LxPolyTest, AnotherDictionaryWithOtherPositionsIsSearchedAnew) {
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

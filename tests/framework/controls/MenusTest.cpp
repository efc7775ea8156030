#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "framework/controls/Menus.h"
#include "framework/rtti/TypInfo.h"

namespace lx::framework {
namespace {

class MenusTest : public ::testing::Test {
 protected:
  TMenuItem* Item(TMenuItem* parent, const std::string& caption) {
    auto* item = new TMenuItem(&owner);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
  }

  static std::vector<std::string> Captions(const TMenuItem* parent) {
    std::vector<std::string> captions;
    for (int i = 0; i < parent->Count(); ++i)
      captions.push_back(parent->Items(i)->Caption());
    return captions;
  }

  template <typename F>
  static void ExpectMenuError(F&& action, const char* message) {
    try {
      action();
      FAIL() << "no error";
    } catch (const EMenuError& e) {
      EXPECT_STREQ(e.what(), message);
    }
  }

  TComponent owner{nullptr};
  TMainMenu* menu = new TMainMenu(&owner);
};

TEST_F(MenusTest, EveryCaptionOfALevelGetsItsOwnHotkey) {
  TMenuItem* top = menu->Items();
  for (const char* caption : {"&File", "Edit", "Exit", "-", "Find && Replace", "F&ormat", ""})
    Item(top, caption);
  EXPECT_EQ(Captions(top), (std::vector<std::string>{"&File", "&Edit", "E&xit", "-",
                                                     "F&ind && Replace", "F&ormat", ""}));

  // Each level on its own; a kept key that an earlier sibling took is given up.
  TMenuItem* file = top->Items(0);
  Item(file, "&Open");
  Item(file, "&Options");
  Item(file, "...");
  EXPECT_EQ(Captions(file), (std::vector<std::string>{"&Open", "O&ptions", "..."}));
}

// 0x83 0x41 and 0x83 0x42 are two characters of code page 932; "日" and "本" share their
// first byte in UTF-8.
TEST_F(MenusTest, HotkeysGoBetweenTheCharactersOfTheCaptionsCodePage) {
  using Texts = std::vector<std::string>;
  const std::tuple<platform::CodePage, Texts, Texts> cases[] = {
      {932, {"\x83\x41\x62"}, {"\x83\x41&b"}},
      {932, {"&\x83\x41", "&\x83\x42", "&\x83\x41\x64"}, {"&\x83\x41", "&\x83\x42", "\x83\x41&d"}},
      {65001, {"&日", "&本", "語a"}, {"&日", "&本", "語&a"}},
  };
  for (const auto& [codePage, captions, expected] : cases) {
    TMainMenu* own = new TMainMenu(&owner);
    own->SetCaptionCodePage(codePage);
    for (const std::string& caption : captions)
      Item(own->Items(), caption);
    EXPECT_EQ(Captions(own->Items()), expected) << codePage;
  }
}

TEST_F(MenusTest, ChangesRecomputeOnlyInAutomaticMode) {
  TMenuItem* top = menu->Items();
  Item(top, "Save");
  menu->SetAutoHotkeys(maManual);
  TMenuItem* saveAs = Item(top, "Save as");
  EXPECT_EQ(Captions(top), (std::vector<std::string>{"&Save", "Save as"}));

  // The translator's way: captions changed by hand, then automatic again and a change.
  top->Items(0)->SetCaption("Guardar");
  saveAs->SetCaption("Guardar como");
  menu->SetAutoHotkeys(maAutomatic);
  EXPECT_EQ(Captions(top), (std::vector<std::string>{"Guardar", "Guardar como"}));
  auto* probe = new TMenuItem(nullptr);
  top->Add(probe);
  top->Remove(probe);
  delete probe;
  EXPECT_EQ(Captions(top), (std::vector<std::string>{"&Guardar", "G&uardar como"}));

  // A renamed caption is fitted in at once.
  saveAs->SetCaption("&Guardar todo");
  EXPECT_EQ(saveAs->Caption(), "G&uardar todo");
}

TEST_F(MenusTest, AManualItemKeepsItsChildrenAsTheyAre) {
  TMenuItem* edit = Item(menu->Items(), "Edit");
  edit->SetAutoHotkeys(maManual);
  Item(edit, "Copy");
  TMenuItem* paste = Item(edit, "Paste");
  paste->SetAutoHotkeys(maAutomatic);
  Item(paste, "Plain");
  EXPECT_EQ(Captions(edit), (std::vector<std::string>{"Copy", "Paste"}));
  EXPECT_EQ(paste->Items(0)->Caption(), "&Plain");
  EXPECT_EQ(edit->Caption(), "&Edit");
}

TEST_F(MenusTest, TheTreeRefusesMisuse) {
  TMenuItem* file = Item(menu->Items(), "File");
  TMenuItem* open = Item(file, "Open");
  ExpectMenuError([&] { menu->Items()->Add(open); }, "Menu inserted twice");
  ExpectMenuError([&] { open->Add(file); }, "Menu inserted twice");
  ExpectMenuError([&] { file->Add(menu->Items()); }, "Menu inserted twice");
  ExpectMenuError([&] { menu->Items()->Remove(open); }, "Sub-menu is not in menu");
  ExpectMenuError([&] { file->Items(1); }, "Menu index out of range");
  auto* loose = new TMenuItem(&owner);
  ExpectMenuError([&] { file->Insert(2, loose); }, "Menu index out of range");
  file->Insert(0, loose);
  EXPECT_EQ(loose->MenuIndex(), 0);
  EXPECT_EQ(open->GetParentMenu(), menu);
}

TEST_F(MenusTest, FreeingAnItemFreesItsChildren) {
  TMenuItem* file = Item(menu->Items(), "File");
  Item(file, "Open");
  Item(Item(file, "Recent"), "one.txt");
  const int before = owner.ComponentCount();
  delete file;
  EXPECT_EQ(owner.ComponentCount(), before - 4);
  EXPECT_EQ(menu->Items()->Count(), 0);

  Item(Item(menu->Items(), "Edit"), "Copy");
  delete menu;
  EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST_F(MenusTest, StoredItemsBelongToTheirParents) {
  TMenuItem* file = Item(menu->Items(), "File");
  TMenuItem* open = Item(file, "Open");
  EXPECT_EQ(file->GetParentComponent(), menu);
  EXPECT_EQ(open->GetParentComponent(), file);
  std::vector<TComponent*> children;
  menu->GetChildren([&children](TComponent* child) { children.push_back(child); }, &owner);
  EXPECT_EQ(children, std::vector<TComponent*>{file});

  // Reading puts an item under the component it was stored under.
  auto* read = new TMenuItem(&owner);
  read->SetParentComponent(file);
  EXPECT_EQ(read->Parent(), file);
  read->SetParentComponent(menu);
  EXPECT_EQ(read->Parent(), menu->Items());
  EXPECT_EQ(file->Count(), 1);
}

TEST_F(MenusTest, CheckingARadioItemUnchecksOnlyItsGroup) {
  TMenuItem* view = Item(menu->Items(), "View");
  std::vector<TMenuItem*> items;
  for (const char* caption : {"One", "Two", "Three", "Other", "Plain"})
    items.push_back(Item(view, caption));
  for (int i = 0; i < 4; ++i)
    SetOrdProp(*items[i], "RadioItem", 1);
  items[3]->SetGroupIndex(1);
  items[3]->SetChecked(true);
  items[4]->SetChecked(true);
  items[0]->SetChecked(true);
  items[2]->SetChecked(true);
  std::vector<bool> checked;
  for (const TMenuItem* item : items)
    checked.push_back(item->Checked());
  EXPECT_EQ(checked, (std::vector<bool>{false, false, true, true, true}));
  // Unchecking touches nobody else; a radio item outside a menu just takes the value.
  items[2]->SetChecked(false);
  EXPECT_TRUE(items[3]->Checked());
  TMenuItem loose(nullptr);
  loose.SetRadioItem(true);
  loose.SetChecked(true);
  EXPECT_TRUE(loose.Checked());
  EXPECT_EQ(GetOrdProp(*items[3], "GroupIndex"), 1);
}

std::string Pretend(TShortCut) {
  return "Strg+S";
}

TEST_F(MenusTest, ShortCutsAreStoredByNumberAndShownAsText) {
  TMenuItem* save = Item(menu->Items(), "Save");
  save->SetShortCut(ShortCut('S', ssCtrl));
  EXPECT_EQ(GetOrdProp(*save, "ShortCut"), 0x4053);
  EXPECT_EQ(save->ShortCutText(), "Ctrl+S");
  const TShortCutToTextFunc previous = SetShortCutToTextHook(Pretend);
  EXPECT_EQ(save->ShortCutText(), "Strg+S");
  SetShortCutToTextHook(previous);
  save->SetShortCut(0);
  EXPECT_EQ(save->ShortCutText(), "");
  EXPECT_EQ(GetEnumProp(*menu, "AutoHotkeys"), "maAutomatic");
}

}  // namespace
}  // namespace lx::framework

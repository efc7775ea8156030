#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <set>
#include <string>
#include <vector>

#include "framework/controls/Menus.h"
#include "platform/Keyboard.h"
#include "screen/internal/MenuBar.h"

namespace lx::screen {
namespace {

using framework::scAlt;
using framework::scCtrl;
using framework::scShift;
using framework::TMenuItem;

TEST(MenuBarTest, ShortcutsBecomeGdkAccelerators) {
  guint key = 0;
  GdkModifierType mods{};
  ASSERT_TRUE(ShortCutToAccelerator(scCtrl | 'Q', key, mods));
  EXPECT_EQ(key, static_cast<guint>(GDK_KEY_q));
  EXPECT_EQ(mods, GDK_CONTROL_MASK);
  ASSERT_TRUE(ShortCutToAccelerator(platform::VK_F1, key, mods));
  EXPECT_EQ(key, static_cast<guint>(GDK_KEY_F1));
  EXPECT_EQ(mods, 0);
  ASSERT_TRUE(ShortCutToAccelerator(scShift | scAlt | (platform::VK_F1 + 11), key, mods));
  EXPECT_EQ(key, static_cast<guint>(GDK_KEY_F12));
  EXPECT_EQ(mods, GDK_SHIFT_MASK | GDK_MOD1_MASK);
  ASSERT_TRUE(ShortCutToAccelerator(scCtrl | '0', key, mods));
  EXPECT_EQ(key, static_cast<guint>(GDK_KEY_0));
  ASSERT_TRUE(ShortCutToAccelerator(platform::VK_DELETE, key, mods));
  EXPECT_EQ(key, static_cast<guint>(GDK_KEY_Delete));
  EXPECT_FALSE(ShortCutToAccelerator(0, key, mods));
  EXPECT_FALSE(ShortCutToAccelerator(scCtrl | 0xFF, key, mods));
}

TEST(MenuBarTest, TheSignatureChangesWithWhatTheBarShows) {
  framework::TMainMenu menu(nullptr);
  auto* file = new framework::TMenuItem(&menu);
  file->SetCaption("&File");
  auto* exit = new framework::TMenuItem(&menu);
  exit->SetCaption("E&xit");
  menu.Items()->Add(file);
  file->Add(exit);
  const std::string before = MenuSignature(menu, 1252, false);
  EXPECT_EQ(MenuSignature(menu, 1252, false), before);
  EXPECT_NE(MenuSignature(menu, 1252, true), before);
  for (auto change : {+[](framework::TMenuItem& i) { i.SetCaption("E&nde"); },
                      +[](framework::TMenuItem& i) { i.SetShortCut(scCtrl | 'Q'); },
                      +[](framework::TMenuItem& i) { i.SetEnabled(false); },
                      +[](framework::TMenuItem& i) { i.SetChecked(true); },
                      +[](framework::TMenuItem& i) { i.SetVisible(false); }}) {
    const std::string previous = MenuSignature(menu, 1252, false);
    change(*exit);
    EXPECT_NE(MenuSignature(menu, 1252, false), previous);
  }
}

// Remembers which items were activated.
class TRecordingSink : public TInputSink {
 public:
  void Clicked(const void*) override {}
  void TextEdited(const void*, const std::string&) override {}
  void Toggled(const void*, bool) override {}
  void ItemsChosen(const void*, const std::vector<int>&) override {}
  void MenuItemActivated(const void* key) override { activated.push_back(key); }
  void CloseRequested(const void*) override {}

  std::vector<const void*> activated;
};

std::vector<GtkWidget*> Children(GtkWidget* container) {
  std::vector<GtkWidget*> children;
  GList* list = gtk_container_get_children(GTK_CONTAINER(container));
  for (GList* at = list; at != nullptr; at = at->next)
    children.push_back(GTK_WIDGET(at->data));
  g_list_free(list);
  return children;
}

class MenuBarRadioTest : public ::testing::Test {
 protected:
  MenuBarRadioTest() {
    g_object_ref_sink(bar_);
    top_->SetCaption("&Language");
    menu_->Items()->Add(top_);
    for (const char* caption : {"English", "Deutsch", "Plain"}) {
      auto* item = new TMenuItem(&owner_);
      item->SetCaption(caption);
      item->SetRadioItem(caption[0] != 'P');
      top_->Add(item);
      items_.push_back(item);
    }
    items_[1]->SetChecked(true);
    BuildMenuBar(bar_, accelerators_, *menu_, 1252, false, sink_);
    std::vector<GtkWidget*> tops = Children(bar_);
    EXPECT_EQ(tops.size(), 1u);
    GtkWidget* dropDown = gtk_menu_item_get_submenu(GTK_MENU_ITEM(tops.at(0)));
    gtk_widget_show(dropDown);
    widgets_ = Children(dropDown);
  }
  ~MenuBarRadioTest() override {
    g_object_unref(bar_);
    g_object_unref(accelerators_);
  }

  static bool Active(GtkWidget* widget) {
    return gtk_check_menu_item_get_active(GTK_CHECK_MENU_ITEM(widget)) != 0;
  }

  framework::TComponent owner_{nullptr};
  framework::TMainMenu* menu_ = new framework::TMainMenu(&owner_);
  TMenuItem* top_ = new TMenuItem(&owner_);
  std::vector<TMenuItem*> items_;
  GtkWidget* bar_ = gtk_menu_bar_new();
  GtkAccelGroup* accelerators_ = gtk_accel_group_new();
  TRecordingSink sink_;
  std::vector<GtkWidget*> widgets_;
};

TEST_F(MenuBarRadioTest, RadioItemsShowARadioMarkOnTheCheckedOneOnly) {
  ASSERT_EQ(widgets_.size(), 3u);
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(GTK_IS_CHECK_MENU_ITEM(widgets_[i])) << i;
    EXPECT_TRUE(gtk_check_menu_item_get_draw_as_radio(GTK_CHECK_MENU_ITEM(widgets_[i]))) << i;
  }
  EXPECT_FALSE(Active(widgets_[0]));
  EXPECT_TRUE(Active(widgets_[1]));
  EXPECT_FALSE(GTK_IS_CHECK_MENU_ITEM(widgets_[2]));
  // The signature tells a radio item from a plain one, so a change rebuilds the bar.
  const std::string before = MenuSignature(*menu_, 1252, false);
  items_[2]->SetRadioItem(true);
  EXPECT_NE(MenuSignature(*menu_, 1252, false), before);
}

TEST_F(MenuBarRadioTest, ActivatingAnItemReportsItOnceAndLeavesTheMarkToTheProgram) {
  ASSERT_EQ(widgets_.size(), 3u);
  gtk_menu_item_activate(GTK_MENU_ITEM(widgets_[1]));
  gtk_menu_item_activate(GTK_MENU_ITEM(widgets_[0]));
  EXPECT_EQ(sink_.activated, (std::vector<const void*>{items_[1], items_[0]}));
  // Choosing the checked item again does not take its mark away; the other one gets its mark
  // when the program checks it and the bar is built anew.
  EXPECT_TRUE(Active(widgets_[1]));
  EXPECT_FALSE(Active(widgets_[0]));
}

// The text of the caption label of a menu item's row.
std::string CaptionOf(GtkWidget* item) {
  GtkWidget* row = gtk_bin_get_child(GTK_BIN(item));
  return gtk_label_get_text(GTK_LABEL(Children(row).at(0)));
}

TEST(MenuBarCodePageTest, EachCaptionIsReadInTheCodePageItsItemSays) {
  framework::TComponent owner(nullptr);
  auto* menu = new framework::TMainMenu(&owner);
  auto* top = new TMenuItem(&owner);
  top->SetCaption("&Sprache");
  menu->Items()->Add(top);
  auto* russian = new TMenuItem(&owner);
  russian->SetCaption("\xD0\xF3\xF1\xF1\xEA\xE8\xE9");  // in code page 1251
  top->Add(russian);
  const TMenuTextCodePage itemCodePage = [russian](const TMenuItem& item, unsigned window) {
    return &item == russian ? 1251U : window;
  };
  GtkWidget* bar = g_object_ref_sink(gtk_menu_bar_new());
  GtkAccelGroup* accelerators = gtk_accel_group_new();
  TRecordingSink sink;
  BuildMenuBar(bar, accelerators, *menu, 1252, false, sink, itemCodePage);
  GtkWidget* topWidget = Children(bar).at(0);
  EXPECT_EQ(CaptionOf(topWidget), "Sprache");
  GtkWidget* dropDown = gtk_menu_item_get_submenu(GTK_MENU_ITEM(topWidget));
  gtk_widget_show(dropDown);
  EXPECT_EQ(CaptionOf(Children(dropDown).at(0)), "Русский");
  // Read in the window's code page the same bytes are another text: the bar must change.
  EXPECT_NE(MenuSignature(*menu, 1252, false, itemCodePage), MenuSignature(*menu, 1252, false));
  g_object_unref(bar);
  g_object_unref(accelerators);
}

TEST(MenuBarUpdateTest, TheShapeIgnoresTextsOnlyAndANewLanguageChangesTheBarInPlace) {
  framework::TComponent owner(nullptr);
  auto* menu = new framework::TMainMenu(&owner);
  auto* top = new TMenuItem(&owner);
  top->SetCaption("&File");
  menu->Items()->Add(top);
  auto* exit = new TMenuItem(&owner);
  exit->SetCaption("E&xit");
  exit->SetShortCut(scCtrl | 'Q');
  top->Add(exit);
  auto* line = new TMenuItem(&owner);
  line->SetCaption("-");
  top->Add(line);
  auto* about = new TMenuItem(&owner);
  about->SetCaption("&About");
  top->Add(about);
  const std::string shape = MenuShape(*menu);
  exit->SetCaption("&Beenden");
  EXPECT_EQ(MenuShape(*menu), shape);
  struct TChange {
    void (*apply)(TMenuItem&);
    void (*undo)(TMenuItem&);
  };
  for (const TChange& change :
       {TChange{[](TMenuItem& i) { i.SetCaption("-"); }, [](TMenuItem& i) { i.SetCaption("x"); }},
        TChange{[](TMenuItem& i) { i.SetShortCut(0); },
                [](TMenuItem& i) { i.SetShortCut(scCtrl | 'Q'); }},
        TChange{[](TMenuItem& i) { i.SetEnabled(false); },
                [](TMenuItem& i) { i.SetEnabled(true); }},
        TChange{[](TMenuItem& i) { i.SetChecked(true); },
                [](TMenuItem& i) { i.SetChecked(false); }},
        TChange{[](TMenuItem& i) { i.SetVisible(false); },
                [](TMenuItem& i) { i.SetVisible(true); }}}) {
    change.apply(*exit);
    EXPECT_NE(MenuShape(*menu), shape);
    change.undo(*exit);
  }
  exit->SetCaption("E&xit");

  GtkWidget* bar = g_object_ref_sink(gtk_menu_bar_new());
  GtkAccelGroup* accelerators = gtk_accel_group_new();
  TRecordingSink sink;
  TMenuBarParts parts;
  BuildMenuBar(bar, accelerators, *menu, 1252, false, sink, {}, &parts);
  ASSERT_EQ(parts.captions.size(), 1u);
  EXPECT_EQ(parts.shortcuts[0], nullptr);  // a top-level item shows no shortcut
  ASSERT_EQ(parts.dropDowns.size(), 1u);
  const TMenuDropDown& dropDown = *parts.dropDowns[0];
  top->SetCaption("&Datei");
  exit->SetCaption("&Beenden");
  UpdateMenuBar(parts, *menu, 1252, true);
  GtkWidget* topWidget = Children(bar).at(0);
  EXPECT_EQ(CaptionOf(topWidget), "Datei");
  EXPECT_EQ(gtk_menu_bar_get_pack_direction(GTK_MENU_BAR(bar)), GTK_PACK_DIRECTION_RTL);
  EXPECT_EQ(gtk_widget_get_direction(topWidget), GTK_TEXT_DIR_RTL);
  // A caption on the bar with no letter of its own direction is marked to read from the right.
  top->SetCaption("&1");
  UpdateMenuBar(parts, *menu, 1252, true);
  EXPECT_EQ(CaptionOf(topWidget),
            "\u200F"
            "1");
  top->SetCaption("&Datei");
  UpdateMenuBar(parts, *menu, 1252, true);
  // The drop-down's items are built when it first shows, in the language of that moment.
  GtkWidget* menuWidget = gtk_menu_item_get_submenu(GTK_MENU_ITEM(topWidget));
  EXPECT_TRUE(Children(menuWidget).empty());
  gtk_widget_show(menuWidget);
  GtkWidget* exitWidget = Children(menuWidget).at(0);
  EXPECT_EQ(CaptionOf(exitWidget), "Beenden");
  ASSERT_EQ(dropDown.captions.size(), 3u);
  ASSERT_NE(dropDown.shortcuts[0], nullptr);
  EXPECT_EQ(gtk_label_get_mnemonic_keyval(GTK_LABEL(dropDown.captions[0])), GDK_KEY_b);
  EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(dropDown.shortcuts[0])), "Ctrl+Q");
  // It turns when it shows, and at once while it shows.
  for (GtkWidget* widget : {exitWidget, dropDown.captions[0], dropDown.shortcuts[0]})
    EXPECT_EQ(gtk_widget_get_direction(widget), GTK_TEXT_DIR_RTL);
  exit->SetCaption("E&xit");
  about->SetCaption("&Info");
  UpdateMenuBar(parts, *menu, 1252, false);
  EXPECT_EQ(CaptionOf(exitWidget), "Exit");
  EXPECT_EQ(CaptionOf(Children(menuWidget).at(2)), "Info");
  EXPECT_EQ(gtk_widget_get_direction(exitWidget), GTK_TEXT_DIR_LTR);
  g_object_unref(bar);
  g_object_unref(accelerators);
}

// 'L' or 'R' when the bar packs its items that way and they read that way, else '?': their
// rows and captions keep left to right, so that a new direction restyles none of them.
char BarDirectionOf(GtkWidget* bar) {
  const bool rightToLeft =
      gtk_menu_bar_get_pack_direction(GTK_MENU_BAR(bar)) == GTK_PACK_DIRECTION_RTL;
  for (GtkWidget* item : Children(bar)) {
    GtkWidget* row = gtk_bin_get_child(GTK_BIN(item));
    if ((gtk_widget_get_direction(item) == GTK_TEXT_DIR_RTL) != rightToLeft ||
        gtk_widget_get_direction(row) != GTK_TEXT_DIR_LTR)
      return '?';
  }
  return rightToLeft ? 'R' : 'L';
}

// 'L' or 'R' when a menu shell, its items, their rows and labels all read that way, else '?'.
char DirectionOf(GtkWidget* shell) {
  std::set<GtkTextDirection> directions{gtk_widget_get_direction(shell)};
  for (GtkWidget* item : Children(shell)) {
    GtkWidget* row = gtk_bin_get_child(GTK_BIN(item));
    directions.insert({gtk_widget_get_direction(item), gtk_widget_get_direction(row)});
    for (GtkWidget* label : Children(row))
      directions.insert(gtk_widget_get_direction(label));
  }
  if (directions.size() != 1) return '?';
  return *directions.begin() == GTK_TEXT_DIR_RTL ? 'R' : 'L';
}

TEST(MenuBarDirectionTest, ADropDownTurnsWhenItShowsOrAtOnceWhileShowing) {
  // "File" holds "Open" and "Recent", which holds "One" in a drop-down of its own.
  framework::TComponent owner(nullptr);
  auto* menu = new framework::TMainMenu(&owner);
  const auto add = [&owner](TMenuItem& parent, const char* caption) {
    auto* item = new TMenuItem(&owner);
    item->SetCaption(caption);
    parent.Add(item);
    return item;
  };
  TMenuItem* file = add(*menu->Items(), "&File");
  add(*file, "&Open")->SetShortCut(scCtrl | 'O');
  add(*add(*file, "&Recent"), "&One");
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWidget* bar = gtk_menu_bar_new();
  gtk_container_add(GTK_CONTAINER(window), bar);
  TRecordingSink sink;
  TMenuBarParts parts;
  GtkAccelGroup* accelerators = gtk_accel_group_new();
  BuildMenuBar(bar, accelerators, *menu, 1252, false, sink, {}, &parts);
  GtkWidget* fileItem = Children(bar).at(0);
  GtkWidget* fileMenu = gtk_menu_item_get_submenu(GTK_MENU_ITEM(fileItem));
  gtk_widget_show(fileMenu);  // builds its items
  gtk_widget_hide(fileMenu);
  GtkWidget* recent = gtk_menu_item_get_submenu(GTK_MENU_ITEM(Children(fileMenu).at(1)));
  gtk_widget_show_all(window);
  const auto pumpUntilMapped = [](GtkWidget* widget) {
    const gint64 end = g_get_monotonic_time() + G_USEC_PER_SEC;
    while (!gtk_widget_get_mapped(widget) && g_get_monotonic_time() < end)
      g_main_context_iteration(nullptr, FALSE);
  };
  pumpUntilMapped(window);
  // r, l: to right to left, to left to right; F, R: show "File", "Recent"; f: hide both;
  // c, m: pop "File" up as a click does, as its mnemonic does.
  const struct {
    const char* steps;
    const char* directions;  // of the bar, "File" and "Recent" after the steps
  } cases[] = {{"r", "RLL"},       {"rF", "RRL"}, {"rFR", "RRR"}, {"Fr", "RRL"},
               {"FfrFflF", "LLL"}, {"rc", "RRL"}, {"rm", "RRL"}};
  for (const auto& c : cases) {
    for (const char step : std::string("lFRf") + c.steps) {
      if (step == 'r' || step == 'l') UpdateMenuBar(parts, *menu, 1252, step == 'r');
      if (step == 'F' || step == 'R') gtk_widget_show(step == 'F' ? fileMenu : recent);
      if (step == 'f') {
        gtk_widget_hide(recent);
        gtk_widget_hide(fileMenu);
      }
      if (step == 'c') gtk_menu_shell_select_item(GTK_MENU_SHELL(bar), fileItem);
      if (step == 'm') gtk_widget_mnemonic_activate(fileItem, FALSE);
      if (step == 'c' || step == 'm') pumpUntilMapped(fileMenu);
    }
    EXPECT_EQ(std::string({BarDirectionOf(bar), DirectionOf(fileMenu), DirectionOf(recent)}),
              c.directions)
        << c.steps;
    gtk_menu_shell_deactivate(GTK_MENU_SHELL(bar));
  }
  gtk_widget_destroy(window);
  g_object_unref(accelerators);
}

TEST(MenuBarShortCutTest, AKeyFiresItsEnabledItemOnceWhetherItsDropDownIsBuiltOrNot) {
  // "File" holds "Open", a disabled "Save" and "Recent", which holds "One"; the disabled
  // "Tools" holds "Options"; "Quit" is on the bar.
  framework::TComponent owner(nullptr);
  auto* menu = new framework::TMainMenu(&owner);
  const auto add = [&owner](TMenuItem& parent, const char* caption, char key) {
    auto* item = new TMenuItem(&owner);
    item->SetCaption(caption);
    item->SetShortCut(key == 0 ? 0 : scCtrl | key);
    parent.Add(item);
    return item;
  };
  TMenuItem* file = add(*menu->Items(), "&File", 0);
  TMenuItem* open = add(*file, "&Open", 'O');
  add(*file, "&Save", 'S')->SetEnabled(false);
  TMenuItem* one = add(*add(*file, "&Recent", 0), "&One", '1');
  TMenuItem* tools = add(*menu->Items(), "&Tools", 0);
  tools->SetEnabled(false);
  add(*tools, "O&ptions", 'P');
  TMenuItem* quit = add(*menu->Items(), "&Quit", 'Q');
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkAccelGroup* accelerators = gtk_accel_group_new();
  gtk_window_add_accel_group(GTK_WINDOW(window), accelerators);
  TRecordingSink sink;
  const auto press = [&](guint key) {
    sink.activated.clear();
    return gtk_accel_groups_activate(G_OBJECT(window), key, GDK_CONTROL_MASK) != 0;
  };
  // A disabled item, or one in a disabled drop-down, leaves its key to the window.
  const struct {
    guint key;
    const TMenuItem* item;
  } cases[] = {{GDK_KEY_o, open},
               {GDK_KEY_1, one},
               {GDK_KEY_q, quit},
               {GDK_KEY_s, nullptr},
               {GDK_KEY_p, nullptr}};
  // Each bar is built anew in the same window: the keys of the one before must be gone.
  for (const bool built : {false, true}) {
    GtkWidget* bar = gtk_menu_bar_new();
    gtk_container_add(GTK_CONTAINER(window), bar);
    BuildMenuBar(bar, accelerators, *menu, 1252, false, sink);
    if (built) {
      GtkWidget* fileMenu = gtk_menu_item_get_submenu(GTK_MENU_ITEM(Children(bar).at(0)));
      gtk_widget_show(fileMenu);
      gtk_widget_show(gtk_menu_item_get_submenu(GTK_MENU_ITEM(Children(fileMenu).at(2))));
    }
    for (const auto& c : cases) {
      EXPECT_EQ(press(c.key), c.item != nullptr) << c.key << " built " << built;
      EXPECT_EQ(sink.activated,
                c.item == nullptr ? std::vector<const void*>{} : std::vector<const void*>{c.item})
          << c.key << " built " << built;
    }
    gtk_widget_destroy(bar);
  }
  EXPECT_FALSE(press(GDK_KEY_o));
  gtk_widget_destroy(window);
  g_object_unref(accelerators);
}

}  // namespace
}  // namespace lx::screen

#include "screen/internal/MenuBar.h"

#include "platform/Keyboard.h"
#include "screen/internal/ScreenTexts.h"

namespace lx::screen {

using framework::TMenuItem;

namespace {

struct TKeyName {
  platform::UINT virtualKey;
  guint gdkKey;
};

constexpr TKeyName kNamedKeys[] = {
    {platform::VK_BACK, GDK_KEY_BackSpace}, {platform::VK_TAB, GDK_KEY_Tab},
    {platform::VK_RETURN, GDK_KEY_Return},  {platform::VK_ESCAPE, GDK_KEY_Escape},
    {platform::VK_SPACE, GDK_KEY_space},    {platform::VK_PRIOR, GDK_KEY_Page_Up},
    {platform::VK_NEXT, GDK_KEY_Page_Down}, {platform::VK_END, GDK_KEY_End},
    {platform::VK_HOME, GDK_KEY_Home},      {platform::VK_LEFT, GDK_KEY_Left},
    {platform::VK_UP, GDK_KEY_Up},          {platform::VK_RIGHT, GDK_KEY_Right},
    {platform::VK_DOWN, GDK_KEY_Down},      {platform::VK_INSERT, GDK_KEY_Insert},
    {platform::VK_DELETE, GDK_KEY_Delete},
};

guint GdkKeyOf(std::uint16_t key) {
  if (key >= 'A' && key <= 'Z') return GDK_KEY_a + (key - 'A');
  if (key >= '0' && key <= '9') return GDK_KEY_0 + (key - '0');
  if (key >= platform::VK_F1 && key < platform::VK_F1 + 24)
    return GDK_KEY_F1 + (key - platform::VK_F1);
  for (const TKeyName& name : kNamedKeys) {
    if (name.virtualKey == key) return name.gdkKey;
  }
  return 0;
}

void OnActivate(GtkMenuItem* widget, gpointer data) {
  // GTK has toggled a check mark already; the mark shows the item's Checked, which only the
  // program changes, and the bar is built anew when it does.
  if (GTK_IS_CHECK_MENU_ITEM(widget)) {
    GtkCheckMenuItem* check = GTK_CHECK_MENU_ITEM(widget);
    g_signal_handlers_block_by_func(widget, reinterpret_cast<gpointer>(OnActivate), data);
    gtk_check_menu_item_set_active(check, !gtk_check_menu_item_get_active(check));
    g_signal_handlers_unblock_by_func(widget, reinterpret_cast<gpointer>(OnActivate), data);
  }
  const auto& target = *static_cast<TInputTarget*>(data);
  target.sink->MenuItemActivated(target.key);
}

void SetDirection(GtkWidget* widget, bool rightToLeft) {
  gtk_widget_set_direction(widget, rightToLeft ? GTK_TEXT_DIR_RTL : GTK_TEXT_DIR_LTR);
}

// The widgets of one menu shell that a new language changes.
struct TRows {
  std::vector<GtkWidget*>& captions;
  std::vector<GtkWidget*>& shortcuts;
  std::vector<GtkWidget*>& directed;
  bool rightToLeft;
};

// Sets the reading direction and remembers the widget for a later change of language.
void Direct(GtkWidget* widget, TRows& rows) {
  SetDirection(widget, rows.rightToLeft);
  rows.directed.push_back(widget);
}

// The bar's shortcut keys, on the window's accelerator group while the bar lives.
struct TBarShortCuts {
  GtkAccelGroup* group;
  std::vector<GClosure*> closures;
};

void DropShortCuts(gpointer data, GObject*) {
  auto* shortCuts = static_cast<TBarShortCuts*>(data);
  for (GClosure* closure : shortCuts->closures)
    gtk_accel_group_disconnect(shortCuts->group, closure);
  g_object_unref(shortCuts->group);
  delete shortCuts;
}

gboolean OnShortCut(GtkAccelGroup*, GObject*, guint, GdkModifierType, gpointer data) {
  const auto& target = *static_cast<TInputTarget*>(data);
  target.sink->MenuItemActivated(target.key);
  return TRUE;
}

void ForgetTarget(gpointer data, GClosure*) {
  delete static_cast<TInputTarget*>(data);
}

// What the bar is read with: every item's texts and shortcut keys are read at once.
struct TMenuContext {
  unsigned codePage;
  bool rightToLeft;
  TInputSink& sink;
  const TMenuTextCodePage& itemCodePage;
  GtkAccelGroup* accelerators;
  TBarShortCuts* shortCuts;
};

// An item's key fires it without its widget, built or not. Keys of a disabled item or of one
// in a disabled drop-down stay free for the window, as a disabled widget leaves them.
void AddShortCut(const TMenuItem& item, const TMenuContext& context) {
  guint key = 0;
  GdkModifierType mods{};
  if (context.shortCuts == nullptr || !ShortCutToAccelerator(item.ShortCut(), key, mods)) return;
  GClosure* closure =
      g_cclosure_new(G_CALLBACK(OnShortCut), new TInputTarget{&context.sink, &item}, ForgetTarget);
  gtk_accel_group_connect(context.accelerators, key, mods, GTK_ACCEL_VISIBLE, closure);
  context.shortCuts->closures.push_back(closure);
}

void TurnDropDown(TMenuDropDown& dropDown) {
  if (dropDown.rightToLeft == dropDown.wantsRightToLeft) return;
  for (GtkWidget* widget : dropDown.directed)
    SetDirection(widget, dropDown.wantsRightToLeft);
  dropDown.rightToLeft = dropDown.wantsRightToLeft;
}

void FillDropDown(TMenuDropDown& dropDown);

// GTK shows a drop-down before it sizes and maps it, however it is opened.
// Its menu owns it, so the handler never runs without it.
void OnDropDownShow(GtkWidget*, gpointer data) {
  TMenuDropDown& dropDown = *static_cast<TMenuDropDown*>(data);
  if (!dropDown.built) FillDropDown(dropDown);
  TurnDropDown(dropDown);
}

void ForgetDropDown(gpointer data) {
  delete static_cast<std::shared_ptr<TMenuDropDown>*>(data);
}

// Where a drop-down's menu keeps it while the menu lives.
constexpr char kDropDownKey[] = "lx-drop-down";

// The empty menu under `widget`, filled when it first shows.
void AttachDropDown(GtkWidget* widget, const std::shared_ptr<TMenuDropDown>& dropDown) {
  GtkWidget* submenu = gtk_menu_new();
  gtk_menu_set_accel_group(GTK_MENU(submenu), dropDown->accelerators);
  dropDown->menu = submenu;
  SetDirection(submenu, dropDown->rightToLeft);
  dropDown->directed.push_back(submenu);
  g_object_set_data_full(G_OBJECT(submenu), kDropDownKey,
                         new std::shared_ptr<TMenuDropDown>(dropDown), ForgetDropDown);
  g_signal_connect(submenu, "show", G_CALLBACK(OnDropDownShow), dropDown.get());
  gtk_menu_item_set_submenu(GTK_MENU_ITEM(widget), submenu);
}

unsigned CaptionCodePage(const TMenuItem& item, unsigned codePage,
                         const TMenuTextCodePage& itemCodePage) {
  return itemCodePage ? itemCodePage(item, codePage) : codePage;
}

// The caption with its mnemonic and, in a drop-down menu, the shortcut text at the far end.
std::string CaptionText(const TMenuItem& item, unsigned codePage,
                        const TMenuTextCodePage& itemCodePage) {
  return MnemonicText(ToUtf8(item.Caption(), CaptionCodePage(item, codePage, itemCodePage)));
}

// The rows and captions of the bar's own items keep GTK's left to right, so that a new
// direction does not restyle them; the bar packs its items the other way, and a caption with
// no letter of its own direction is marked to read from the right.
std::string BarCaption(std::string caption, bool rightToLeft) {
  return rightToLeft ? RightToLeftText(std::move(caption)) : caption;
}

void PackBar(GtkWidget* bar, bool rightToLeft) {
  gtk_menu_bar_set_pack_direction(GTK_MENU_BAR(bar),
                                  rightToLeft ? GTK_PACK_DIRECTION_RTL : GTK_PACK_DIRECTION_LTR);
}

// What an item shows beside its caption: its shortcut's name, only in drop-down menus.
std::string ShortCutShown(const TMenuItem& item, bool topLevel) {
  return topLevel ? std::string() : item.ShortCutText();
}

GtkWidget* ItemRow(const TMenuEntry& entry, TRows& rows) {
  GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 24);
  Direct(row, rows);
  GtkWidget* caption = gtk_label_new(nullptr);
  gtk_label_set_text_with_mnemonic(GTK_LABEL(caption), entry.caption.c_str());
  gtk_label_set_xalign(GTK_LABEL(caption), 0.0F);
  Direct(caption, rows);
  gtk_box_pack_start(GTK_BOX(row), caption, TRUE, TRUE, 0);
  GtkWidget* label = nullptr;
  if (!entry.shortcut.empty()) {
    label = gtk_label_new(entry.shortcut.c_str());
    gtk_style_context_add_class(gtk_widget_get_style_context(label), "accelerator");
    Direct(label, rows);
    gtk_box_pack_end(GTK_BOX(row), label, FALSE, FALSE, 0);
  }
  rows.captions.push_back(caption);
  rows.shortcuts.push_back(label);
  gtk_widget_show_all(row);
  return row;
}

GtkWidget* MakeItem(const TMenuEntry& entry, TRows& rows, TInputSink& sink) {
  if (entry.line) return gtk_separator_menu_item_new();
  // A radio item keeps its place for the mark whether it is checked or not.
  const bool checkable = entry.checked || entry.radio;
  GtkWidget* widget = checkable ? gtk_check_menu_item_new() : gtk_menu_item_new();
  if (entry.radio) gtk_check_menu_item_set_draw_as_radio(GTK_CHECK_MENU_ITEM(widget), TRUE);
  if (entry.checked) gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(widget), TRUE);
  Direct(widget, rows);
  gtk_container_add(GTK_CONTAINER(widget), ItemRow(entry, rows));
  gtk_widget_set_sensitive(widget, entry.enabled);
  if (entry.dropDown) {
    AttachDropDown(widget, entry.dropDown);
  } else {
    ConnectInput(widget, "activate", G_CALLBACK(OnActivate), sink, entry.key);
  }
  return widget;
}

void AppendItem(GtkWidget* shell, GtkWidget* widget) {
  gtk_widget_show(widget);
  gtk_menu_shell_append(GTK_MENU_SHELL(shell), widget);
}

void FillDropDown(TMenuDropDown& dropDown) {
  dropDown.built = true;
  TRows rows{dropDown.captions, dropDown.shortcuts, dropDown.directed, dropDown.rightToLeft};
  for (const TMenuEntry& entry : dropDown.entries) {
    if (entry.line) {
      dropDown.captions.push_back(nullptr);
      dropDown.shortcuts.push_back(nullptr);
    }
    AppendItem(dropDown.menu, MakeItem(entry, rows, *dropDown.sink));
  }
}

TMenuEntry ReadEntry(const TMenuItem& item, const TMenuContext& context, bool topLevel) {
  TMenuEntry entry;
  entry.key = &item;
  entry.line = item.IsLine();
  if (!entry.line) {
    entry.caption = CaptionText(item, context.codePage, context.itemCodePage);
    if (topLevel) entry.caption = BarCaption(entry.caption, context.rightToLeft);
    entry.shortcut = ToUtf8(ShortCutShown(item, topLevel), context.codePage);
  }
  entry.enabled = item.Enabled();
  entry.checked = item.Checked();
  entry.radio = item.RadioItem();
  return entry;
}

std::shared_ptr<TMenuDropDown> ReadDropDown(const TMenuItem& parent, const TMenuContext& context,
                                            bool enabled);

// An item's drop-down, or its shortcut key when it has none; `enabled`: its menus are.
void ReadBelow(TMenuEntry& entry, const TMenuItem& item, const TMenuContext& context,
               bool enabled) {
  if (item.Count() > 0) {
    entry.dropDown = ReadDropDown(item, context, enabled && item.Enabled());
  } else if (enabled && item.Enabled() && !entry.line) {
    AddShortCut(item, context);
  }
}

std::shared_ptr<TMenuDropDown> ReadDropDown(const TMenuItem& parent, const TMenuContext& context,
                                            bool enabled) {
  auto dropDown = std::make_shared<TMenuDropDown>();
  dropDown->accelerators = context.accelerators;
  dropDown->sink = &context.sink;
  dropDown->rightToLeft = dropDown->wantsRightToLeft = context.rightToLeft;
  for (int i = 0; i < parent.Count(); ++i) {
    const TMenuItem& item = *parent.Items(i);
    if (!item.Visible()) continue;
    TMenuEntry entry = ReadEntry(item, context, false);
    ReadBelow(entry, item, context, enabled);
    dropDown->entries.push_back(std::move(entry));
  }
  return dropDown;
}

void AppendSignature(std::string& signature, const TMenuItem& item, unsigned codePage,
                     const TMenuTextCodePage& itemCodePage) {
  signature += std::to_string(reinterpret_cast<std::uintptr_t>(&item)) + '\x1F';
  signature += ToUtf8(item.Caption(), CaptionCodePage(item, codePage, itemCodePage)) + '\x1F' +
               item.ShortCutText() + '\x1F';
  signature += std::to_string(item.ShortCut()) + (item.Enabled() ? "e" : "-") +
               (item.Checked() ? "c" : "-") + (item.RadioItem() ? "r" : "-") +
               (item.Visible() ? "v" : "-") + "(";
  for (int i = 0; i < item.Count(); ++i)
    AppendSignature(signature, *item.Items(i), codePage, itemCodePage);
  signature += ")";
}

// Everything of an item but its texts; whether it shows a shortcut text is part of its shape.
void AppendShape(std::string& shape, const TMenuItem& item, bool topLevel) {
  shape += std::to_string(reinterpret_cast<std::uintptr_t>(&item)) + ':' +
           std::to_string(item.ShortCut()) + (item.IsLine() ? "l" : "-") +
           (item.Enabled() ? "e" : "-") + (item.Checked() ? "c" : "-") +
           (item.RadioItem() ? "r" : "-") + (item.Visible() ? "v" : "-") +
           (ShortCutShown(item, topLevel).empty() ? "-" : "k") + "(";
  for (int i = 0; i < item.Count(); ++i)
    AppendShape(shape, *item.Items(i), false);
  shape += ")";
}

void SetLabelText(GtkWidget* label, const std::string& text, bool mnemonic) {
  if (text == gtk_label_get_label(GTK_LABEL(label))) return;
  if (mnemonic) {
    gtk_label_set_text_with_mnemonic(GTK_LABEL(label), text.c_str());
  } else {
    gtk_label_set_text(GTK_LABEL(label), text.c_str());
  }
}

// Brings the entries of a drop-down, and its items once built, to the new texts; `parent`
// has the shape the entries were read with.
void UpdateDropDown(TMenuDropDown& dropDown, const TMenuItem& parent, unsigned codePage,
                    const TMenuTextCodePage& itemCodePage, bool rightToLeft) {
  std::size_t next = 0;
  for (int i = 0; i < parent.Count() && next < dropDown.entries.size(); ++i) {
    const TMenuItem& item = *parent.Items(i);
    if (!item.Visible()) continue;
    TMenuEntry& entry = dropDown.entries[next];
    if (!entry.line) {
      entry.caption = CaptionText(item, codePage, itemCodePage);
      entry.shortcut = ToUtf8(ShortCutShown(item, false), codePage);
    }
    if (dropDown.built && dropDown.captions[next] != nullptr) {
      SetLabelText(dropDown.captions[next], entry.caption, true);
      if (GtkWidget* keys = dropDown.shortcuts[next]) SetLabelText(keys, entry.shortcut, false);
    }
    if (entry.dropDown) UpdateDropDown(*entry.dropDown, item, codePage, itemCodePage, rightToLeft);
    ++next;
  }
  dropDown.wantsRightToLeft = rightToLeft;
  if (dropDown.menu != nullptr && gtk_widget_get_visible(dropDown.menu)) TurnDropDown(dropDown);
}

}  // namespace

void BuildDropDown(GtkWidget* menu) {
  auto* kept =
      static_cast<std::shared_ptr<TMenuDropDown>*>(g_object_get_data(G_OBJECT(menu), kDropDownKey));
  if (kept == nullptr || (*kept)->built) return;
  FillDropDown(**kept);
  TurnDropDown(**kept);
}

bool ShortCutToAccelerator(framework::TShortCut shortCut, guint& key, GdkModifierType& mods) {
  std::uint16_t virtualKey = 0;
  framework::TShiftState shift = 0;
  framework::ShortCutToKey(shortCut, virtualKey, shift);
  key = GdkKeyOf(virtualKey);
  unsigned bits = 0;
  if ((shift & framework::ssShift) != 0) bits |= GDK_SHIFT_MASK;
  if ((shift & framework::ssCtrl) != 0) bits |= GDK_CONTROL_MASK;
  if ((shift & framework::ssAlt) != 0) bits |= GDK_MOD1_MASK;
  mods = static_cast<GdkModifierType>(bits);
  return shortCut != 0 && key != 0;
}

std::string MenuSignature(const framework::TMenu& menu, unsigned codePage, bool rightToLeft,
                          const TMenuTextCodePage& itemCodePage) {
  std::string signature = rightToLeft ? "rtl:" : "ltr:";
  AppendSignature(signature, *menu.Items(), codePage, itemCodePage);
  return signature;
}

std::string MenuShape(const framework::TMenu& menu) {
  std::string shape;
  AppendShape(shape, *menu.Items(), true);
  return shape;
}

void BuildMenuBar(GtkWidget* bar, GtkAccelGroup* accelerators, const framework::TMenu& menu,
                  unsigned codePage, bool rightToLeft, TInputSink& sink,
                  const TMenuTextCodePage& itemCodePage, TMenuBarParts* parts) {
  TMenuBarParts unkept;
  TMenuBarParts& kept = parts != nullptr ? *parts : unkept;
  kept = TMenuBarParts{};
  kept.rightToLeft = rightToLeft;
  TBarShortCuts* shortCuts = nullptr;
  if (accelerators != nullptr) {
    shortCuts = new TBarShortCuts{GTK_ACCEL_GROUP(g_object_ref(accelerators)), {}};
    g_object_weak_ref(G_OBJECT(bar), DropShortCuts, shortCuts);
  }
  const TMenuContext context{codePage, rightToLeft, sink, itemCodePage, accelerators, shortCuts};
  std::vector<GtkWidget*> leftToRight;
  TRows rows{kept.captions, kept.shortcuts, leftToRight, false};
  kept.bar = bar;
  PackBar(bar, rightToLeft);
  const TMenuItem& top = *menu.Items();
  for (int i = 0; i < top.Count(); ++i) {
    const TMenuItem& item = *top.Items(i);
    if (!item.Visible()) continue;
    TMenuEntry entry = ReadEntry(item, context, true);
    ReadBelow(entry, item, context, true);
    if (entry.dropDown) kept.dropDowns.push_back(entry.dropDown);
    GtkWidget* widget = MakeItem(entry, rows, sink);
    // An item's drop-down opens from its end: the item itself turns.
    SetDirection(widget, rightToLeft);
    kept.items.push_back(widget);
    AppendItem(bar, widget);
  }
}

void UpdateMenuBar(TMenuBarParts& parts, const framework::TMenu& menu, unsigned codePage,
                   bool rightToLeft, const TMenuTextCodePage& itemCodePage) {
  const TMenuItem& top = *menu.Items();
  std::size_t next = 0;
  std::size_t dropDowns = 0;
  for (int i = 0; i < top.Count(); ++i) {
    const TMenuItem& item = *top.Items(i);
    if (!item.Visible()) continue;
    if (!item.IsLine() && next < parts.captions.size()) {
      SetLabelText(parts.captions[next++],
                   BarCaption(CaptionText(item, codePage, itemCodePage), rightToLeft), true);
    }
    if (item.Count() > 0 && dropDowns < parts.dropDowns.size())
      UpdateDropDown(*parts.dropDowns[dropDowns++], item, codePage, itemCodePage, rightToLeft);
  }
  if (parts.rightToLeft == rightToLeft) return;
  if (parts.bar != nullptr) PackBar(parts.bar, rightToLeft);
  for (GtkWidget* item : parts.items)
    SetDirection(item, rightToLeft);
  parts.rightToLeft = rightToLeft;
}

}  // namespace lx::screen

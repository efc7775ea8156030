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

struct TMenuContext {
  GtkAccelGroup* accelerators;
  unsigned codePage;
  bool rightToLeft;
  TInputSink& sink;
  const TMenuTextCodePage& itemCodePage;
  TMenuBarParts* parts;
  std::vector<GtkWidget*>* directed;  // the bar's or a drop-down's, with `parts`
};

// Sets the reading direction and remembers the widget for a later change of language.
void Direct(GtkWidget* widget, const TMenuContext& context) {
  SetDirection(widget, context.rightToLeft);
  if (context.directed != nullptr) context.directed->push_back(widget);
}

void TurnDropDown(TMenuDropDown& dropDown) {
  if (dropDown.rightToLeft == dropDown.wantsRightToLeft) return;
  for (GtkWidget* widget : dropDown.directed)
    SetDirection(widget, dropDown.wantsRightToLeft);
  dropDown.rightToLeft = dropDown.wantsRightToLeft;
}

// GTK shows a drop-down before it sizes and maps it, however it is opened.
void OnDropDownShow(GtkWidget*, gpointer data) {
  TurnDropDown(**static_cast<std::shared_ptr<TMenuDropDown>*>(data));
}

void ForgetDropDown(gpointer data, GClosure*) {
  delete static_cast<std::shared_ptr<TMenuDropDown>*>(data);
}

// The context a drop-down's items are built in: with `parts`, their widgets join a list of
// the drop-down's own, turned when it shows.
TMenuContext DropDownContext(GtkWidget* submenu, const TMenuContext& context) {
  TMenuContext inner = context;
  if (context.parts == nullptr) return inner;
  auto dropDown = std::make_shared<TMenuDropDown>();
  dropDown->menu = submenu;
  dropDown->rightToLeft = dropDown->wantsRightToLeft = context.rightToLeft;
  context.parts->dropDowns.push_back(dropDown);
  inner.directed = &dropDown->directed;
  g_signal_connect_data(submenu, "show", G_CALLBACK(OnDropDownShow),
                        new std::shared_ptr<TMenuDropDown>(std::move(dropDown)), ForgetDropDown,
                        GConnectFlags{});
  return inner;
}

unsigned CaptionCodePage(const TMenuItem& item, unsigned codePage,
                         const TMenuTextCodePage& itemCodePage) {
  return itemCodePage ? itemCodePage(item, codePage) : codePage;
}

void FillMenu(GtkWidget* shell, const TMenuItem& parent, const TMenuContext& context,
              bool topLevel);

// The caption with its mnemonic and, in a drop-down menu, the shortcut text at the far end.
std::string CaptionText(const TMenuItem& item, unsigned codePage,
                        const TMenuTextCodePage& itemCodePage) {
  return MnemonicText(ToUtf8(item.Caption(), CaptionCodePage(item, codePage, itemCodePage)));
}

// What an item shows beside its caption: its shortcut's name, only in drop-down menus.
std::string ShortCutShown(const TMenuItem& item, bool topLevel) {
  return topLevel ? std::string() : item.ShortCutText();
}

GtkWidget* ItemRow(const TMenuItem& item, const TMenuContext& context, bool topLevel) {
  GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 24);
  Direct(row, context);
  GtkWidget* caption = gtk_label_new(nullptr);
  gtk_label_set_text_with_mnemonic(
      GTK_LABEL(caption), CaptionText(item, context.codePage, context.itemCodePage).c_str());
  gtk_label_set_xalign(GTK_LABEL(caption), 0.0F);
  Direct(caption, context);
  gtk_box_pack_start(GTK_BOX(row), caption, TRUE, TRUE, 0);
  const std::string keys = ShortCutShown(item, topLevel);
  GtkWidget* label = nullptr;
  if (!keys.empty()) {
    label = gtk_label_new(ToUtf8(keys, context.codePage).c_str());
    gtk_style_context_add_class(gtk_widget_get_style_context(label), "accelerator");
    Direct(label, context);
    gtk_box_pack_end(GTK_BOX(row), label, FALSE, FALSE, 0);
  }
  if (context.parts != nullptr) {
    context.parts->captions.push_back(caption);
    context.parts->shortcuts.push_back(label);
  }
  gtk_widget_show_all(row);
  return row;
}

GtkWidget* MakeItem(const TMenuItem& item, const TMenuContext& context, bool topLevel) {
  if (item.IsLine()) return gtk_separator_menu_item_new();
  // A radio item keeps its place for the mark whether it is checked or not.
  const bool checkable = item.Checked() || item.RadioItem();
  GtkWidget* widget = checkable ? gtk_check_menu_item_new() : gtk_menu_item_new();
  if (item.RadioItem()) gtk_check_menu_item_set_draw_as_radio(GTK_CHECK_MENU_ITEM(widget), TRUE);
  if (item.Checked()) gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(widget), TRUE);
  Direct(widget, context);
  gtk_container_add(GTK_CONTAINER(widget), ItemRow(item, context, topLevel));
  gtk_widget_set_sensitive(widget, item.Enabled());
  if (item.Count() > 0) {
    GtkWidget* submenu = gtk_menu_new();
    gtk_menu_set_accel_group(GTK_MENU(submenu), context.accelerators);
    const TMenuContext inner = DropDownContext(submenu, context);
    Direct(submenu, inner);
    FillMenu(submenu, item, inner, false);
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(widget), submenu);
    return widget;
  }
  ConnectInput(widget, "activate", G_CALLBACK(OnActivate), context.sink, &item);
  guint key = 0;
  GdkModifierType mods{};
  if (ShortCutToAccelerator(item.ShortCut(), key, mods)) {
    gtk_widget_add_accelerator(widget, "activate", context.accelerators, key, mods,
                               GTK_ACCEL_VISIBLE);
  }
  return widget;
}

void FillMenu(GtkWidget* shell, const TMenuItem& parent, const TMenuContext& context,
              bool topLevel) {
  for (int i = 0; i < parent.Count(); ++i) {
    const TMenuItem& item = *parent.Items(i);
    if (!item.Visible()) continue;
    GtkWidget* widget = MakeItem(item, context, topLevel);
    gtk_widget_show(widget);
    gtk_menu_shell_append(GTK_MENU_SHELL(shell), widget);
  }
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

// Walks the shown items in the order FillMenu built them; `next` counts the captions.
void UpdateItems(TMenuBarParts& parts, std::size_t& next, const TMenuItem& parent,
                 unsigned codePage, const TMenuTextCodePage& itemCodePage, bool topLevel) {
  for (int i = 0; i < parent.Count(); ++i) {
    const TMenuItem& item = *parent.Items(i);
    if (!item.Visible() || item.IsLine()) continue;
    if (next >= parts.captions.size()) return;
    SetLabelText(parts.captions[next], CaptionText(item, codePage, itemCodePage), true);
    if (GtkWidget* keys = parts.shortcuts[next])
      SetLabelText(keys, ToUtf8(ShortCutShown(item, topLevel), codePage), false);
    ++next;
    UpdateItems(parts, next, item, codePage, itemCodePage, false);
  }
}

}  // namespace

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
  if (parts != nullptr) {
    *parts = TMenuBarParts{};
    parts->rightToLeft = rightToLeft;
  }
  const TMenuContext context{accelerators,
                             codePage,
                             rightToLeft,
                             sink,
                             itemCodePage,
                             parts,
                             parts != nullptr ? &parts->directed : nullptr};
  Direct(bar, context);
  FillMenu(bar, *menu.Items(), context, true);
}

void UpdateMenuBar(TMenuBarParts& parts, const framework::TMenu& menu, unsigned codePage,
                   bool rightToLeft, const TMenuTextCodePage& itemCodePage) {
  std::size_t next = 0;
  UpdateItems(parts, next, *menu.Items(), codePage, itemCodePage, true);
  if (parts.rightToLeft == rightToLeft) return;
  for (GtkWidget* widget : parts.directed)
    SetDirection(widget, rightToLeft);
  parts.rightToLeft = rightToLeft;
  for (const std::shared_ptr<TMenuDropDown>& dropDown : parts.dropDowns) {
    dropDown->wantsRightToLeft = rightToLeft;
    if (gtk_widget_get_visible(dropDown->menu)) TurnDropDown(*dropDown);
  }
}

}  // namespace lx::screen

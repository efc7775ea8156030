#include "translator/LxMenus.h"

#include <algorithm>
#include <memory>

#include "framework/controls/Menus.h"
#include "lang/LxDictionaries.h"
#include "lang/LxDictionary.h"
#include "platform/Menus.h"
#include "platform/Windows.h"
#include "translator/LxPoly.h"

namespace lx::translator {

using framework::TComponent;

namespace {

struct TSystemMenuText {
  platform::UINT id;
  const char* text;
};

// The English texts of the system menu's standard items: the keys of their translations.
constexpr TSystemMenuText kSystemMenuTexts[] = {
    {platform::SC_SIZE, "&Size"},
    {platform::SC_MOVE, "&Move"},
    {platform::SC_MINIMIZE, "Mi&nimize"},
    {platform::SC_MAXIMIZE, "Ma&ximize"},
    {platform::SC_NEXTWINDOW, "&Next"},
    {platform::SC_PREVWINDOW, "&Previous"},
    {platform::SC_CLOSE, "&Close"},
    {platform::SC_VSCROLL, "&Vertical Scroll"},
    {platform::SC_HSCROLL, "&Horizontal Scroll"},
    {platform::SC_MOUSEMENU, "&Mouse"},
    {platform::SC_KEYMENU, "&Key"},
    {platform::SC_ARRANGE, "&Arrange"},
    {platform::SC_RESTORE, "&Restore"},
    {platform::SC_TASKLIST, "&Task List"},
    {platform::SC_SCREENSAVE, "&Screen Saver"},
    {platform::SC_HOTKEY, "&Hot Key"},
    {platform::SC_DEFAULT, "&Default"},
    {platform::SC_MONITORPOWER, "&Monitor Power"},
};

const char* SystemMenuText(platform::UINT id) {
  for (const TSystemMenuText& entry : kSystemMenuTexts) {
    if (entry.id == id) return entry.text;
  }
  return nullptr;
}

// The whole text of a menu item, however long.
std::string MenuItemText(platform::HMENU menu, int position) {
  const int length = platform::GetMenuString(menu, static_cast<platform::UINT>(position), {},
                                             platform::MF_BYPOSITION);
  std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
  const int copied = platform::GetMenuString(menu, static_cast<platform::UINT>(position), text,
                                             platform::MF_BYPOSITION);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

}  // namespace

// Automatic hot keys would rewrite every caption the walk sets; they are given once after,
// between the characters of the code page the captions are then written in.
std::vector<framework::TMenu*> TLxFormMenus::SwitchToManual(TLxTranslator& translator) {
  std::vector<framework::TMenu*> menus;
  TComponent* root = translator.GetRoot();
  if (root == nullptr) return menus;
  lang::TLxDictionary* dictionary = translator.Dictionary();
  for (framework::TMenu* menu : MenusOf(translator, *root)) {
    if (dictionary != nullptr)
      menu->SetCaptionCodePage(
          static_cast<platform::CodePage>(dictionary->CurrentLanguage().CodePage));
    if (menu->AutoHotkeys() == framework::maAutomatic) {
      menu->SetAutoHotkeys(framework::maManual);
      menus.push_back(menu);
    }
  }
  return menus;
}

// The menus the root owns. The owner's are kept from pass to pass: a translator hears of
// every component that joins or leaves its owner, and each kept menu tells it when it goes.
// Those of another root are looked for every time.
const std::vector<framework::TMenu*>& TLxFormMenus::MenusOf(TLxTranslator& translator,
                                                            TComponent& root) {
  if (menusOf_ == &root && menusCount_ == root.ComponentCount()) return menus_;
  menus_.clear();
  for (int i = 0; i < root.ComponentCount(); ++i) {
    TComponent* component = root.Components(i);
    if (component->InheritsFrom(framework::TMenu::StaticClassInfo()))
      menus_.push_back(static_cast<framework::TMenu*>(component));
  }
  const bool kept = &root == translator.Owner();
  menusOf_ = kept ? &root : nullptr;
  menusCount_ = root.ComponentCount();
  if (kept) {
    for (framework::TMenu* menu : menus_)
      translator.FreeNotification(menu);
  }
  return menus_;
}

// An item added and taken away again makes the menu work its hot keys out anew.
void TLxFormMenus::RestoreAutomaticHotkeys(const std::vector<framework::TMenu*>& menus) {
  for (framework::TMenu* menu : menus) {
    menu->SetAutoHotkeys(framework::maAutomatic);
    auto item = std::make_unique<framework::TMenuItem>(nullptr);
    menu->Items()->Add(item.get());
    menu->Items()->Remove(item.get());
  }
}

void TranslateSystemMenu(lang::TLxDictionary* dictionary, platform::HWND handle) {
  if (dictionary == nullptr || handle == 0) return;
  const platform::HMENU menu = platform::GetSystemMenu(handle, false);
  const int count = platform::GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    platform::MENUITEMINFO info;
    info.fMask = platform::MIIM_ID | platform::MIIM_FTYPE;
    if (!platform::GetMenuItemInfo(menu, static_cast<platform::UINT>(position), true, info) ||
        (info.fType & platform::MFT_SEPARATOR) != 0) {
      continue;
    }
    const char* english = SystemMenuText(info.wID);
    if (english == nullptr) continue;
    std::string text = lang::TranslateWith(dictionary, english);
    const std::string current = MenuItemText(menu, position);
    // The shortcut label after a tab stays.
    if (const std::size_t tab = current.find('\t'); tab != std::string::npos)
      text += current.substr(tab);
    platform::MENUITEMINFO update;
    update.fMask = platform::MIIM_ID | platform::MIIM_STRING;
    update.wID = info.wID;
    update.dwTypeData = text.data();
    platform::SetMenuItemInfo(menu, static_cast<platform::UINT>(position), true, update);
  }
}

}  // namespace lx::translator

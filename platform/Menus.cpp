#include "platform/Menus.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/WindowListener.h"

namespace lx::platform {

namespace {

struct MenuItem {
  UINT type = MFT_STRING;
  UINT state = MFS_ENABLED;
  UINT id = 0;
  std::string text;
};

using Menu = std::vector<MenuItem>;

struct MenuTable {
  std::map<HMENU, Menu> menus;
  HMENU lastHandle = 0;
};

MenuTable& Table() {
  static MenuTable table;
  return table;
}

Menu* MenuOf(HMENU menu) {
  const auto found = Table().menus.find(menu);
  return found == Table().menus.end() ? nullptr : &found->second;
}

MenuItem* ItemOf(HMENU menu, UINT item, bool byPosition) {
  Menu* items = MenuOf(menu);
  if (items == nullptr) return nullptr;
  if (byPosition) return item < items->size() ? &(*items)[item] : nullptr;
  const auto found = std::find_if(items->begin(), items->end(), [item](const MenuItem& entry) {
    return entry.type != MFT_SEPARATOR && entry.id == item;
  });
  return found == items->end() ? nullptr : &*found;
}

// Copies `text` into a buffer of `size` characters the way every menu call
// does: cut to size - 1 and terminated; returns the number copied.
UINT CopyCut(const std::string& text, char* buffer, std::size_t size) {
  const std::size_t copied = std::min(text.size(), size - 1);
  std::memcpy(buffer, text.data(), copied);
  buffer[copied] = '\0';
  return static_cast<UINT>(copied);
}

void ReadText(const MenuItem& item, MENUITEMINFO& info) {
  const std::string empty;
  const std::string& text = item.type == MFT_SEPARATOR ? empty : item.text;
  if (info.dwTypeData == nullptr || info.cch == 0) {
    info.cch = static_cast<UINT>(text.size());
  } else {
    info.cch = CopyCut(text, info.dwTypeData, info.cch);
  }
}

void WriteText(MenuItem& item, const char* text) {
  item.text = text == nullptr ? std::string() : std::string(text);
}

}  // namespace

HMENU CreatePopupMenu() {
  MenuTable& table = Table();
  const HMENU handle = ++table.lastHandle;
  table.menus.emplace(handle, Menu());
  detail::NotifyMenuChanged(handle);
  return handle;
}

bool DestroyMenu(HMENU menu) {
  if (Table().menus.erase(menu) == 0) return false;
  detail::NotifyMenuChanged(menu);
  return true;
}

bool IsMenu(HMENU menu) {
  return MenuOf(menu) != nullptr;
}

bool AppendMenu(HMENU menu, UINT flags, UINT id, std::string_view text) {
  Menu* items = MenuOf(menu);
  if (items == nullptr) return false;
  MenuItem item;
  item.id = id;
  if ((flags & MF_SEPARATOR) != 0) {
    item.type = MFT_SEPARATOR;
  } else {
    item.text = std::string(text);
  }
  items->push_back(std::move(item));
  detail::NotifyMenuChanged(menu);
  return true;
}

int GetMenuItemCount(HMENU menu) {
  const Menu* items = MenuOf(menu);
  return items == nullptr ? -1 : static_cast<int>(items->size());
}

UINT GetMenuItemID(HMENU menu, int position) {
  if (position < 0) return 0xFFFFFFFF;
  const MenuItem* item = ItemOf(menu, static_cast<UINT>(position), true);
  if (item == nullptr || item->type == MFT_SEPARATOR) return 0xFFFFFFFF;
  return item->id;
}

bool GetMenuItemInfo(HMENU menu, UINT item, bool byPosition, MENUITEMINFO& info) {
  const MenuItem* entry = ItemOf(menu, item, byPosition);
  if (entry == nullptr) return false;
  if ((info.fMask & (MIIM_FTYPE | MIIM_TYPE)) != 0) info.fType = entry->type;
  if ((info.fMask & MIIM_STATE) != 0) info.fState = entry->state;
  if ((info.fMask & MIIM_ID) != 0) info.wID = entry->id;
  if ((info.fMask & (MIIM_STRING | MIIM_TYPE)) != 0) ReadText(*entry, info);
  return true;
}

bool SetMenuItemInfo(HMENU menu, UINT item, bool byPosition, const MENUITEMINFO& info) {
  MenuItem* entry = ItemOf(menu, item, byPosition);
  if (entry == nullptr) return false;
  const bool setsType = (info.fMask & (MIIM_FTYPE | MIIM_TYPE)) != 0;
  if (setsType) entry->type = info.fType;
  if ((info.fMask & MIIM_STATE) != 0) entry->state = info.fState;
  if ((info.fMask & MIIM_ID) != 0) entry->id = info.wID;
  const bool setsText = (info.fMask & MIIM_STRING) != 0 ||
                        ((info.fMask & MIIM_TYPE) != 0 && info.fType != MFT_SEPARATOR);
  if (setsText) {
    if (!setsType) entry->type = MFT_STRING;
    WriteText(*entry, info.dwTypeData);
  }
  if (entry->type == MFT_SEPARATOR) entry->text.clear();
  detail::NotifyMenuChanged(menu);
  return true;
}

int GetMenuString(HMENU menu, UINT item, std::span<char> buffer, UINT flags) {
  const MenuItem* entry = ItemOf(menu, item, (flags & MF_BYPOSITION) != 0);
  if (entry == nullptr || entry->type == MFT_SEPARATOR) {
    if (!buffer.empty()) buffer[0] = '\0';
    return 0;
  }
  if (buffer.empty()) return static_cast<int>(entry->text.size());
  return static_cast<int>(CopyCut(entry->text, buffer.data(), buffer.size()));
}

}  // namespace lx::platform

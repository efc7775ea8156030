// Menus of the windowing layer: a menu is a list of items, each a text
// with a command identifier or a separator, reached through a handle.
//
// The calls keep the shape and the rules of their Windows namesakes, so that
// code written against those reads the same here: items are addressed by
// position or by command identifier, texts are copied into caller buffers
// and cut to fit, and a bad handle or position makes a call fail instead of
// touching anything.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace lx::platform {

using UINT = std::uint32_t;
/// A menu; 0 is no menu. Handles are never reused, so a stale one just fails.
using HMENU = std::uintptr_t;

/// How `item` addresses a menu item in GetMenuString and AppendMenu.
inline constexpr UINT MF_BYCOMMAND = 0x0000;
inline constexpr UINT MF_BYPOSITION = 0x0400;
/// Item kinds for AppendMenu.
inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_SEPARATOR = 0x0800;

/// Item types (MENUITEMINFO::fType).
inline constexpr UINT MFT_STRING = 0x0000;
inline constexpr UINT MFT_SEPARATOR = 0x0800;

/// Item states (MENUITEMINFO::fState).
inline constexpr UINT MFS_ENABLED = 0x0000;
inline constexpr UINT MFS_GRAYED = 0x0003;
inline constexpr UINT MFS_CHECKED = 0x0008;

/// Which members of MENUITEMINFO a call reads or fills.
inline constexpr UINT MIIM_STATE = 0x0001;
inline constexpr UINT MIIM_ID = 0x0002;
inline constexpr UINT MIIM_TYPE = 0x0010;  // type and, for text items, the text
inline constexpr UINT MIIM_STRING = 0x0040;
inline constexpr UINT MIIM_FTYPE = 0x0100;

/// One menu item as exchanged with GetMenuItemInfo and SetMenuItemInfo.
///
/// Text: on reading, `dwTypeData` is a caller buffer of `cch` characters; the
/// text is copied cut to `cch` - 1 characters plus a terminating zero and `cch`
/// becomes the number of characters copied. With no buffer (or `cch` 0) only
/// `cch` is set, to the length of the text. On writing, `dwTypeData` points to
/// a zero-terminated text (none for an empty text).
struct MENUITEMINFO {
  UINT fMask = 0;
  UINT fType = MFT_STRING;
  UINT fState = MFS_ENABLED;
  UINT wID = 0;
  char* dwTypeData = nullptr;
  UINT cch = 0;
};

/// A new empty menu.
HMENU CreatePopupMenu();
/// Frees a menu; false for a handle that is not a menu.
bool DestroyMenu(HMENU menu);
bool IsMenu(HMENU menu);

/// Appends a text item (MF_STRING) or a separator (MF_SEPARATOR, text ignored).
bool AppendMenu(HMENU menu, UINT flags, UINT id, std::string_view text);

/// The number of items, or -1 for a handle that is not a menu.
int GetMenuItemCount(HMENU menu);

/// The command identifier of the item at `position`; 0xFFFFFFFF when there is
/// no such item or it is a separator.
UINT GetMenuItemID(HMENU menu, int position);

/// Fills the members of `info` that `info.fMask` names (see MENUITEMINFO).
/// `item` is a position when `byPosition`, else a command identifier.
/// False, with `info` untouched, when the menu or the item does not exist.
bool GetMenuItemInfo(HMENU menu, UINT item, bool byPosition, MENUITEMINFO& info);

/// Changes the members that `info.fMask` names; false when the menu or the
/// item does not exist. A text written to a separator makes it a text item.
bool SetMenuItemInfo(HMENU menu, UINT item, bool byPosition, const MENUITEMINFO& info);

/// Copies the item's text into `buffer`, cut to its size - 1 characters and
/// zero-terminated; returns the number of characters copied. With an empty
/// buffer it returns the text's full length. 0 for a missing item or a
/// separator. `flags` is MF_BYPOSITION or MF_BYCOMMAND.
int GetMenuString(HMENU menu, UINT item, std::span<char> buffer, UINT flags);

}  // namespace lx::platform

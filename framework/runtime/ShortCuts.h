// Keyboard shortcuts of menu items and actions: a key with modifiers packed
// into 16 bits, and the texts that show them ("Ctrl+S", "Shift+F10").
//
// Key names and modifier prefixes are the framework's resource texts. The
// text routine is reached through a hook that can be replaced while the
// program runs, so that a translation can show every shortcut in the user's
// language.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "framework/runtime/ResourceStrings.h"

namespace lx::framework {

/// A virtual key code in the low byte plus the modifier bits below; 0 is none.
using TShortCut = std::uint16_t;
inline constexpr TShortCut scNone = 0;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;

/// Modifier keys held down, as a set of the bits below.
using TShiftState = std::uint8_t;
inline constexpr TShiftState ssShift = 0x01;
inline constexpr TShiftState ssAlt = 0x02;
inline constexpr TShiftState ssCtrl = 0x04;

/// The shortcut of `key` with the modifiers of `shift`; 0 for a key above 0xFF.
TShortCut ShortCut(std::uint16_t key, TShiftState shift);

/// Splits a shortcut into its key code and its modifiers.
void ShortCutToKey(TShortCut shortCut, std::uint16_t& key, TShiftState& shift);

/// Gives the text of a resource string; the shortcut texts use it for every
/// key name and modifier prefix.
using TResourceTextFunc = std::function<std::string(const TResStringRec&)>;

/// The text of a shortcut: "Shift+", "Ctrl+" and "Alt+" as they apply, in this
/// order, then the key name. The framework names BkSp, Tab, Esc, Enter, Space,
/// PgUp, PgDn, End, Home, Left, Up, Right, Down, Ins and Del; letters and
/// digits stand for themselves, numeric-pad digits are digits, F1..F24 are "F"
/// and the number, and other keys take the system's key name. Empty for a key
/// without a name. Prefixes and the framework's key names are read through
/// `resourceText`, so that a caller can pass each one through a translation.
std::string ShortCutToTextWith(TShortCut shortCut, const TResourceTextFunc& resourceText);

/// `ShortCutToTextWith` reading the texts with `LoadResString`: the routine
/// that is installed unless a hook replaces it.
std::string DefaultShortCutToText(TShortCut shortCut);

/// A routine that turns shortcuts into texts.
using TShortCutToTextFunc = std::string (*)(TShortCut shortCut);

/// Installs `routine` for every later `ShortCutToText` and returns the one it
/// replaces, so that the caller can put it back; nullptr installs the default.
TShortCutToTextFunc SetShortCutToTextHook(TShortCutToTextFunc routine);

/// The text of a shortcut, through the installed routine.
std::string ShortCutToText(TShortCut shortCut);

/// The shortcut that `ShortCutToText` shows as `text`, compared without regard
/// to ASCII case; the modifier prefixes may come in any order, and "^" stands
/// for "Ctrl+". 0 when no key matches.
TShortCut TextToShortCut(std::string_view text);

}  // namespace lx::framework

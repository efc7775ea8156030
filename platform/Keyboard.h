// Virtual keys and the system's names for them.
#pragma once

#include <cstdint>
#include <string>

namespace lx::platform {

using UINT = std::uint32_t;

// Virtual key codes. Letters and digits are their upper-case ASCII codes
// ('A'..'Z', '0'..'9').
inline constexpr UINT VK_BACK = 0x08;
inline constexpr UINT VK_TAB = 0x09;
inline constexpr UINT VK_CLEAR = 0x0C;
inline constexpr UINT VK_RETURN = 0x0D;
inline constexpr UINT VK_SHIFT = 0x10;
inline constexpr UINT VK_CONTROL = 0x11;
inline constexpr UINT VK_MENU = 0x12;
inline constexpr UINT VK_PAUSE = 0x13;
inline constexpr UINT VK_CAPITAL = 0x14;
inline constexpr UINT VK_ESCAPE = 0x1B;
inline constexpr UINT VK_SPACE = 0x20;
inline constexpr UINT VK_PRIOR = 0x21;
inline constexpr UINT VK_NEXT = 0x22;
inline constexpr UINT VK_END = 0x23;
inline constexpr UINT VK_HOME = 0x24;
inline constexpr UINT VK_LEFT = 0x25;
inline constexpr UINT VK_UP = 0x26;
inline constexpr UINT VK_RIGHT = 0x27;
inline constexpr UINT VK_DOWN = 0x28;
inline constexpr UINT VK_SNAPSHOT = 0x2C;
inline constexpr UINT VK_INSERT = 0x2D;
inline constexpr UINT VK_DELETE = 0x2E;
inline constexpr UINT VK_HELP = 0x2F;
inline constexpr UINT VK_LWIN = 0x5B;
inline constexpr UINT VK_RWIN = 0x5C;
inline constexpr UINT VK_APPS = 0x5D;
inline constexpr UINT VK_NUMPAD0 = 0x60;
inline constexpr UINT VK_NUMPAD9 = 0x69;
inline constexpr UINT VK_MULTIPLY = 0x6A;
inline constexpr UINT VK_ADD = 0x6B;
inline constexpr UINT VK_SEPARATOR = 0x6C;
inline constexpr UINT VK_SUBTRACT = 0x6D;
inline constexpr UINT VK_DECIMAL = 0x6E;
inline constexpr UINT VK_DIVIDE = 0x6F;
inline constexpr UINT VK_F1 = 0x70;
inline constexpr UINT VK_F2 = 0x71;
inline constexpr UINT VK_F3 = 0x72;
inline constexpr UINT VK_F4 = 0x73;
inline constexpr UINT VK_F5 = 0x74;
inline constexpr UINT VK_F6 = 0x75;
inline constexpr UINT VK_F7 = 0x76;
inline constexpr UINT VK_F8 = 0x77;
inline constexpr UINT VK_F9 = 0x78;
inline constexpr UINT VK_F10 = 0x79;
inline constexpr UINT VK_F11 = 0x7A;
inline constexpr UINT VK_F12 = 0x7B;
inline constexpr UINT VK_F13 = 0x7C;
inline constexpr UINT VK_F14 = 0x7D;
inline constexpr UINT VK_F15 = 0x7E;
inline constexpr UINT VK_F16 = 0x7F;
inline constexpr UINT VK_F17 = 0x80;
inline constexpr UINT VK_F18 = 0x81;
inline constexpr UINT VK_F19 = 0x82;
inline constexpr UINT VK_F20 = 0x83;
inline constexpr UINT VK_F21 = 0x84;
inline constexpr UINT VK_F22 = 0x85;
inline constexpr UINT VK_F23 = 0x86;
inline constexpr UINT VK_F24 = 0x87;
inline constexpr UINT VK_NUMLOCK = 0x90;
inline constexpr UINT VK_SCROLL = 0x91;
inline constexpr UINT VK_OEM_1 = 0xBA;  // ";" on a US keyboard
inline constexpr UINT VK_OEM_PLUS = 0xBB;
inline constexpr UINT VK_OEM_COMMA = 0xBC;
inline constexpr UINT VK_OEM_MINUS = 0xBD;
inline constexpr UINT VK_OEM_PERIOD = 0xBE;
inline constexpr UINT VK_OEM_2 = 0xBF;  // "/"
inline constexpr UINT VK_OEM_3 = 0xC0;  // "`"
inline constexpr UINT VK_OEM_4 = 0xDB;  // "["
inline constexpr UINT VK_OEM_5 = 0xDC;  // "\"
inline constexpr UINT VK_OEM_6 = 0xDD;  // "]"
inline constexpr UINT VK_OEM_7 = 0xDE;  // "'"

/// The system's name of a virtual key as its keyboard layout labels it
/// ("Caps Lock", "Num +", ";"); empty for a key it has no name for. The names
/// are those of a US keyboard.
std::string GetKeyNameText(UINT virtualKey);

}  // namespace lx::platform

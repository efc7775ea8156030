#include "platform/Keyboard.h"

#include <string_view>
#include <utility>

namespace lx::platform {

namespace {

constexpr std::pair<UINT, std::string_view> kNamedKeys[] = {
    {VK_BACK, "Backspace"},
    {VK_TAB, "Tab"},
    {VK_CLEAR, "Num 5"},
    {VK_RETURN, "Enter"},
    {VK_SHIFT, "Shift"},
    {VK_CONTROL, "Ctrl"},
    {VK_MENU, "Alt"},
    {VK_PAUSE, "Pause"},
    {VK_CAPITAL, "Caps Lock"},
    {VK_ESCAPE, "Esc"},
    {VK_SPACE, "Space"},
    {VK_PRIOR, "Page Up"},
    {VK_NEXT, "Page Down"},
    {VK_END, "End"},
    {VK_HOME, "Home"},
    {VK_LEFT, "Left"},
    {VK_UP, "Up"},
    {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},
    {VK_SNAPSHOT, "Prnt Scrn"},
    {VK_INSERT, "Insert"},
    {VK_DELETE, "Delete"},
    {VK_HELP, "Help"},
    {VK_LWIN, "Left Windows"},
    {VK_RWIN, "Right Windows"},
    {VK_APPS, "Application"},
    {VK_MULTIPLY, "Num *"},
    {VK_ADD, "Num +"},
    {VK_SUBTRACT, "Num -"},
    {VK_DECIMAL, "Num Del"},
    {VK_DIVIDE, "Num /"},
    {VK_NUMLOCK, "Num Lock"},
    {VK_SCROLL, "Scroll Lock"},
    {VK_OEM_1, ";"},
    {VK_OEM_PLUS, "="},
    {VK_OEM_COMMA, ","},
    {VK_OEM_MINUS, "-"},
    {VK_OEM_PERIOD, "."},
    {VK_OEM_2, "/"},
    {VK_OEM_3, "`"},
    {VK_OEM_4, "["},
    {VK_OEM_5, "\\"},
    {VK_OEM_6, "]"},
    {VK_OEM_7, "'"},
};

std::string_view TableName(UINT key) {
  for (const auto& [code, name] : kNamedKeys)
    if (code == key) return name;
  return {};
}

// Appended rather than concatenated: GCC 12 warns falsely on "text" + string.
std::string Numbered(std::string_view prefix, UINT number) {
  std::string name(prefix);
  name += std::to_string(number);
  return name;
}

}  // namespace

std::string GetKeyNameText(UINT virtualKey) {
  const bool letter = virtualKey >= 'A' && virtualKey <= 'Z';
  const bool digit = virtualKey >= '0' && virtualKey <= '9';
  if (letter || digit) return std::string(1, static_cast<char>(virtualKey));
  if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD9)
    return Numbered("Num ", virtualKey - VK_NUMPAD0);
  if (virtualKey >= VK_F1 && virtualKey <= VK_F24) return Numbered("F", virtualKey - VK_F1 + 1);
  return std::string(TableName(virtualKey));
}

}  // namespace lx::platform

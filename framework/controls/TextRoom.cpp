#include "framework/controls/TextRoom.h"

#include "framework/controls/ExtCtrls.h"
#include "framework/controls/StdCtrls.h"

namespace lx::framework {

std::string ShownCaption(std::string_view caption) {
  std::string text;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != '&') {
      text += caption[i];
    } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
      text += '&';
      ++i;
    }
  }
  return text;
}

TTextRoomKind TextRoomKindOf(const TControl& control) {
  if (dynamic_cast<const TLabel*>(&control) != nullptr) return TTextRoomKind::Label;
  if (dynamic_cast<const TButton*>(&control) != nullptr) return TTextRoomKind::Button;
  if (dynamic_cast<const TCheckBox*>(&control) != nullptr ||
      dynamic_cast<const TRadioButton*>(&control) != nullptr)
    return TTextRoomKind::CheckBox;
  if (dynamic_cast<const TCustomMemo*>(&control) != nullptr) return TTextRoomKind::Memo;
  if (dynamic_cast<const TCustomListBox*>(&control) != nullptr) return TTextRoomKind::ListBox;
  if (dynamic_cast<const TCustomComboBox*>(&control) != nullptr) return TTextRoomKind::ComboBox;
  if (dynamic_cast<const TGroupBox*>(&control) != nullptr) return TTextRoomKind::GroupBox;
  if (dynamic_cast<const TPanel*>(&control) != nullptr) return TTextRoomKind::Panel;
  return TTextRoomKind::None;
}

TTextInsets TextInsetsOf(TTextRoomKind kind) {
  constexpr int border = 1;
  switch (kind) {
    case TTextRoomKind::Button:
      return {border + kButtonPaddingX, border + kButtonPaddingX, border, border, 0};
    case TTextRoomKind::CheckBox:
      // The 14-pixel mark, its margins and the spacing before the caption.
      return {24, 0, 0, 0, 0};
    case TTextRoomKind::ListBox:
      // The list's border, the line's 2-pixel margin and its cell's 2-pixel padding; a line
      // is its text, the cell's padding above and below and 2 pixels between lines.
      return {border + 4, border + 4, border, border, 6};
    case TTextRoomKind::ComboBox:
      // The button's border and padding, and on the right the 16-pixel arrow besides.
      return {border + 4, border + 4 + 16, border, border, 0};
    case TTextRoomKind::Memo:
    case TTextRoomKind::Panel:
      return {border, border, border, border, 0};
    case TTextRoomKind::Label:
    case TTextRoomKind::GroupBox:
    case TTextRoomKind::None:
      break;
  }
  return {};
}

}  // namespace lx::framework

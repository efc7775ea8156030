// The room a control gives its text on screen: what the screen layer draws around the text
// (frame, padding, check mark, drop-down arrow), kept in one table so that the screen layer's
// style sheet and the tools that measure translations agree.
#pragma once

#include <string>
#include <string_view>

#include "framework/controls/Controls.h"

namespace lx::framework {

/// The kinds of control whose text the screen layer lays out alike.
enum class TTextRoomKind {
  None,  // shows no text of its own (edits, containers)
  Label,
  Button,
  CheckBox,  // radio buttons alike
  ListBox,
  ComboBox,
  Memo,
  GroupBox,
  Panel,
};

/// Pixels between the control's bounds and its text on each side; `lineExtra` is what a
/// list line adds to the height of its text (padding and spacing of the line).
struct TTextInsets {
  int left = 0;
  int right = 0;
  int top = 0;
  int bottom = 0;
  int lineExtra = 0;
  bool operator==(const TTextInsets&) const = default;
};

/// The padding the screen layer's style sheet gives a button on the left and on the right;
/// its border adds one pixel more on each side.
constexpr int kButtonPaddingX = 4;

/// The text a caption shows: "&&" is an ampersand, "&" marks the hot key and is not drawn.
std::string ShownCaption(std::string_view caption);

/// How `control` lays out its text (a check list box is a list box, a combo box with items
/// of its own a combo box).
TTextRoomKind TextRoomKindOf(const TControl& control);

/// The insets of a kind.
TTextInsets TextInsetsOf(TTextRoomKind kind);

}  // namespace lx::framework

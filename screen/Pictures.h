// Pictures of windows for translators: a form as it shows on screen, each translated control
// outlined and named by its key, so that a translator sees where a text goes and how much
// room it has.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"

namespace lx::screen {

/// A control, or an item of the form's main menu, to outline and the label written beside it
/// (UTF-8).
struct TPictureMark {
  const framework::TControl* control = nullptr;
  std::string label;
  const framework::TMenuItem* menuItem = nullptr;  // instead of a control
};

/// The PNG image of the window of `form` as it shows now (call Refresh first), each control
/// of `marks` outlined with its label beside it. Empty when the form shows no window (not
/// installed, or not shown); a mark whose control shows nothing is left out. A top item of the
/// menu bar is outlined like a control; the items of the drop-down menus, which the window does
/// not show, are listed in a legend under it (MenuLegend).
std::vector<std::uint8_t> FormPicture(const framework::TCustomForm& form,
                                      const std::vector<TPictureMark>& marks);

/// The lines of the legend under the picture: "label: text" for each marked menu item of a
/// drop-down menu that shows, its text as the menu shows it, in the order of `marks`.
std::vector<std::string> MenuLegend(const framework::TCustomForm& form,
                                    const std::vector<TPictureMark>& marks);

}  // namespace lx::screen

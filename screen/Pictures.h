// Pictures of windows for translators: a form as it shows on screen, each translated control
// outlined and named by its key, so that a translator sees where a text goes and how much
// room it has.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/controls/Forms.h"

namespace lx::screen {

/// A control to outline and the label written beside it (UTF-8).
struct TPictureMark {
  const framework::TControl* control = nullptr;
  std::string label;
};

/// The PNG image of the window of `form` as it shows now (call Refresh first), each control
/// of `marks` outlined with its label beside it. Empty when the form shows no window (not
/// installed, or not shown); a mark whose control shows nothing is left out.
std::vector<std::uint8_t> FormPicture(const framework::TCustomForm& form,
                                      const std::vector<TPictureMark>& marks);

}  // namespace lx::screen

// A readable text rendering of a window, for as long as probe has no
// on-screen backend: caption, reading direction, system menu, main menu with
// hot keys and shortcuts, and every control's text and place, in UTF-8.
#pragma once

#include <ostream>

#include "framework/controls/Forms.h"

namespace lx::app {

/// Writes `form`, whose texts are in `codePage`, to `out`.
void RenderWindowAsText(framework::TCustomForm& form, int codePage, std::ostream& out);

}  // namespace lx::app

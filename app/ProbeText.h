// A readable text rendering of a window, for as long as probe has no
// on-screen backend: caption, reading direction, system menu, main menu with
// hot keys and shortcuts, and every control's text and place, in UTF-8.
#pragma once

#include <functional>
#include <ostream>

#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"

namespace lx::app {

/// The code page of a menu item's caption.
using TMenuCaptionCodePage = std::function<int(const framework::TMenuItem& item)>;

/// Writes `form`, whose texts are in `codePage`, to `out`; the menu's captions are in the
/// code pages `menuCodePage` gives, when one is given.
void RenderWindowAsText(framework::TCustomForm& form, int codePage, std::ostream& out,
                        const TMenuCaptionCodePage& menuCodePage = {});

}  // namespace lx::app

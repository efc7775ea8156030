// The published properties that most controls share, for the LX_PUBLISHED lists of the
// control units. Include in source files only.
#pragma once

#include "framework/controls/Controls.h"
#include "framework/rtti/Published.h"

// Reading direction, enabled state, font and visibility, with the flags that make the font
// and the reading direction follow the parent's.
#define LX_CONTROL_APPEARANCE                                                                  \
  ::lx::framework::Property("BiDiMode", &TControl::BiDiMode, &TControl::SetBiDiMode,           \
                            ::lx::framework::bdLeftToRight)                                    \
      .Stored(&TControl::IsBiDiModeStored),                                                    \
      ::lx::framework::Property("Enabled", &TControl::Enabled, &TControl::SetEnabled, true),   \
      ::lx::framework::Property("Font", &TControl::Font, &TControl::SetFont)                   \
          .Stored(&TControl::IsFontStored),                                                    \
      ::lx::framework::Property("ParentBiDiMode", &TControl::ParentBiDiMode,                   \
                                &TControl::SetParentBiDiMode, true),                           \
      ::lx::framework::Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, \
                                true),                                                         \
      ::lx::framework::Property("Visible", &TControl::Visible, &TControl::SetVisible, true)

// The caption, a long string.
#define LX_CONTROL_CAPTION \
  ::lx::framework::Property("Caption", &TControl::Caption, &TControl::SetCaption)

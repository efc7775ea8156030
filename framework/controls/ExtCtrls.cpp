#include "framework/controls/ExtCtrls.h"

#include "framework/internal/ControlProperties.h"

namespace lx::framework {

LX_PUBLISHED(TPanel, LX_CONTROL_APPEARANCE, LX_CONTROL_CAPTION)

TPanel::TPanel(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 185, 41);
}

}  // namespace lx::framework

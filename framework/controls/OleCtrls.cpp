#include "framework/controls/OleCtrls.h"

#include "framework/internal/ControlProperties.h"

namespace lx::framework {

LX_PUBLISHED(TOleControl, LX_CONTROL_APPEARANCE)

TOleControl::TOleControl(TComponent* owner) : TWinControl(owner) {
  TComponentStyle style = ComponentStyle();
  style.Include(csCheckPropAvail);
  SetComponentStyle(style);
}

}  // namespace lx::framework

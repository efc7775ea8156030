// TOleControl: the host of an ActiveX control. Its published properties are those of the
// control it hosts, which may not all be there; its component style says so
// (csCheckPropAvail), so that walks over published properties can leave it out.
#pragma once

#include "framework/controls/Controls.h"

namespace lx::framework {

class TOleControl : public TWinControl {
  LX_CLASS(TOleControl, TWinControl)

 public:
  explicit TOleControl(TComponent* owner);
};

}  // namespace lx::framework

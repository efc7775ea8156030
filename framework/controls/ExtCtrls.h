// TPanel: a plain area that holds other controls, with a caption of its own.
#pragma once

#include "framework/controls/Controls.h"

namespace lx::framework {

class TPanel : public TWinControl {
  LX_CLASS(TPanel, TWinControl)

 public:
  explicit TPanel(TComponent* owner);
};

}  // namespace lx::framework

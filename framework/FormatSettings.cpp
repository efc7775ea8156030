#include "framework/FormatSettings.h"

namespace lx::framework {

TFormatSettings& FormatSettings() {
  static TFormatSettings settings;
  return settings;
}

}  // namespace lx::framework

#include "support/FixedSystem.h"

namespace lx::support {

platform::SystemDescription AustrianSystem() {
  platform::SystemDescription description;
  description.userDefaultLcid = 0x0C07;
  description.systemDefaultLcid = 0x0C07;
  description.threadLocale = 0x0C07;
  description.ansiCodePage = 1252;
  description.installedCodePages = {874,  932,  936,  949,  950,  1250, 1251,
                                    1252, 1253, 1254, 1255, 1256, 1257, 1258};
  description.installedLocales = {0x0407, 0x0409, 0x040C, 0x040D, 0x0411, 0x0419, 0x0809, 0x0C07};
  description.middleEastEnabled = false;
  description.dbcsEnabled = false;
  return description;
}

FixedSystem::FixedSystem() : FixedSystem(AustrianSystem()) {}

FixedSystem::FixedSystem(platform::SystemDescription description)
    : ScopedSystemDescription(std::move(description)) {}

}  // namespace lx::support

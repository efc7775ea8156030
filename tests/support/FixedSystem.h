// A fixed system description for tests, so that nothing depends on the locale
// of the machine the tests run on.
#pragma once

#include "platform/SystemLocale.h"

namespace lx::support {

/// German (Austria), 0x0C07, as user, system and thread locale; ANSI code page
/// 1252; the code pages 874, 932, 936, 949, 950 and 1250..1258 installed; the
/// locales 0x0407, 0x0409, 0x040C, 0x040D, 0x0411, 0x0419, 0x0809 and 0x0C07
/// installed; neither middle-east nor double-byte support.
platform::SystemDescription AustrianSystem();

/// Puts a description in force for its lifetime: `AustrianSystem()` unless
/// another one is given.
class FixedSystem : public platform::ScopedSystemDescription {
 public:
  FixedSystem();
  explicit FixedSystem(platform::SystemDescription description);
};

}  // namespace lx::support

// The run-time's system-locale record: the locale its multi-byte string
// routines assume, whether that locale writes in a double-byte (far-east) or
// right-to-left (middle-east) script, and which bytes of its code page lead a
// two-byte character.
#pragma once

#include <bitset>

#include "platform/LocaleIds.h"

namespace lx::framework {

struct TSysLocale {
  platform::Lcid DefaultLCID = platform::kEnglishUnitedStates;
  int PriLangID = 9;
  int SubLangID = 1;
  bool FarEast = false;
  bool MiddleEast = false;
  /// Bit b is set when byte b leads a two-byte character.
  std::bitset<256> LeadBytes;
};

/// The record in force for the whole process; derived by `InitSysLocale` on first use.
TSysLocale& SysLocale();

/// Derives the record as the run-time does at start-up: the locale is the thread
/// locale (English (United States) when there is none), far-east and middle-east
/// come from the system's double-byte and right-to-left metrics, and a far-east
/// system takes the lead bytes of its ANSI code page.
void InitSysLocale();

}  // namespace lx::framework

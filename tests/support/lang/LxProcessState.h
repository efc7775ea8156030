// Keeps a test from leaking what a dictionary changes in the process: the
// format settings, the run-time's system-locale record, the engine-wide
// locale values, the default dictionary index and the resource-string
// redirection. (The thread locale goes back with the system description.)
#pragma once

#include <cstdint>

#include "framework/runtime/FormatSettings.h"
#include "framework/runtime/SysLocale.h"
#include "lang/LxLocaleVariables.h"

namespace lx::support {

class TLxProcessState {
 public:
  TLxProcessState();
  /// Removes the redirection and puts everything else back as it was.
  ~TLxProcessState();
  TLxProcessState(const TLxProcessState&) = delete;
  TLxProcessState& operator=(const TLxProcessState&) = delete;

 private:
  framework::TFormatSettings formatSettings_;
  framework::TSysLocale sysLocale_;
  lang::TLxLocaleValues localeValues_;
  std::uint32_t defaultDictionaryIndex_;
};

}  // namespace lx::support

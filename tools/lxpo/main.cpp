#include <iostream>

#include "Lxpo.h"
#include "toolfiles/ToolFiles.h"

// libgettextpo keeps a few small blocks of every file it reads to the end of the process;
// fontconfig, under Pango's measures, its configuration.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libgettextpo\nleak:libfontconfig\n";
}

extern "C" const char* __lsan_default_options() {
  return "print_suppressions=0";
}

int main(int argc, char** argv) {
  lx::tools::PrepareToolProcess();
  const int code =
      lx::tools::RunLxpo(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
  return lx::tools::FinishStandardOutput("lxpo", code);
}

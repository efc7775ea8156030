#include <iostream>

#include "Lxpo.h"

// libgettextpo keeps a few small blocks of every file it reads to the end of the process.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libgettextpo\n";
}

extern "C" const char* __lsan_default_options() {
  return "print_suppressions=0";
}

int main(int argc, char** argv) {
  return lx::tools::RunLxpo(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}

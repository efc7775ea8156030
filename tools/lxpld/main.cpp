#include <iostream>

#include "lxpld/Lxpld.h"
#include "toolfiles/ToolFiles.h"

int main(int argc, char** argv) {
  lx::tools::PrepareToolProcess();
  const int code =
      lx::tools::RunLxpld(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
  return lx::tools::FinishStandardOutput("lxpld", code);
}

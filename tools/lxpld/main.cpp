#include <csignal>
#include <iostream>

#include "lxpld/Lxpld.h"

int main(int argc, char** argv) {
  // Past a file-size limit a write then fails with a reason instead of killing the tool
  // midway.
  std::signal(SIGXFSZ, SIG_IGN);
  const int code =
      lx::tools::RunLxpld(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
  if (!std::cout.flush()) {
    std::cerr << "lxpld: standard output cannot be written\n";
    return lx::tools::kLxpldBadInput;
  }
  return code;
}

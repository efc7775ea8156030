#include <iostream>

#include "lxpld/Lxpld.h"

int main(int argc, char** argv) {
  return lx::tools::RunLxpld(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}

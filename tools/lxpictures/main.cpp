#include <iostream>

#include "FormPictures.h"

int main(int argc, char** argv) {
  return lx::tools::RunLxpictures(argc, argv, std::cout, std::cerr);
}

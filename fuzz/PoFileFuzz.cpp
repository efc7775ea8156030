// Arbitrary bytes as a PO file read by lxpo (through libgettextpo): entries or PoError.
#include <cstdint>

#include "FuzzFiles.h"
#include "lxpo/PoFile.h"

// libgettextpo keeps a few small blocks of every file it reads to the end of the process.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libgettextpo\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = lx::fuzz::WriteFuzzFile("fuzz.po", data, size);
  try {
    lx::tools::PoReadCounts counts;
    (void)lx::tools::ReadPo(path, counts, true);
  } catch (const lx::tools::PoError&) {
    // Refused with a message.
  }
  return 0;
}

// Arbitrary bytes as a PO file read by lxpo (through libgettextpo): entries or PoError.
#include <cstdint>

#include "FuzzFiles.h"
#include "lxpo/PoFile.h"

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

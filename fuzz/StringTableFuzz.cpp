// Arbitrary text as a program's string table read by `lxpo extract --strings`: entries or
// PoError "<table>:<line>: <what>".
#include <cstdint>
#include <string>

#include "lxpo/PoExtract.h"
#include "lxpo/PoFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    (void)lx::tools::ExtractStringTable(text, "fuzz.strings");
    (void)lx::tools::ExtractStringTable(text, "fuzz.strings", 932, true);
  } catch (const lx::platform::Exception&) {
    // Refused with a message.
  }
  return 0;
}

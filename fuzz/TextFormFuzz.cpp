// Arbitrary bytes as a text form: what parses converts to a binary form that prints as text
// which parses to the very same bytes.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "framework/streaming/TextForm.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lx::framework;
  std::vector<std::uint8_t> binary;
  try {
    binary = FormTextToBinary(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const EParserError&) {
    return 0;
  }
  if (FormTextToBinary(FormBinaryToText(binary)) != binary) std::abort();
  return 0;
}

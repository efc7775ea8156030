// Arbitrary text as the JSON source of `lxpld build`: an image or a refusal with a message,
// nothing else (no crash, no exception of the JSON library), and what is accepted writes.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "lxpld/PldJson.h"
#include "pldimage/PldImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lx::tools;
  try {
    const PldImage image =
        ImageFromJson(std::string_view(reinterpret_cast<const char*>(data), size));
    (void)WritePldImage(image);
  } catch (const lx::platform::Exception&) {
    // Refused with a message.
  }
  return 0;
}

// Arbitrary bytes as a binary form stream: read into live components of the sample classes
// and written back, and converted to text, which must convert back and print the same.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>

#include "framework/streaming/Filer.h"
#include "framework/streaming/TextForm.h"
#include "platform/Exception.h"
#include "samples/FormSamples.h"

namespace {

using namespace lx;

void ReadAndWriteBack(std::span<const std::uint8_t> bytes) {
  framework::TReadOnlyMemoryStream stream(bytes);
  try {
    std::unique_ptr<framework::TComponent> form(framework::ReadComponentFrom(stream, nullptr));
    framework::TMemoryStream written;
    framework::WriteComponentTo(written, *form);
  } catch (const platform::Exception&) {
    // Refused with a message: what bad bytes should get.
  }
  support::LoadedLog().clear();
}

void ConvertToTextAndBack(std::span<const std::uint8_t> bytes) {
  std::string text;
  try {
    text = framework::FormBinaryToText(bytes);
  } catch (const platform::EReadError&) {
    return;
  }
  // Text that the converter writes always parses, and stands for the same values.
  if (framework::FormBinaryToText(framework::FormTextToBinary(text)) != text) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool registered = (support::RegisterFormSamples(), true);
  (void)registered;
  const std::span<const std::uint8_t> bytes(data, size);
  ReadAndWriteBack(bytes);
  ConvertToTextAndBack(bytes);
  return 0;
}

// Arbitrary bytes as a form of another designer: read tolerantly (binary, or text when they
// are no binary form) into a root of the sample classes, a value changed, and written back.
// Unchanged, the form must come back as it was read.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "framework/streaming/TolerantForm.h"
#include "platform/Exception.h"
#include "samples/FormSamples.h"

namespace {

using namespace lx;

void ReadAndWriteBack(const std::vector<std::uint8_t>& bytes) {
  try {
    auto form = framework::TTolerantForm::FromSource(bytes);
    support::TSampleForm root(nullptr);
    form->ReadInto(root);
    form->Snapshot();
    if (form->ChangedValues() != 0 || form->Write() != bytes) std::abort();
    root.caption += "x";
    form->WriteText();
    form->WriteBinary();
  } catch (const platform::Exception&) {
    // Refused with a message: what bad bytes should get.
  }
  support::LoadedLog().clear();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool registered = (support::RegisterFormSamples(), true);
  (void)registered;
  ReadAndWriteBack(std::vector<std::uint8_t>(data, data + size));
  return 0;
}

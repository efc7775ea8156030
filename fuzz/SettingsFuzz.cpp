// Arbitrary text as a settings file: read, then the language choice stored into it. What
// was stored reads back, and every other section reads as it did.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/Exception.h"
#include "platform/ProfileFile.h"
#include "platform/ProfileWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using lx::platform::ProfileFile;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ProfileFile before = ProfileFile::FromText(text);
  (void)before.ReadInteger("language", "activeId", 0);
  const std::string other = before.ReadString("other", "key", "none");
  std::string stored;
  try {
    stored = lx::platform::SetProfileValues(text, "language",
                                            {{"activeName", " Deutsch "}, {"activeId", "-1"}});
  } catch (const lx::platform::Exception&) {
    return 0;
  }
  const ProfileFile after = ProfileFile::FromText(stored);
  if (after.ReadString("language", "activeName", "") != " Deutsch " ||
      after.ReadInteger("language", "activeId", 0) != -1 ||
      after.ReadString("other", "key", "none") != other) {
    std::abort();
  }
  return 0;
}

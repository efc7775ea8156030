// Arbitrary text as the manifest of `lxpo build`, beside a PO file it may name ("de.po"):
// the command ends with a status and a message, never a crash.
#include <cstdint>
#include <sstream>
#include <string>

#include "FuzzFiles.h"
#include "lxpo/Lxpo.h"

namespace {

const std::string& PoFile() {
  static const std::string path = lx::fuzz::WriteFuzzFile(
      "de.po",
      "msgid \"\"\nmsgstr \"\"\n\"Language: de\\n\"\n"
      "\"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
      "msgctxt \"TMainForm|OpenButton\"\nmsgid \"Open\"\nmsgstr \"\\303\\226ffnen\"\n");
  return path;
}

}  // namespace

// libgettextpo keeps a few small blocks of every file it reads to the end of the process.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libgettextpo\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  PoFile();
  const std::string manifest = lx::fuzz::WriteFuzzFile("dictionary.json", data, size);
  std::ostringstream out;
  std::ostringstream err;
  lx::tools::RunLxpo({"build", manifest, "-o", lx::fuzz::FuzzFolder() + "out.pld"}, out, err);
  return 0;
}

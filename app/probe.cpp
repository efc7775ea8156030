// probe: a desktop utility that comes up in the user's language.
//
// Start-up order: module initialisation (companion files, scratch folder,
// formats) before anything else; finalisation in reverse order at exit.
#include <cstdio>
#include <string_view>

#include "frame/lbPaths.h"
#include "lx/LxVersion.h"

namespace {

// Module initialisation and finalisation, in dependency order.
class ProgramModules {
 public:
  ProgramModules() { lx::frame::InitializeCompanionFiles(); }
  ~ProgramModules() { lx::frame::FinalizeCompanionFiles(); }
  ProgramModules(const ProgramModules&) = delete;
  ProgramModules& operator=(const ProgramModules&) = delete;
};

void ShowCompanionFiles() {
  const std::string dictionary = lx::frame::DefaultDictionaryFile();
  std::printf("probe\n  settings:   %s\n  dictionary: %s\n  scratch:    %s\n",
              lx::frame::SettingsFileName().c_str(),
              dictionary.empty() ? "(none)" : dictionary.c_str(),
              lx::frame::ScratchFolder().empty() ? "(none)" : lx::frame::ScratchFolder().c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::string_view(argv[1]) == "--version") {
    std::printf("probe (Lx) %s\n", lx::kLxVersion);
    return 0;
  }
  const ProgramModules modules;
  ShowCompanionFiles();
  return 0;
}

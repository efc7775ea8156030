// Runs a fuzz target's entry point once per file, outside libFuzzer: `make test` replays
// every seed and every reproducer (fuzz/regressions/<target>/) under the sanitizers.
// Arguments are files or folders (a missing folder is passed over).
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void Replay(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  int count = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path argument = argv[i];
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(argument)) {
      for (const auto& entry : std::filesystem::directory_iterator(argument))
        if (entry.is_regular_file()) files.push_back(entry.path());
      std::sort(files.begin(), files.end());
    } else if (std::filesystem::is_regular_file(argument)) {
      files.push_back(argument);
    }
    for (const auto& file : files) {
      Replay(file);
      ++count;
    }
  }
  std::cout << count << " inputs replayed\n";
  return 0;
}

// Writes the seed corpus of the dictionary-image fuzzer: the sample image in
// every version, byte order, text width and key layout, with and without
// locales and record extras. Run as `pld_corpus fuzz/corpus/pld`.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "pldimage/PldImage.h"

namespace {

using lx::tools::PldImage;

void Save(const std::filesystem::path& folder, const std::string& name, const PldImage& image) {
  const std::vector<std::uint8_t> bytes = lx::tools::WritePldImage(image);
  std::ofstream out(folder / (name + ".pld"), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

void SaveLayouts(const std::filesystem::path& folder) {
  for (const int version : {1, 2, 3, 4}) {
    for (const bool bigEndian : {false, true}) {
      for (const bool utf16 : {false, true}) {
        PldImage image = lx::tools::SamplePldImage();
        image.version = version;
        image.bigEndian = bigEndian;
        image.utf16 = utf16;
        Save(folder,
             "v" + std::to_string(version) + (bigEndian ? "-be" : "-le") +
                 (utf16 ? "-utf16" : "-ansi"),
             image);
      }
    }
  }
}

void SaveVariants(const std::filesystem::path& folder) {
  for (const int flags : {0, 2, 3}) {
    PldImage image = lx::tools::SamplePldImage();
    image.contentFlags = flags;
    for (auto& translation : image.translations) {
      if (flags != 3) translation.context.clear();
      if (flags != 2) translation.id.clear();
    }
    Save(folder, "flags" + std::to_string(flags), image);
  }
  PldImage extras = lx::tools::SamplePldImage();
  extras.languages[1].extra.assign(10, 0xAB);
  extras.locales[0].extra.assign(3, 0);
  Save(folder, "extras", extras);
  PldImage single = lx::tools::SamplePldImage();
  single.languages.resize(1);
  single.locales.clear();
  for (auto& translation : single.translations)
    translation.texts.resize(1);
  Save(folder, "one-language", single);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: pld_corpus FOLDER\n";
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  SaveLayouts(folder);
  SaveVariants(folder);
  return 0;
}

// The dictionary image reader on a large image: 50,000 translation records of
// about 32 bytes in 10 languages, read from a file as the binary dictionary
// reads it, opening the image afresh for every query.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "dict/LxPLDFil.h"
#include "pldimage/PldImage.h"

namespace {

constexpr int kLanguages = 10;
constexpr int kRecords = 50000;

lx::tools::PldImage LargeImage(bool utf16) {
  lx::tools::PldImage image;
  image.utf16 = utf16;
  for (int i = 0; i < kLanguages; ++i) {
    lx::tools::PldLanguage& language = image.languages.emplace_back();
    language.primaryLanguage = i == 0 ? 0 : 7;
    language.subLanguage = i == 0 ? 0 : 1;
    language.codePage = 1252;
    language.englishName = "Language " + std::to_string(i);
  }
  for (int r = 0; r < kRecords; ++r) {
    lx::tools::PldTranslation& translation = image.translations.emplace_back();
    for (int i = 0; i < kLanguages; ++i) {
      // Every third record lacks some translations, as real dictionaries do.
      const bool missing = r % 3 == 0 && i % 2 == 1;
      translation.texts.push_back(
          missing ? "" : "Text " + std::to_string(r) + " in language " + std::to_string(i));
    }
  }
  return image;
}

std::string WriteImageFile(bool utf16) {
  const auto bytes = lx::tools::WritePldImage(LargeImage(utf16));
  const std::string name = (std::filesystem::temp_directory_path() /
                            (utf16 ? "lx_bench_utf16.pld" : "lx_bench_8bit.pld"))
                               .string();
  std::ofstream(name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return name;
}

const std::string& ImageFile(bool utf16) {
  static const std::string ansi = WriteImageFile(false);
  static const std::string wide = WriteImageFile(true);
  return utf16 ? wide : ansi;
}

// A language switch: open the image, then read every record for the new language.
void BM_LanguageSwitchPass(benchmark::State& state) {
  const std::string& file = ImageFile(state.range(0) != 0);
  lx::lang::TLxTranslation translation;
  for (auto _ : state) {
    lx::dict::TLxPLDFile reader;
    reader.OpenFile(file);
    reader.SeekTranslations();
    int kept = 0;
    for (int i = 0; i < reader.TranslationCount(); ++i)
      kept += reader.ReadTranslation(translation, 5, 1, 1252) != 2;
    benchmark::DoNotOptimize(kept);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_LanguageSwitchPass)->ArgName("utf16")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One small query: open the image and read the last language.
void BM_OpenAndReadLanguage(benchmark::State& state) {
  const std::string& file = ImageFile(false);
  for (auto _ : state) {
    lx::dict::TLxPLDFile reader;
    reader.OpenFile(file);
    benchmark::DoNotOptimize(reader.ReadLanguageAt(kLanguages - 1)->CodePage);
  }
}
BENCHMARK(BM_OpenAndReadLanguage)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

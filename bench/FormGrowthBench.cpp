// Loading, translating and freeing a form of 2,000, 20,000 and 200,000 components, as
// `lxform --translate` and `lxpo extract` do it: a stand-in root reads the binary form (every
// component inserted into its owner under a unique name), its translator translates every
// Caption and Hint from a binary dictionary, and the form is freed. Each step should be
// linear in the number of components: ten times the components, about ten times the time.
//
//   BM_LoadAndFree           reading the form and freeing it
//   BM_LoadTranslateAndFree  the same with the translator's first pass in between
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "dict/LxBinDic.h"
#include "formtools/StandInForm.h"
#include "framework/streaming/Filer.h"
#include "framework/streaming/Streams.h"
#include "framework/streaming/TextForm.h"
#include "pldimage/PldImage.h"
#include "translator/LxPoly.h"

namespace {

using namespace lx;

std::string Text(const char* kind, int i, int language) {
  return std::string(kind) + " " + std::to_string(i) + (language == 0 ? "" : " (es)");
}

// The form's texts repeat after this many components: a dictionary holds at most 65,535.
constexpr int kDistinctTexts = 30000;

// Every text of the forms in English and Spanish, keyed by the text alone.
tools::PldImage Image() {
  tools::PldImage image;
  image.contentFlags = 1;
  for (int i = 0; i < 2; ++i) {
    tools::PldLanguage& language = image.languages.emplace_back();
    language.primaryLanguage = i == 0 ? 0 : 10;
    language.subLanguage = i;
    language.codePage = 1252;
    language.englishName = i == 0 ? "Native" : "Spanish";
  }
  for (int i = 0; i < kDistinctTexts; ++i) {
    for (const char* kind : {"Caption", "Hint"}) {
      tools::PldTranslation& translation = image.translations.emplace_back();
      translation.texts = {Text(kind, i, 0), Text(kind, i, 1)};
    }
  }
  return image;
}

class TImageFile {
 public:
  TImageFile() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lx_growth_XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    folder_ = pattern;
    file_ = (folder_ / "growth.pld").string();
    const auto bytes = tools::WritePldImage(Image());
    std::ofstream(file_, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  ~TImageFile() { std::filesystem::remove_all(folder_); }
  const std::string& Name() const { return file_; }

 private:
  std::filesystem::path folder_;
  std::string file_;
};

const std::string& ImageFile() {
  static const TImageFile file;
  return file.Name();
}

// A form of `count` labels with a caption and a hint each, and a translator, as binary.
const std::vector<std::uint8_t>& Form(int count) {
  static std::map<int, std::vector<std::uint8_t>> forms;
  std::vector<std::uint8_t>& binary = forms[count];
  if (!binary.empty()) return binary;
  std::string text = "object GrowthForm: TGrowthForm\n  Caption = 'Growth'\n";
  text +=
      "  object Translator: TLxTranslator\n    DictionaryName = 'Dictionary1'\n"
      "    CharsetChange = lxccDisabled\n"
      "    TargetsData = (1 2 ('*' 'Hint' 0) ('*' 'Caption' 0))\n  end\n";
  for (int i = 0; i < count; ++i) {
    const int at = i % kDistinctTexts;
    text += "  object Label" + std::to_string(i) + ": TLabel\n    Hint = '" + Text("Hint", at, 0) +
            "'\n    Caption = '" + Text("Caption", at, 0) + "'\n  end\n";
  }
  text += "end\n";
  binary = framework::FormTextToBinary(text);
  return binary;
}

void Load(tools::TStandInForm& root, const std::vector<std::uint8_t>& binary) {
  framework::TMemoryStream input(binary);
  framework::ReadComponentFrom(input, &root);
}

void BM_LoadAndFree(benchmark::State& state) {
  tools::RegisterStandardClasses();
  const std::vector<std::uint8_t>& binary = Form(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    tools::TStandInForm root("TGrowthForm");
    Load(root, binary);
    benchmark::DoNotOptimize(root.ComponentCount());
  }
  state.counters["components"] = static_cast<double>(state.range(0));
}

void BM_LoadTranslateAndFree(benchmark::State& state) {
  tools::RegisterStandardClasses();
  const std::vector<std::uint8_t>& binary = Form(static_cast<int>(state.range(0)));
  dict::TLxBinaryDictionary dictionary(nullptr);
  dictionary.SetFileName(ImageFile());
  dictionary.SetBinding(lang::lxbiNone);
  dictionary.SetCheckLevel(lang::lxclNone);
  dictionary.SetLanguage(1);
  dictionary.Open();
  if (!dictionary.IsOpen()) std::abort();
  for (auto _ : state) {
    tools::TStandInForm root("TGrowthForm");
    Load(root, binary);
    translator::TLxTranslator* translator = tools::FindTranslator(root);
    translator->SetDictionary(&dictionary);
    translator->Open();
    benchmark::DoNotOptimize(translator->Table().Count());
    state.counters["texts"] = translator->Table().Count();
  }
  state.counters["components"] = static_cast<double>(state.range(0));
}

BENCHMARK(BM_LoadAndFree)->Arg(2000)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadTranslateAndFree)
    ->Arg(2000)
    ->Arg(20000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

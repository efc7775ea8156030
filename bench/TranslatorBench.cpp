// The translation pass on forms of 100, 1,000 and 10,000 captioned controls: each control
// with a Caption and a Hint, plus a menu of 100 items and a list box of 1,000 lines, on a
// binary dictionary of three languages (context and id keys, as forms store them).
//
//   BM_OpenTranslator     the first pass: every text looked up and remembered
//   BM_SwitchLanguage     a language switch of the dictionary with the translator on it
//   BM_SwitchRightToLeft  the same switch between a left-to-right and a right-to-left
//                         language, on a form whose controls sit in it: every control is
//                         mirrored inside the form, or put back
//   BM_DictionarySwitch   the same switch with no translator: the dictionary's own cost
//   BM_PlainLoop          a loop setting the texts the pass sets, from ready strings
//   BM_PlainLoopHotkeysOnce  the same loop with the menu on manual hot keys meanwhile and
//                         its hot keys worked out once after, as the pass does it (the
//                         plain loop makes the menu work them out after each caption)
//
// Each pass should be linear in the number of texts, and a switch of the whole form should
// cost little more than the dictionary's switch and the plain loop together. The counter
// "texts" is what one pass translates (the translator's table) or what the loop sets, and
// must be the same for both; bench/translator_ratios.py prints the growth and the ratio.
//
// `translator_bench --switches=N [--no-translator | --plain-loop | --plain-loop-hotkeys-once]`
// makes no benchmark: it switches the 10,000-control form N times after two switches that
// settle the dictionary (or runs a plain loop N times), counting instructions under callgrind
// for those N only:
//   valgrind --tool=callgrind --instr-atstart=no build/bench/bench/translator_bench --switches=10
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <valgrind/callgrind.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dict/LxBinDic.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "pldimage/PldImage.h"
#include "translator/LxPoly.h"

namespace {

using namespace lx;

constexpr int kMenuItems = 100;
constexpr int kListLines = 1000;
constexpr int kLargest = 10000;
constexpr int kLanguages = 4;
constexpr int kArabic = 3;
constexpr int kFormWidth = 1000;

std::string Text(const std::string& kind, int i, int language) {
  return kind + " " + std::to_string(i) + (language == 0 ? "" : " L" + std::to_string(language));
}

tools::PldImage Image() {
  tools::PldImage image;
  image.contentFlags = 1;
  // English, Spanish, German and Arabic.
  const int primaryLanguages[kLanguages] = {0, 10, 7, 1};
  for (int i = 0; i < kLanguages; ++i) {
    tools::PldLanguage& language = image.languages.emplace_back();
    language.primaryLanguage = primaryLanguages[i];
    language.subLanguage = i == 0 ? 0 : 1;
    language.codePage = i == 3 ? 1256 : 1252;
    language.englishName = "Language " + std::to_string(i);
  }
  const auto add = [&image](const std::string& kind, int i, const std::string& id) {
    tools::PldTranslation& translation = image.translations.emplace_back();
    for (int language = 0; language < kLanguages; ++language)
      translation.texts.push_back(Text(kind, i, language));
    translation.context = "TForm";
    translation.id = id;
  };
  for (int i = 0; i < kLargest; ++i) {
    add("Caption", i, "Button" + std::to_string(i));
    add("Hint", i, "Button" + std::to_string(i));
  }
  for (int i = 0; i < kMenuItems; ++i)
    add("Item", i, "Item" + std::to_string(i));
  for (int i = 0; i < kListLines; ++i)
    add("Line", i, "List");
  return image;
}

// The image in a folder of this process's own, removed at exit.
class TImageFile {
 public:
  TImageFile() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lx_bench_XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    folder_ = pattern;
    file_ = (folder_ / "translator.pld").string();
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

std::unique_ptr<dict::TLxBinaryDictionary> OpenDictionary() {
  auto dictionary = std::make_unique<dict::TLxBinaryDictionary>(nullptr);
  dictionary->SetFileName(ImageFile());
  dictionary->SetBinding(lang::lxbiNone);
  dictionary->SetCheckLevel(lang::lxclNone);
  dictionary->SetLanguage(0);
  dictionary->Open();
  return dictionary;
}

// The form with its texts in the native language.
struct TBenchForm {
  explicit TBenchForm(int controls, bool placed = false)
      : form(std::make_unique<framework::TForm>(nullptr)) {
    form->SetName("BenchForm");
    form->SetWidth(kFormWidth);
    for (int i = 0; i < controls; ++i) {
      auto* button = new framework::TButton(form.get());
      if (placed) {
        button->SetParent(form.get());
        button->SetBounds(i % 900, i / 900 * 30, 75, 25);
      }
      button->SetName("Button" + std::to_string(i));
      button->SetCaption(Text("Caption", i, 0));
      button->SetHint(Text("Hint", i, 0));
      buttons.push_back(button);
    }
    menu = new framework::TMainMenu(form.get());
    menu->SetName("Menu");
    for (int i = 0; i < kMenuItems; ++i) {
      auto* item = new framework::TMenuItem(form.get());
      item->SetName("Item" + std::to_string(i));
      item->SetCaption(Text("Item", i, 0));
      menu->Items()->Add(item);
      items.push_back(item);
    }
    list = new framework::TListBox(form.get());
    list->SetName("List");
    for (int i = 0; i < kListLines; ++i)
      list->Items()->Add(Text("Line", i, 0));
    translator = new translator::TLxTranslator(form.get());
    translator->Targets()->Add("", 0, "Caption");
    translator->Targets()->Add("", 0, "Hint");
    translator->Targets()->Add("", 0, "Items");
  }

  std::unique_ptr<framework::TForm> form;
  std::vector<framework::TButton*> buttons;
  framework::TMainMenu* menu = nullptr;
  std::vector<framework::TMenuItem*> items;
  framework::TListBox* list = nullptr;
  translator::TLxTranslator* translator = nullptr;
};

// `texts` is counted by whoever runs the pass or the loop, not worked out here.
void SetCounters(benchmark::State& state, int texts) {
  state.counters["texts"] = texts;
  state.counters["ns_per_text"] =
      benchmark::Counter(texts * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_OpenTranslator(benchmark::State& state) {
  const int controls = static_cast<int>(state.range(0));
  auto dictionary = OpenDictionary();
  dictionary->SetLanguage(1);
  int texts = 0;
  for (auto _ : state) {
    state.PauseTiming();
    TBenchForm bench(controls);
    state.ResumeTiming();
    bench.translator->Open();
    state.PauseTiming();
    if (!bench.translator->Active()) state.SkipWithError("the translator did not open");
    texts = bench.translator->Table().Count();
    bench.form.reset();
    state.ResumeTiming();
  }
  SetCounters(state, texts);
}

void BM_SwitchLanguage(benchmark::State& state) {
  const int controls = static_cast<int>(state.range(0));
  auto dictionary = OpenDictionary();
  TBenchForm bench(controls);
  bench.translator->Open();
  int language = 1;
  for (auto _ : state) {
    dictionary->SetLanguage(language);
    language = 3 - language;
  }
  if (bench.buttons.back()->Caption() != Text("Caption", controls - 1, 3 - language))
    state.SkipWithError("the form was not translated");
  SetCounters(state, bench.translator->Table().Count());
}

void BM_SwitchRightToLeft(benchmark::State& state) {
  const int controls = static_cast<int>(state.range(0));
  auto dictionary = OpenDictionary();
  TBenchForm bench(controls, true);
  bench.translator->Open();
  int language = kArabic;
  for (auto _ : state) {
    dictionary->SetLanguage(language);
    language = language == kArabic ? 1 : kArabic;
  }
  const framework::TButton& last = *bench.buttons.back();
  const int nativeLeft = (controls - 1) % 900;
  const bool mirrored = language == 1;
  if (last.Left() != (mirrored ? kFormWidth - 75 - nativeLeft : nativeLeft))
    state.SkipWithError("the form was not mirrored");
  SetCounters(state, bench.translator->Table().Count());
}

void BM_DictionarySwitch(benchmark::State& state) {
  auto dictionary = OpenDictionary();
  int language = 1;
  for (auto _ : state) {
    dictionary->SetLanguage(language);
    language = 3 - language;
  }
}

// The texts the pass sets in `language`, in the order the loop sets them.
std::vector<std::string> PlainTexts(int controls, int language) {
  std::vector<std::string> texts;
  for (int i = 0; i < controls; ++i) {
    texts.push_back(Text("Caption", i, language));
    texts.push_back(Text("Hint", i, language));
  }
  for (int i = 0; i < kMenuItems; ++i)
    texts.push_back(Text("Item", i, language));
  for (int i = 0; i < kListLines; ++i)
    texts.push_back(Text("Line", i, language));
  return texts;
}

// Sets every text from `words`; the number set. With `hotkeysOnce` the menu takes manual
// hot keys meanwhile, and works them out once after.
std::size_t SetPlainTexts(TBenchForm& bench, const std::vector<std::string>& words,
                          bool hotkeysOnce = false) {
  std::size_t next = 0;
  for (framework::TButton* button : bench.buttons) {
    button->SetCaption(words[next++]);
    button->SetHint(words[next++]);
  }
  if (hotkeysOnce) bench.menu->SetAutoHotkeys(framework::maManual);
  for (framework::TMenuItem* item : bench.items)
    item->SetCaption(words[next++]);
  if (hotkeysOnce) {
    bench.menu->SetAutoHotkeys(framework::maAutomatic);
    framework::TMenuItem rethink(nullptr);
    bench.menu->Items()->Add(&rethink);
    bench.menu->Items()->Remove(&rethink);
  }
  framework::TStrings& lines = *bench.list->Items();
  lines.BeginUpdate();
  for (int i = 0; i < kListLines; ++i)
    lines.SetStrings(i, words[next++]);
  lines.EndUpdate();
  return next;
}

void PlainLoop(benchmark::State& state, bool hotkeysOnce) {
  const int controls = static_cast<int>(state.range(0));
  TBenchForm bench(controls);
  const std::vector<std::string> texts[3] = {{}, PlainTexts(controls, 1), PlainTexts(controls, 2)};
  int language = 1;
  std::size_t set = 0;
  for (auto _ : state) {
    set = SetPlainTexts(bench, texts[language], hotkeysOnce);
    language = 3 - language;
  }
  SetCounters(state, static_cast<int>(set));
}

void BM_PlainLoop(benchmark::State& state) {
  PlainLoop(state, false);
}

void BM_PlainLoopHotkeysOnce(benchmark::State& state) {
  PlainLoop(state, true);
}

}  // namespace

BENCHMARK(BM_OpenTranslator)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwitchLanguage)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwitchRightToLeft)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DictionarySwitch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainLoop)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainLoopHotkeysOnce)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

namespace {

int CountPlainLoops(int loops, bool hotkeysOnce) {
  TBenchForm bench(kLargest);
  const std::vector<std::string> texts[3] = {{}, PlainTexts(kLargest, 1), PlainTexts(kLargest, 2)};
  SetPlainTexts(bench, texts[2], hotkeysOnce);
  CALLGRIND_START_INSTRUMENTATION;
  for (int i = 0; i < loops; ++i)
    SetPlainTexts(bench, texts[1 + i % 2], hotkeysOnce);
  CALLGRIND_STOP_INSTRUMENTATION;
  return 0;
}

int CountSwitches(int switches, bool withTranslator) {
  auto dictionary = OpenDictionary();
  TBenchForm bench(kLargest);
  if (withTranslator) bench.translator->Open();
  dictionary->SetLanguage(2);
  dictionary->SetLanguage(1);
  CALLGRIND_START_INSTRUMENTATION;
  for (int i = 0; i < switches; ++i)
    dictionary->SetLanguage(2 - i % 2);
  CALLGRIND_STOP_INSTRUMENTATION;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument.starts_with("--switches=")) {
      const std::string_view mode = i + 1 < argc ? argv[i + 1] : "";
      const int count = std::atoi(argv[i] + 11);
      if (mode == "--plain-loop") return CountPlainLoops(count, false);
      if (mode == "--plain-loop-hotkeys-once") return CountPlainLoops(count, true);
      return CountSwitches(count, mode != "--no-translator");
    }
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

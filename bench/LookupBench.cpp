// Lookup benchmark: the same texts through every available engine, compared as
// ratios. Every case starts from the same state for every engine: run each in a
// fresh process (`make bench` does, through --benchmark_filter), so that what an
// earlier case left in an engine's caches does not count.
//
// Each case runs twice: keyed with a context, as forms look texts up ("context"),
// and by the text alone ("word"). Every look-up copies its answer into a string
// the engine reuses (Qt: the QString its API builds).
//
//   Hit            one look-up of a key the catalog holds (keys in shuffled order)
//   Miss           one look-up of a key no catalog holds, right after opening
//   MissAfterPass  the same after one look-up of every key (caches filled)
//   HotSet         one look-up among 256 keys, as a form's texts are looked up again
//   OpenPass       opening the catalogs (a real load every time), then a pass
//   SwitchPass     switching to another language, then a pass
//   Memory         heap in use and catalog file pages touched after opening and a pass,
//                  each against the state before opening (counters heap_kB, file_kB)
//
// --catalogs=DIR keeps the catalogs in DIR and reuses them from run to run;
// without it they are built in a temporary folder and removed at the end.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "Engine.h"

namespace lx::bench {

bool RunCommand(const std::string& command) {
  return std::system(command.c_str()) == 0;
}

namespace {

constexpr int kHotSetSize = 256;
constexpr int kPassIterations = 10;

std::string catalogFolder;

// One engine for the cases of one key kind, made on first use so that a process that
// runs one case builds nothing else.
struct EngineSlot {
  EngineFactory factory;
  Keys keys;
  std::unique_ptr<Engine> engine;
  std::string why;

  Engine* Get() {
    if (!engine && why.empty()) {
      engine = factory(BenchmarkCorpus(), catalogFolder, keys, why);
      if (!engine && why.empty()) why = "not available";
    }
    return engine.get();
  }
};

std::size_t Pass(Engine& engine, const Corpus& corpus) {
  std::size_t sum = 0;
  for (std::size_t index : corpus.shuffled)
    sum += engine.Lookup(corpus.keys[index]);
  return sum;
}

// The engine opened in language 1, or null with the case skipped.
Engine* Opened(benchmark::State& state, EngineSlot* slot) {
  Engine* engine = slot->Get();
  if (engine == nullptr) {
    state.SkipWithError(slot->why.c_str());
    return nullptr;
  }
  engine->PrepareOpen();
  engine->Open(1);
  // gettext loads a catalog at its first look-up; a miss loads it without caching anything.
  engine->Lookup(BenchmarkCorpus().missingKeys.back());
  return engine;
}

void LookUpRound(benchmark::State& state, Engine& engine, const std::vector<std::string>& texts,
                 const std::vector<std::size_t>& order, std::size_t count) {
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(engine.Lookup(texts[order[i]]));
    if (++i == count) i = 0;
  }
}

void Hit(benchmark::State& state, EngineSlot* slot) {
  const Corpus& corpus = BenchmarkCorpus();
  if (Engine* engine = Opened(state, slot))
    LookUpRound(state, *engine, corpus.keys, corpus.shuffled, corpus.shuffled.size());
}

void Miss(benchmark::State& state, EngineSlot* slot) {
  const Corpus& corpus = BenchmarkCorpus();
  if (Engine* engine = Opened(state, slot))
    LookUpRound(state, *engine, corpus.missingKeys, corpus.shuffled, corpus.shuffled.size());
}

void MissAfterPass(benchmark::State& state, EngineSlot* slot) {
  const Corpus& corpus = BenchmarkCorpus();
  Engine* engine = Opened(state, slot);
  if (engine == nullptr) return;
  benchmark::DoNotOptimize(Pass(*engine, corpus));
  LookUpRound(state, *engine, corpus.missingKeys, corpus.shuffled, corpus.shuffled.size());
}

void HotSet(benchmark::State& state, EngineSlot* slot) {
  const Corpus& corpus = BenchmarkCorpus();
  if (Engine* engine = Opened(state, slot))
    LookUpRound(state, *engine, corpus.keys, corpus.shuffled, kHotSetSize);
}

void OpenPass(benchmark::State& state, EngineSlot* slot) {
  const Corpus& corpus = BenchmarkCorpus();
  Engine* engine = slot->Get();
  if (engine == nullptr) return state.SkipWithError(slot->why.c_str());
  for (auto _ : state) {
    state.PauseTiming();
    engine->PrepareOpen();
    state.ResumeTiming();
    engine->Open(1);
    benchmark::DoNotOptimize(Pass(*engine, corpus));
  }
}

void SwitchPass(benchmark::State& state, EngineSlot* slot) {
  const Corpus& corpus = BenchmarkCorpus();
  Engine* engine = Opened(state, slot);
  if (engine == nullptr) return;
  int language = 1;
  for (auto _ : state) {
    language = language % (corpus.LanguageCount() - 1) + 1;
    engine->Switch(language);
    benchmark::DoNotOptimize(Pass(*engine, corpus));
  }
}

// Bytes of heap the program holds (small blocks and mapped large ones).
double HeapKilobytes() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd) / 1024;
}

// Resident pages of the files mapped from the catalog folder.
double CatalogFileKilobytes() {
  std::ifstream smaps("/proc/self/smaps");
  const std::string folder = std::filesystem::absolute(catalogFolder).string();
  std::string line;
  bool catalog = false;
  double kilobytes = 0;
  while (std::getline(smaps, line)) {
    // A mapping's first line starts with its address range; its fields follow, one a line.
    const std::string first = line.substr(0, line.find(' '));
    if (first.find('-') != std::string::npos && first.back() != ':') {
      catalog = line.find(folder) != std::string::npos;
    } else if (catalog && line.rfind("Rss:", 0) == 0) {
      kilobytes += std::strtod(line.c_str() + 4, nullptr);
    }
  }
  return kilobytes;
}

void Memory(benchmark::State& state, EngineSlot* slot) {
  const Corpus& corpus = BenchmarkCorpus();
  Engine* engine = slot->Get();
  if (engine == nullptr) return state.SkipWithError(slot->why.c_str());
  engine->PrepareOpen();
  double heap = 0;
  double file = 0;
  for (auto _ : state) {
    const double heapBefore = HeapKilobytes();
    const double fileBefore = CatalogFileKilobytes();
    engine->Open(1);
    benchmark::DoNotOptimize(Pass(*engine, corpus));
    heap = HeapKilobytes() - heapBefore;
    file = CatalogFileKilobytes() - fileBefore;
  }
  state.counters["heap_kB"] = heap;
  state.counters["file_kB"] = file;
}

void Register(const std::string& engine, EngineSlot* slot) {
  const std::string keys = slot->keys == Keys::Context ? "/context/" : "/word/";
  const auto name = [&](const char* kind) { return kind + keys + engine; };
  benchmark::RegisterBenchmark(name("Hit").c_str(), Hit, slot);
  benchmark::RegisterBenchmark(name("Miss").c_str(), Miss, slot);
  benchmark::RegisterBenchmark(name("MissAfterPass").c_str(), MissAfterPass, slot);
  benchmark::RegisterBenchmark(name("HotSet").c_str(), HotSet, slot);
  benchmark::RegisterBenchmark(name("OpenPass").c_str(), OpenPass, slot)
      ->Iterations(kPassIterations)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(name("SwitchPass").c_str(), SwitchPass, slot)
      ->Iterations(kPassIterations)
      ->Unit(benchmark::kMillisecond);
  // Measured once per process: a second open would start from the first one's state.
  benchmark::RegisterBenchmark(name("Memory").c_str(), Memory, slot)->Iterations(1)->Repetitions(1);
}

// Takes --catalogs=DIR out of the arguments; returns DIR or empty.
std::string TakeCatalogFolder(int& argc, char** argv) {
  std::string folder;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--catalogs=", 11) == 0) {
      folder = argv[i] + 11;
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  return folder;
}

}  // namespace

}  // namespace lx::bench

int main(int argc, char** argv) {
  using namespace lx::bench;
  catalogFolder = TakeCatalogFolder(argc, argv);
  const bool temporary = catalogFolder.empty();
  if (temporary) {
    char pattern[] = "/tmp/lx-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return 1;
    catalogFolder = pattern;
  }
  std::filesystem::create_directories(catalogFolder);
  benchmark::Initialize(&argc, argv);
  std::vector<std::unique_ptr<EngineSlot>> slots;
  for (const Keys keys : {Keys::Context, Keys::Word}) {
    for (const auto& [name, factory] : EngineFactories()) {
      slots.push_back(std::make_unique<EngineSlot>(EngineSlot{factory, keys, nullptr, {}}));
      Register(name, slots.back().get());
    }
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  slots.clear();
  if (temporary) std::filesystem::remove_all(catalogFolder);
  return 0;
}

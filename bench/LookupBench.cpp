// Lookup benchmark: the same texts through every available engine, in one
// run, so that the engines can be compared as ratios.
//
//   Hit      one lookup of a key the catalog holds (keys in shuffled order)
//   Miss     one lookup of a key no catalog holds
//   HotSet   one lookup among 256 keys, as a form's texts are looked up again
//   OpenPass opening the catalog, then one lookup of every key
//   SwitchPass  switching to another language, then one lookup of every key
//   Memory   resident memory an open catalog adds after one pass (counter)
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "Engine.h"

namespace lx::bench {

long ResidentKilobytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

bool RunCommand(const std::string& command) {
  return std::system(command.c_str()) == 0;
}

namespace {

constexpr int kHotSetSize = 256;
constexpr int kPassIterations = 10;

struct EngineState {
  std::unique_ptr<Engine> engine;
  bool open = false;
  int language = 1;

  Engine& Ready() {
    if (!open) engine->Open(1);
    open = true;
    return *engine;
  }
};

std::size_t Pass(Engine& engine, const Corpus& corpus) {
  std::size_t sum = 0;
  for (std::size_t index : corpus.shuffled)
    sum += engine.Lookup(corpus.keys[index]);
  return sum;
}

void Hit(benchmark::State& state, EngineState* engine) {
  const Corpus& corpus = BenchmarkCorpus();
  Engine& ready = engine->Ready();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ready.Lookup(corpus.keys[corpus.shuffled[i]]));
    if (++i == corpus.shuffled.size()) i = 0;
  }
}

void Miss(benchmark::State& state, EngineState* engine) {
  const Corpus& corpus = BenchmarkCorpus();
  Engine& ready = engine->Ready();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ready.Lookup(corpus.missingKeys[i]));
    if (++i == corpus.missingKeys.size()) i = 0;
  }
}

void HotSet(benchmark::State& state, EngineState* engine) {
  const Corpus& corpus = BenchmarkCorpus();
  Engine& ready = engine->Ready();
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ready.Lookup(corpus.keys[corpus.shuffled[i]]));
    if (++i == kHotSetSize) i = 0;
  }
}

void OpenPass(benchmark::State& state, EngineState* engine) {
  const Corpus& corpus = BenchmarkCorpus();
  for (auto _ : state) {
    engine->engine->Open(1);
    benchmark::DoNotOptimize(Pass(*engine->engine, corpus));
  }
  engine->open = true;
  engine->language = 1;
}

void SwitchPass(benchmark::State& state, EngineState* engine) {
  const Corpus& corpus = BenchmarkCorpus();
  Engine& ready = engine->Ready();
  for (auto _ : state) {
    engine->language = engine->language % (corpus.LanguageCount() - 1) + 1;
    ready.Switch(engine->language);
    benchmark::DoNotOptimize(Pass(ready, corpus));
  }
}

// Measured in a child process, so that what other benchmarks loaded does not count.
void Memory(benchmark::State& state, EngineState* engine) {
  const Corpus& corpus = BenchmarkCorpus();
  long added = 0;
  for (auto _ : state) {
    int channel[2];
    if (pipe(channel) != 0) std::abort();
    const pid_t child = fork();
    if (child == 0) {
      const long before = ResidentKilobytes();
      engine->engine->Open(1);
      Pass(*engine->engine, corpus);
      const long delta = ResidentKilobytes() - before;
      if (write(channel[1], &delta, sizeof delta) != sizeof delta) _exit(1);
      _exit(0);
    }
    if (read(channel[0], &added, sizeof added) != sizeof added) added = -1;
    waitpid(child, nullptr, 0);
    close(channel[0]);
    close(channel[1]);
  }
  state.counters["resident_kB"] = static_cast<double>(added);
}

void Register(EngineState* engine) {
  const std::string name = engine->engine->Name();
  benchmark::RegisterBenchmark(("Hit/" + name).c_str(), Hit, engine);
  benchmark::RegisterBenchmark(("Miss/" + name).c_str(), Miss, engine);
  benchmark::RegisterBenchmark(("HotSet/" + name).c_str(), HotSet, engine);
  benchmark::RegisterBenchmark(("OpenPass/" + name).c_str(), OpenPass, engine)
      ->Iterations(kPassIterations)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(("SwitchPass/" + name).c_str(), SwitchPass, engine)
      ->Iterations(kPassIterations)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(("Memory/" + name).c_str(), Memory, engine)->Iterations(1);
}

}  // namespace

}  // namespace lx::bench

int main(int argc, char** argv) {
  using namespace lx::bench;
  benchmark::Initialize(&argc, argv);
  const Corpus& corpus = BenchmarkCorpus();
  char pattern[] = "/tmp/lx-bench-XXXXXX";
  const std::string folder = mkdtemp(pattern);
  std::vector<std::unique_ptr<EngineState>> engines;
  for (const auto& [name, factory] : EngineFactories()) {
    std::string why;
    if (auto engine = factory(corpus, folder, why)) {
      engines.push_back(std::make_unique<EngineState>(EngineState{std::move(engine)}));
      Register(engines.back().get());
    } else {
      std::fprintf(stderr, "skipping %s: %s\n", name.c_str(), why.c_str());
    }
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(folder);
  return 0;
}

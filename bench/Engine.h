// What the benchmark asks of a translation engine.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Corpus.h"

namespace lx::bench {

class Engine {
 public:
  virtual ~Engine() = default;

  virtual std::string Name() const = 0;
  /// Opens the catalogs afresh with `language` active (1 .. LanguageCount - 1).
  virtual void Open(int language) = 0;
  /// Makes another language active.
  virtual void Switch(int language) = 0;
  /// The translation of `key`; the key itself (or nothing) when there is none.
  /// Returns the length of the answer, so that the work cannot be optimised away.
  virtual std::size_t Lookup(const std::string& key) = 0;
};

/// Builds an engine's catalogs for the corpus in `folder`; null with `why`
/// filled in when the engine is not available on this machine.
using EngineFactory = std::unique_ptr<Engine> (*)(const Corpus& corpus, const std::string& folder,
                                                  std::string& why);

struct NamedFactory {
  std::string name;
  EngineFactory factory;
};
/// The engines this build can measure.
const std::vector<NamedFactory>& EngineFactories();

std::unique_ptr<Engine> MakeLxEngine(const Corpus& corpus, const std::string& folder,
                                     std::string& why);
std::unique_ptr<Engine> MakeGettextEngine(const Corpus& corpus, const std::string& folder,
                                          std::string& why);
std::unique_ptr<Engine> MakeQtEngine(const Corpus& corpus, const std::string& folder,
                                     std::string& why);

/// Resident memory of the process in kilobytes.
long ResidentKilobytes();
/// Runs a command line; true when it exits with 0.
bool RunCommand(const std::string& command);

}  // namespace lx::bench

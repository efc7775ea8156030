// What the benchmark asks of a translation engine.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Corpus.h"

namespace lx::bench {

/// How texts are keyed: with a context, as forms look them up, or by the text alone.
enum class Keys { Context, Word };

/// The context every keyed text of the benchmark carries.
inline constexpr const char* kContext = "Form";

class Engine {
 public:
  virtual ~Engine() = default;

  /// Called untimed before each `Open`, so that every open is a real load.
  virtual void PrepareOpen() {}
  /// Opens the catalogs afresh with `language` active (1 .. LanguageCount - 1).
  virtual void Open(int language) = 0;
  /// Makes another language active.
  virtual void Switch(int language) = 0;
  /// Copies the translation of `key` into a string the engine reuses and returns its
  /// length; 0 when there is none (nothing is copied then).
  virtual std::size_t Lookup(const std::string& key) = 0;
};

/// Builds an engine, and its catalogs for the corpus in `folder` when they are not there
/// yet; null with `why` filled in when the engine is not available on this machine.
using EngineFactory = std::unique_ptr<Engine> (*)(const Corpus& corpus, const std::string& folder,
                                                  Keys keys, std::string& why);

struct NamedFactory {
  std::string name;
  EngineFactory factory;
};
/// The engines this build can measure.
const std::vector<NamedFactory>& EngineFactories();

std::unique_ptr<Engine> MakeLxEngine(const Corpus& corpus, const std::string& folder, Keys keys,
                                     std::string& why);
std::unique_ptr<Engine> MakeGettextEngine(const Corpus& corpus, const std::string& folder,
                                          Keys keys, std::string& why);
std::unique_ptr<Engine> MakeQtEngine(const Corpus& corpus, const std::string& folder, Keys keys,
                                     std::string& why);

/// Runs a command line; true when it exits with 0.
bool RunCommand(const std::string& command);

}  // namespace lx::bench

// The texts every engine of the benchmark is measured on: generated user-
// interface strings (about 32 bytes each) with their translations into a
// number of languages, plus keys that no catalog holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lx::bench {

struct Corpus {
  /// The native texts, all distinct.
  std::vector<std::string> keys;
  /// translations[l][i] is key i in language l + 1 (language 0 is the native one).
  std::vector<std::vector<std::string>> translations;
  /// Texts of the same shape that no catalog holds.
  std::vector<std::string> missingKeys;
  /// A fixed random order of the key indexes.
  std::vector<std::size_t> shuffled;

  int LanguageCount() const { return static_cast<int>(translations.size()) + 1; }
};

/// The same corpus for the same arguments, on every machine.
Corpus MakeCorpus(std::size_t count, int languages, std::uint32_t seed);

/// The shared corpus of the benchmark: 50,000 texts in 10 languages.
const Corpus& BenchmarkCorpus();

}  // namespace lx::bench

// The translation table of a dictionary: the entries of the active and the
// fallback language, sorted by key and searched by binary search.
//
// The entries are held compactly: every text of the table lies in one block
// of characters, and each entry keeps the offsets of its texts and the first
// bytes of its key as a number, so that a search compares numbers first and
// reads the texts only where the first bytes agree. Nothing is allocated per
// look-up, and the order and the probes are those of a plain list of
// `TLxTranslation` records sorted and searched the classic way.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lang/LxRecords.h"

namespace lx::dict {

class TLxTranslationList {
 public:
  int Count() const { return static_cast<int>(nodes_.size()); }
  bool Empty() const { return nodes_.empty(); }
  void Clear();
  /// Keeps room for `entries` entries with `characters` characters of text.
  void Reserve(std::size_t entries, std::size_t characters);

  /// Appends a copy of `translation`'s texts and state.
  void Add(const lang::TLxTranslation& translation);
  /// Copies entry `index` into `target`; raises EListError "List index out of bounds
  /// (<index>)", as every accessor of an entry does.
  void CopyTo(int index, lang::TLxTranslation& target) const;
  std::string_view Native(int index) const;
  std::string_view Context(int index) const;
  std::string_view Id(int index) const;
  std::string_view Translation(int index) const;
  std::uint8_t State(int index) const;

  /// Sorts by key (native text, character 127, context, id) when `contextKeys`, else by
  /// native text: a quicksort with the middle entry as pivot, so entries with equal sort
  /// texts end up as that procedure leaves them. Characters compare by their numeric value.
  void Sort(bool contextKeys);
  /// Binary search for an entry whose native text is `word`, whatever its context and id;
  /// among several, the first probed. -1 when none.
  int FindWord(std::string_view word, bool contextKeys) const;
  /// Binary search for the entry with the key of (word, context, id) when `contextKeys`;
  /// otherwise `FindWord`. -1 when none.
  int FindKey(std::string_view word, std::string_view context, std::string_view id,
              bool contextKeys) const;

 private:
  class KeyTarget;
  // What a search reads of an entry, kept apart and small so that the probes of
  // a search stay in the processor's caches.
  struct Node {
    std::uint64_t prefix = 0;   // the key's first 8 bytes, big-endian, zero-padded
    std::uint64_t prefix2 = 0;  // the next 8
    std::uint32_t nativeLength = 0;
    std::uint32_t keyLength = 0;  // native text, separator, context and id
  };
  // The rest of an entry.
  struct Entry {
    std::uint32_t offset = 0;  // of the key in `text_`; the translation follows the key
    std::uint32_t contextLength = 0;
    std::uint32_t translationLength = 0;
    std::uint8_t state = 0;
  };

  void CheckIndex(int index) const;
  std::string_view KeyText(int index) const;
  // The text entry `index` is sorted by: the whole key, or the native text alone.
  std::uint32_t SortLength(const Node& node, bool contextKeys) const {
    return contextKeys ? node.keyLength : node.nativeLength;
  }
  int CompareEntries(int left, int right, bool contextKeys) const;
  bool Sorted(bool contextKeys) const;
  bool SortDistinct(bool contextKeys);
  void Swap(int left, int right);
  void QuickSort(int left, int right, bool contextKeys);
  int Search(const KeyTarget& target, std::uint32_t extra, bool wordOnly) const;

  std::vector<Node> nodes_;
  std::vector<Entry> entries_;
  std::string text_;
};

}  // namespace lx::dict

// The translation table of a dictionary: the entries of the active and the
// fallback language, sorted by key and searched by binary search.
//
// The entries are held compactly: the keys lie in one block of characters and
// the translations in another, each in the order the entries were added, and
// an entry keeps the offsets and lengths of its texts. Nothing is allocated per
// look-up, and the order and the probes are those of a plain list of
// `TLxTranslation` records sorted and searched the classic way.
//
// Sorting also builds a hash index over the texts the table was sorted by, each
// mapped to the entry the binary search finds for it (among equal texts, the one
// its probes meet first), so look-ups take constant time with the very answers
// of the search. A look-up by word in a table sorted by whole keys gets an index
// of its own the first time it is asked for. Adding an entry drops the indexes
// until the next sort; replacing the translations keeps them, since the keys stay.
//
// `KeysVersion` names the keys and their order: it changes with every change that may
// move an entry (clearing, adding, sorting), never with new translations, so a position
// remembered under one version reads the same entry's text until the version changes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lang/LxRecords.h"

namespace lx::dict {

class TLxTranslationList {
 public:
  /// Another language's translations for every entry, in the order the entries were added.
  struct Texts {
    std::string text;  ///< the translations one after the other
    std::vector<std::uint32_t> lengths;
    std::vector<std::uint8_t> states;
  };

  int Count() const { return static_cast<int>(entries_.size()); }
  bool Empty() const { return entries_.empty(); }
  void Clear();
  /// Keeps room for `entries` entries with `characters` characters of text.
  void Reserve(std::size_t entries, std::size_t characters);

  /// Appends a copy of `translation`'s texts and state.
  void Add(const lang::TLxTranslation& translation);
  /// Replaces every entry's translation and state; keys, order and indexes stay. Raises
  /// EListError "Translation count mismatch" unless `texts` holds one text per entry.
  void ReplaceTranslations(Texts texts);
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
  /// Unique in the process to the table's present keys and order; never 0.
  std::uint64_t KeysVersion() const;

 private:
  class KeyTarget;
  struct Entry {
    std::uint32_t keyOffset = 0;  // in `keys_`: native text, separator, context, id
    std::uint32_t nativeLength = 0;
    std::uint32_t contextLength = 0;
    std::uint32_t keyLength = 0;
    std::uint32_t textOffset = 0;  // of the translation in `texts_`
    std::uint32_t textLength = 0;
    std::uint32_t added = 0;  // the entry's place in the order of adding
  };
  // A slot of a hash index: the hash of a text and the entry the search answers for it,
  // plus one (0 marks a free slot).
  struct Slot {
    std::uint32_t hash = 0;
    std::uint32_t answer = 0;
  };
  // Which text of an entry an index holds: `length` of the key's first bytes, where
  // `length` is the native text's plus `extra` with `wordOnly`, else the whole key's.
  struct IndexedTexts {
    bool wordOnly = false;
    std::uint32_t extra = 0;
  };

  void CheckIndex(int index) const;
  std::string_view KeyText(int index) const;
  std::string_view IndexedText(int index, IndexedTexts texts) const;
  // The text entry `index` is sorted by: the whole key, or the native text alone.
  static IndexedTexts SortTexts(bool contextKeys) { return {!contextKeys, 0}; }
  int CompareEntries(int left, int right, bool contextKeys) const;
  bool InOrder(IndexedTexts texts) const;
  bool SortDistinct(bool contextKeys);
  void Swap(int left, int right);
  void QuickSort(int left, int right, bool contextKeys);
  int Search(const KeyTarget& target, IndexedTexts texts) const;

  std::vector<Slot> BuildIndex(IndexedTexts texts) const;
  int FindIndexed(const std::vector<Slot>& index, const KeyTarget& target,
                  IndexedTexts texts) const;
  const std::vector<Slot>* WordIndex() const;

  std::vector<Entry> entries_;
  std::vector<std::uint8_t> states_;  // in the order of adding
  std::string keys_;
  std::string texts_;
  // The index over the sort texts, valid while `indexed_`; the one over native texts of a
  // table sorted by whole keys, made when first needed.
  std::vector<Slot> keyIndex_;
  mutable std::vector<Slot> wordIndex_;
  bool indexed_ = false;
  bool indexedContextKeys_ = false;
  mutable bool wordIndexed_ = false;
  // Taken anew when asked after the keys changed.
  mutable std::uint64_t keysVersion_ = 0;
};

}  // namespace lx::dict

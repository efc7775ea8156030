// The translation table of a dictionary: the entries of the active and the
// fallback language, sorted by key and searched by binary search.
//
// The entries are held compactly: each entry's key and translation lie side by side in
// one block of characters, in the order the entries were added, and an entry keeps where
// its record starts. Nothing is allocated per look-up, and the order and the probes are
// those of a plain list of `TLxTranslation` records sorted and searched the classic way.
//
// Sorting also builds a hash index over the texts the table was sorted by, each mapped to
// the entry the binary search finds for it (among equal texts, the one its probes meet
// first), so look-ups take constant time with the very answers of the search. A slot also
// notes where its entry's record starts: a look-up reads the index and then that record,
// which holds both the key and the translation. A look-up by word in a table sorted by
// whole keys gets an index of its own the first time it is asked for. Adding an entry drops
// the indexes until the next sort; replacing the translations keeps them, since the keys
// stay.
//
// `KeysVersion` names the keys and their order: it changes with every change that may
// move an entry (clearing, adding, sorting), never with new translations, so a position
// remembered under one version reads the same entry's text until the version changes.
#pragma once

#include <cstdint>
#include <functional>
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
  /// The same from the texts themselves.
  void Add(std::string_view native, std::string_view context, std::string_view id,
           std::string_view translation, std::uint8_t state);
  /// Replaces every entry's translation and state; keys, order and indexes stay. Raises
  /// EListError "Translation count mismatch" unless `texts` holds one text per entry.
  void ReplaceTranslations(const Texts& texts);
  /// The same from `next`, asked once per entry in the order the entries were added: it
  /// sets `text` to the entry's translation (good until it is asked again) and `state`, and
  /// answers true, or answers false to leave the table as it was.
  using NextTranslation = std::function<bool(std::string_view& text, std::uint8_t& state)>;
  bool ReplaceTranslations(const NextTranslation& next);
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
  /// The translation of `FindWord`'s and `FindKey`'s entry into `text`; false, with `text`
  /// untouched, when there is none.
  bool FindWordText(std::string_view word, bool contextKeys, std::string_view& text) const;
  bool FindKeyText(std::string_view word, std::string_view context, std::string_view id,
                   bool contextKeys, std::string_view& text) const;
  /// Unique in the process to the table's present keys and order; never 0.
  std::uint64_t KeysVersion() const;

 private:
  class KeyTarget;
  struct Entry {
    std::uint32_t record = 0;  // where the entry's record starts in `records_`
    std::uint32_t contextLength = 0;
    std::uint32_t added = 0;  // the entry's place in the order of adding
  };
  // A record as it lies in `records_`: lengths, then the key (native text, separator,
  // context, id), then the translation.
  struct Record {
    std::string_view key;
    std::uint32_t nativeLength = 0;
    std::string_view text;
  };
  // A slot of a hash index: the hash of a text, the entry the search answers for it plus
  // one (0 marks a free slot), and where that entry's record starts.
  struct Slot {
    std::uint32_t hash = 0;
    std::uint32_t answer = 0;
    std::uint32_t record = 0;
  };
  // Which text of an entry an index holds: `length` of the key's first bytes, where
  // `length` is the native text's plus `extra` with `wordOnly`, else the whole key's.
  struct IndexedTexts {
    bool wordOnly = false;
    std::uint32_t extra = 0;
  };

  void CheckIndex(int index) const;
  // Writes a record's lengths at `out` and answers where its key goes.
  static char* WriteHeader(char* out, std::size_t keyLength, std::size_t nativeLength,
                           std::size_t textLength);
  Record RecordAt(std::uint32_t offset) const;
  Record RecordOf(int index) const;
  static std::string_view IndexedText(const Record& record, IndexedTexts texts);
  std::string_view IndexedText(int index, IndexedTexts texts) const;
  // The text entry `index` is sorted by: the whole key, or the native text alone.
  static IndexedTexts SortTexts(bool contextKeys) { return {!contextKeys, 0}; }
  int CompareEntries(int left, int right, bool contextKeys) const;
  bool InOrder(IndexedTexts texts) const;
  bool SortDistinct(bool contextKeys);
  void Swap(int left, int right);
  void QuickSort(int left, int right, bool contextKeys);
  int Search(const KeyTarget& target, IndexedTexts texts) const;

  // `inOrder` when the texts strictly increase, so that each is the search's answer.
  std::vector<Slot> BuildIndex(IndexedTexts texts, bool inOrder) const;
  const Slot* FindIndexed(const std::vector<Slot>& index, const KeyTarget& target,
                          IndexedTexts texts) const;
  // `FindWord` and `FindKey`, also setting `*text` (when given) to the translation found.
  int FindWordAnswer(std::string_view word, bool contextKeys, std::string_view* text) const;
  int FindKeyAnswer(std::string_view word, std::string_view context, std::string_view id,
                    bool contextKeys, std::string_view* text) const;
  // The answer of an index's slot, and its translation into `*text` when given; -1 for none.
  int AnswerOf(const Slot* slot, std::string_view* text) const;
  int AnswerOf(int answer, std::string_view* text) const;
  const std::vector<Slot>* WordIndex() const;

  std::vector<Entry> entries_;
  std::vector<std::uint8_t> states_;  // in the order of adding
  std::string records_;
  // Characters of translations in `records_`, and the most any language has needed.
  std::size_t textsSize_ = 0;
  std::size_t largestTexts_ = 0;
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

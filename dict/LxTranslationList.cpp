#include "dict/LxTranslationList.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstring>
#include <limits>
#include <utility>

#include "platform/Exception.h"

namespace lx::dict {

namespace {

constexpr char kSeparator = lang::TLxTranslation::kKeySeparator;
const char kSeparatorText[] = {kSeparator};

// The first 8 bytes of `text` as a big-endian number, zero-padded: numbers
// compare as the texts' first bytes do, so a difference decides at once.
std::uint64_t PrefixOf(std::string_view text) {
  std::uint64_t prefix = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    prefix = (prefix << 8) | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
  }
  return prefix;
}

// The 8 bytes at `bytes`, the first the lowest.
std::uint64_t LittleEndianWord(const char* bytes) {
  std::uint64_t word = 0;
  std::memcpy(&word, bytes, sizeof word);
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
  return word;
}

std::uint32_t Length(std::size_t size) {
  if (size > std::numeric_limits<std::uint32_t>::max()) {
    throw platform::EListError("Translation table too large");
  }
  return static_cast<std::uint32_t>(size);
}

// A hash of the concatenation of texts, mixed eight bytes at a time, so that every
// split of the same text hashes alike.
class TextHash {
 public:
  void Add(std::string_view part) {
    total_ += part.size();
    std::size_t i = 0;
    for (; i + 8 <= part.size(); i += 8) {
      const std::uint64_t chunk = LittleEndianWord(part.data() + i);
      Mix(filled_ == 0 ? chunk : pending_ | (chunk << (8 * filled_)));
      pending_ = filled_ == 0 ? 0 : chunk >> (64 - 8 * filled_);
    }
    const std::size_t rest = part.size() - i;
    if (rest == 0) return;
    char bytes[8] = {};
    std::memcpy(bytes, part.data() + i, rest);
    const std::uint64_t tail = LittleEndianWord(bytes);
    pending_ |= tail << (8 * filled_);
    if (filled_ + rest < 8) {
      filled_ += rest;
      return;
    }
    Mix(pending_);
    pending_ = filled_ == 0 ? 0 : tail >> (64 - 8 * filled_);
    filled_ = filled_ + rest - 8;
  }

  std::uint32_t Value() {
    if (filled_ != 0) Mix(pending_);
    Mix(total_);
    return static_cast<std::uint32_t>(hash_ ^ (hash_ >> 32));
  }

 private:
  void Mix(std::uint64_t word) {
    hash_ = (hash_ ^ word) * 0xFF51AFD7ED558CCDull;
    hash_ ^= hash_ >> 29;
  }

  std::uint64_t hash_ = 0x9E3779B97F4A7C15ull;
  std::uint64_t pending_ = 0;  // bytes not mixed in yet, the first the lowest
  std::size_t filled_ = 0;
  std::uint64_t total_ = 0;
};

// The first slot to try for `hash` in an index of `size` slots.
std::size_t HomeSlot(std::uint32_t hash, std::size_t size) {
  return static_cast<std::size_t>((std::uint64_t{hash} * size) >> 32);
}

}  // namespace

// A search target given in pieces (word, separator, context, id), compared as
// their concatenation without building it.
class TLxTranslationList::KeyTarget {
 public:
  explicit KeyTarget(std::string_view a, std::string_view b = {}, std::string_view c = {},
                     std::string_view d = {})
      : parts_{a, b, c, d} {}

  std::uint32_t Hash() const {
    TextHash hash;
    for (std::string_view part : parts_)
      hash.Add(part);
    return hash.Value();
  }

  // Below, at or above 0 as `probe` sorts before, equal to or after the target.
  int CompareWith(std::string_view probe) const {
    for (std::string_view part : parts_) {
      const std::size_t common = std::min(part.size(), probe.size());
      const int order = probe.substr(0, common).compare(part.substr(0, common));
      if (order != 0) return order;
      if (probe.size() < part.size()) return -1;
      probe.remove_prefix(part.size());
    }
    return probe.empty() ? 0 : 1;
  }

 private:
  std::string_view parts_[4];
};

std::uint64_t TLxTranslationList::KeysVersion() const {
  // One counter for every table: a version is never met again, whatever table is asked.
  static std::atomic<std::uint64_t> lastVersion{0};
  if (keysVersion_ == 0) keysVersion_ = lastVersion.fetch_add(1, std::memory_order_relaxed) + 1;
  return keysVersion_;
}

void TLxTranslationList::Clear() {
  keysVersion_ = 0;
  entries_.clear();
  states_.clear();
  keys_.clear();
  texts_.clear();
  keyIndex_.clear();
  wordIndex_.clear();
  indexed_ = false;
  wordIndexed_ = false;
}

void TLxTranslationList::Reserve(std::size_t entries, std::size_t characters) {
  entries_.reserve(entries);
  states_.reserve(entries);
  keys_.reserve(characters);
}

void TLxTranslationList::Add(const lang::TLxTranslation& translation) {
  keysVersion_ = 0;
  indexed_ = false;
  wordIndexed_ = false;
  Entry entry;
  entry.keyOffset = Length(keys_.size());
  entry.nativeLength = Length(translation.Native.size());
  entry.contextLength = Length(translation.Context.size());
  entry.keyLength =
      Length(translation.Native.size() + 1 + translation.Context.size() + translation.Id.size());
  entry.textOffset = Length(texts_.size());
  entry.textLength = Length(translation.Translation.size());
  entry.added = Length(entries_.size());
  Length(keys_.size() + entry.keyLength);
  Length(texts_.size() + entry.textLength);
  keys_ += translation.Native;
  keys_ += kSeparator;
  keys_ += translation.Context;
  keys_ += translation.Id;
  texts_ += translation.Translation;
  entries_.push_back(entry);
  states_.push_back(translation.State);
}

void TLxTranslationList::ReplaceTranslations(Texts texts) {
  if (texts.lengths.size() != entries_.size() || texts.states.size() != entries_.size()) {
    throw platform::EListError("Translation count mismatch");
  }
  // The lengths become the ends of the texts, in the order of adding.
  std::uint64_t end = 0;
  for (std::uint32_t& length : texts.lengths) {
    end += length;
    length = Length(end);
  }
  if (end != texts.text.size()) throw platform::EListError("Translation count mismatch");
  for (Entry& entry : entries_) {
    entry.textOffset = entry.added == 0 ? 0 : texts.lengths[entry.added - 1];
    entry.textLength = texts.lengths[entry.added] - entry.textOffset;
  }
  texts_ = std::move(texts.text);
  texts_.shrink_to_fit();
  states_ = std::move(texts.states);
}

void TLxTranslationList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) {
    throw platform::EListError("List index out of bounds (" + std::to_string(index) + ")");
  }
}

std::string_view TLxTranslationList::KeyText(int index) const {
  const Entry& entry = entries_[static_cast<std::size_t>(index)];
  return std::string_view(keys_).substr(entry.keyOffset, entry.keyLength);
}

std::string_view TLxTranslationList::IndexedText(int index, IndexedTexts texts) const {
  const Entry& entry = entries_[static_cast<std::size_t>(index)];
  const std::uint32_t length = texts.wordOnly ? entry.nativeLength + texts.extra : entry.keyLength;
  return std::string_view(keys_).substr(entry.keyOffset, length);
}

std::string_view TLxTranslationList::Native(int index) const {
  CheckIndex(index);
  return KeyText(index).substr(0, entries_[static_cast<std::size_t>(index)].nativeLength);
}

std::string_view TLxTranslationList::Context(int index) const {
  CheckIndex(index);
  const Entry& entry = entries_[static_cast<std::size_t>(index)];
  return KeyText(index).substr(entry.nativeLength + 1, entry.contextLength);
}

std::string_view TLxTranslationList::Id(int index) const {
  CheckIndex(index);
  const Entry& entry = entries_[static_cast<std::size_t>(index)];
  return KeyText(index).substr(entry.nativeLength + 1 + entry.contextLength);
}

std::string_view TLxTranslationList::Translation(int index) const {
  CheckIndex(index);
  const Entry& entry = entries_[static_cast<std::size_t>(index)];
  return std::string_view(texts_).substr(entry.textOffset, entry.textLength);
}

std::uint8_t TLxTranslationList::State(int index) const {
  CheckIndex(index);
  return states_[entries_[static_cast<std::size_t>(index)].added];
}

void TLxTranslationList::CopyTo(int index, lang::TLxTranslation& target) const {
  target.State = State(index);
  target.Native = Native(index);
  target.Context = Context(index);
  target.Id = Id(index);
  target.Translation = Translation(index);
}

int TLxTranslationList::CompareEntries(int left, int right, bool contextKeys) const {
  return IndexedText(left, SortTexts(contextKeys))
      .compare(IndexedText(right, SortTexts(contextKeys)));
}

bool TLxTranslationList::InOrder(IndexedTexts texts) const {
  for (int i = 1; i < Count(); ++i) {
    if (IndexedText(i - 1, texts) >= IndexedText(i, texts)) return false;
  }
  return true;
}

void TLxTranslationList::Sort(bool contextKeys) {
  keysVersion_ = 0;
  // On strictly increasing texts the quicksort swaps nothing; checking first
  // saves its comparisons on tables that arrive in order, as built ones do.
  if (Count() >= 2 && !InOrder(SortTexts(contextKeys)) && !SortDistinct(contextKeys))
    QuickSort(0, Count() - 1, contextKeys);
  // Loaded once per language and then only read: give back what growing left over.
  keys_.shrink_to_fit();
  texts_.shrink_to_fit();
  keyIndex_ = BuildIndex(SortTexts(contextKeys));
  wordIndex_.clear();
  wordIndex_.shrink_to_fit();
  indexed_ = true;
  indexedContextKeys_ = contextKeys;
  wordIndexed_ = false;
}

// When no two sort texts are equal, every correct sort gives the one order the
// quicksort gives; a sort of compact keys then reaches it faster. Equal texts,
// whose order depends on the procedure, make it give up (false) and change nothing.
namespace {

struct SortKey {
  std::uint64_t prefix;   // the sort text's first 8 bytes, as PrefixOf
  std::uint64_t prefix2;  // the next 8
  std::uint32_t index;
};

// Orders keys by prefix, a byte at a time from the last (a stable radix sort);
// bytes that every key shares cost nothing.
void RadixSortByPrefix(std::vector<SortKey>& keys) {
  std::vector<std::array<std::uint32_t, 256>> counts(8);
  for (auto& count : counts)
    count.fill(0);
  for (const SortKey& key : keys) {
    for (int byte = 0; byte < 8; ++byte)
      ++counts[byte][(key.prefix >> (8 * byte)) & 0xFF];
  }
  std::vector<SortKey> buffer(keys.size());
  for (int byte = 0; byte < 8; ++byte) {
    auto& count = counts[static_cast<std::size_t>(byte)];
    if (std::find(count.begin(), count.end(), keys.size()) != count.end()) continue;
    std::uint32_t offset = 0;
    for (std::uint32_t& slot : count)
      offset += std::exchange(slot, offset);
    for (const SortKey& key : keys)
      buffer[count[(key.prefix >> (8 * byte)) & 0xFF]++] = key;
    keys.swap(buffer);
  }
}

}  // namespace

bool TLxTranslationList::SortDistinct(bool contextKeys) {
  std::vector<SortKey> keys(entries_.size());
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const int index = static_cast<int>(i);
    const std::string_view text = IndexedText(index, SortTexts(contextKeys));
    keys[i] = {PrefixOf(text), PrefixOf(text.size() > 8 ? text.substr(8) : std::string_view()),
               static_cast<std::uint32_t>(i)};
  }
  RadixSortByPrefix(keys);
  // Keys that share their prefix are put in order by the next bytes, then by the rest of
  // their texts.
  const auto before = [&](const SortKey& a, const SortKey& b) {
    if (a.prefix2 != b.prefix2) return a.prefix2 < b.prefix2;
    return CompareEntries(static_cast<int>(a.index), static_cast<int>(b.index), contextKeys) < 0;
  };
  for (std::size_t start = 0; start < keys.size();) {
    std::size_t end = start + 1;
    while (end < keys.size() && keys[end].prefix == keys[start].prefix)
      ++end;
    if (end - start > 1) {
      std::sort(keys.begin() + static_cast<std::ptrdiff_t>(start),
                keys.begin() + static_cast<std::ptrdiff_t>(end), before);
      for (std::size_t i = start + 1; i < end; ++i) {
        if (!before(keys[i - 1], keys[i])) return false;  // equal texts
      }
    }
    start = end;
  }
  std::vector<Entry> entries;
  entries.reserve(entries_.size());
  for (const SortKey& key : keys)
    entries.push_back(entries_[key.index]);
  entries_.swap(entries);
  return true;
}

void TLxTranslationList::Swap(int left, int right) {
  std::swap(entries_[static_cast<std::size_t>(left)], entries_[static_cast<std::size_t>(right)]);
}

void TLxTranslationList::QuickSort(int left, int right, bool contextKeys) {
  // The larger part is sorted in this loop and the smaller by recursion, so the
  // depth stays logarithmic whatever the data; the parts are disjoint, so the
  // result is the one the plain recursion gives.
  while (left < right) {
    // The pivot entry moves while the parts are formed; follow it.
    int pivot = (left + right) / 2;
    int i = left;
    int j = right;
    do {
      while (CompareEntries(i, pivot, contextKeys) < 0)
        ++i;
      while (CompareEntries(j, pivot, contextKeys) > 0)
        --j;
      if (i <= j) {
        Swap(i, j);
        if (pivot == i) {
          pivot = j;
        } else if (pivot == j) {
          pivot = i;
        }
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - left < right - i) {
      if (left < j) QuickSort(left, j, contextKeys);
      left = i;
    } else {
      if (i < right) QuickSort(i, right, contextKeys);
      right = j;
    }
  }
}

int TLxTranslationList::Search(const KeyTarget& target, IndexedTexts texts) const {
  int low = 0;
  int high = Count() - 1;
  while (low <= high) {
    const int middle = (low + high) / 2;
    const int order = target.CompareWith(IndexedText(middle, texts));
    if (order == 0) return middle;
    if (order < 0) {
      low = middle + 1;
    } else {
      high = middle - 1;
    }
  }
  return -1;
}

// ---- The hash indexes

// In strictly increasing texts the search finds every text at its own entry. Otherwise
// it runs once per distinct text; a text it does not find (possible where a native text
// holds the separator) stays out, so that the index misses it as the search does.
std::vector<TLxTranslationList::Slot> TLxTranslationList::BuildIndex(IndexedTexts texts) const {
  std::vector<Slot> index;
  if (Empty()) return index;
  index.resize(entries_.size() + entries_.size() / 3 + 1);
  const bool inOrder = InOrder(texts);
  for (int i = 0; i < Count(); ++i) {
    const std::string_view text = IndexedText(i, texts);
    TextHash hashing;
    hashing.Add(text);
    const std::uint32_t hash = hashing.Value();
    std::size_t at = HomeSlot(hash, index.size());
    bool known = false;
    for (; index[at].answer != 0; at = at + 1 == index.size() ? 0 : at + 1) {
      const Slot& slot = index[at];
      if (!inOrder && slot.hash == hash &&
          IndexedText(static_cast<int>(slot.answer - 1), texts) == text) {
        known = true;
        break;
      }
    }
    if (known) continue;
    const int answer = inOrder ? i : Search(KeyTarget(text), texts);
    if (answer >= 0) index[at] = {hash, static_cast<std::uint32_t>(answer) + 1};
  }
  return index;
}

int TLxTranslationList::FindIndexed(const std::vector<Slot>& index, const KeyTarget& target,
                                    IndexedTexts texts) const {
  if (index.empty()) return -1;
  const std::uint32_t hash = target.Hash();
  for (std::size_t at = HomeSlot(hash, index.size()); index[at].answer != 0;
       at = at + 1 == index.size() ? 0 : at + 1) {
    const Slot& slot = index[at];
    const int answer = static_cast<int>(slot.answer - 1);
    if (slot.hash == hash && target.CompareWith(IndexedText(answer, texts)) == 0) return answer;
  }
  return -1;
}

const std::vector<TLxTranslationList::Slot>* TLxTranslationList::WordIndex() const {
  if (!indexed_ || !indexedContextKeys_) return nullptr;
  if (!wordIndexed_) {
    wordIndex_ = BuildIndex({true, 1});
    wordIndexed_ = true;
  }
  return &wordIndex_;
}

int TLxTranslationList::FindWord(std::string_view word, bool contextKeys) const {
  if (!contextKeys) {
    const KeyTarget target(word);
    if (indexed_ && !indexedContextKeys_) return FindIndexed(keyIndex_, target, {true, 0});
    return Search(target, {true, 0});
  }
  const KeyTarget target(word, std::string_view(kSeparatorText, 1));
  if (const std::vector<Slot>* index = WordIndex()) return FindIndexed(*index, target, {true, 1});
  return Search(target, {true, 1});
}

int TLxTranslationList::FindKey(std::string_view word, std::string_view context,
                                std::string_view id, bool contextKeys) const {
  if (!contextKeys) return FindWord(word, false);
  const KeyTarget target(word, std::string_view(kSeparatorText, 1), context, id);
  if (indexed_ && indexedContextKeys_) return FindIndexed(keyIndex_, target, {false, 0});
  return Search(target, {false, 0});
}

}  // namespace lx::dict

#include "dict/LxTranslationList.h"

#include <algorithm>
#include <array>
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

// The 8 bytes of `text` from `offset`, as PrefixOf.
std::uint64_t WordAt(std::string_view text, std::size_t offset) {
  return PrefixOf(offset < text.size() ? text.substr(offset) : std::string_view());
}

// A key's prefix cut to the first `length` bytes.
std::uint64_t Masked(std::uint64_t prefix, std::size_t length) {
  if (length >= 8) return prefix;
  if (length == 0) return 0;
  return prefix & ~(~std::uint64_t{0} >> (length * 8));
}

std::uint32_t Length(std::size_t size) {
  if (size > std::numeric_limits<std::uint32_t>::max()) {
    throw platform::EListError("Translation table too large");
  }
  return static_cast<std::uint32_t>(size);
}

}  // namespace

// A search target given in pieces (word, separator, context, id), compared as
// their concatenation without building it.
class TLxTranslationList::KeyTarget {
 public:
  explicit KeyTarget(std::string_view a, std::string_view b = {}, std::string_view c = {},
                     std::string_view d = {})
      : parts_{a, b, c, d} {
    std::size_t filled = 0;
    for (std::string_view part : parts_) {
      for (std::size_t i = 0; i < part.size() && filled < 16; ++i, ++filled) {
        std::uint64_t& word = filled < 8 ? prefix_ : prefix2_;
        word |= std::uint64_t{static_cast<unsigned char>(part[i])} << (56 - 8 * (filled % 8));
      }
    }
  }

  std::uint64_t Prefix() const { return prefix_; }
  std::uint64_t Prefix2() const { return prefix2_; }

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
  std::uint64_t prefix_ = 0;
  std::uint64_t prefix2_ = 0;
};

void TLxTranslationList::Clear() {
  nodes_.clear();
  entries_.clear();
  text_.clear();
}

void TLxTranslationList::Reserve(std::size_t entries, std::size_t characters) {
  nodes_.reserve(entries);
  entries_.reserve(entries);
  text_.reserve(characters);
}

void TLxTranslationList::Add(const lang::TLxTranslation& translation) {
  Node node;
  Entry entry;
  entry.offset = Length(text_.size());
  node.nativeLength = Length(translation.Native.size());
  entry.contextLength = Length(translation.Context.size());
  node.keyLength =
      Length(translation.Native.size() + 1 + translation.Context.size() + translation.Id.size());
  entry.translationLength = Length(translation.Translation.size());
  entry.state = translation.State;
  text_ += translation.Native;
  text_ += kSeparator;
  text_ += translation.Context;
  text_ += translation.Id;
  text_ += translation.Translation;
  Length(text_.size());
  const std::string_view key = std::string_view(text_).substr(entry.offset, node.keyLength);
  node.prefix = PrefixOf(key);
  node.prefix2 = WordAt(key, 8);
  nodes_.push_back(node);
  entries_.push_back(entry);
}

void TLxTranslationList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) {
    throw platform::EListError("List index out of bounds (" + std::to_string(index) + ")");
  }
}

std::string_view TLxTranslationList::KeyText(int index) const {
  const auto i = static_cast<std::size_t>(index);
  return std::string_view(text_).substr(entries_[i].offset, nodes_[i].keyLength);
}

std::string_view TLxTranslationList::Native(int index) const {
  CheckIndex(index);
  return KeyText(index).substr(0, nodes_[static_cast<std::size_t>(index)].nativeLength);
}

std::string_view TLxTranslationList::Context(int index) const {
  CheckIndex(index);
  const auto i = static_cast<std::size_t>(index);
  return KeyText(index).substr(nodes_[i].nativeLength + 1, entries_[i].contextLength);
}

std::string_view TLxTranslationList::Id(int index) const {
  CheckIndex(index);
  const auto i = static_cast<std::size_t>(index);
  return KeyText(index).substr(nodes_[i].nativeLength + 1 + entries_[i].contextLength);
}

std::string_view TLxTranslationList::Translation(int index) const {
  CheckIndex(index);
  const auto i = static_cast<std::size_t>(index);
  return std::string_view(text_).substr(entries_[i].offset + nodes_[i].keyLength,
                                        entries_[i].translationLength);
}

std::uint8_t TLxTranslationList::State(int index) const {
  CheckIndex(index);
  return entries_[static_cast<std::size_t>(index)].state;
}

void TLxTranslationList::CopyTo(int index, lang::TLxTranslation& target) const {
  target.State = State(index);
  target.Native = Native(index);
  target.Context = Context(index);
  target.Id = Id(index);
  target.Translation = Translation(index);
}

int TLxTranslationList::CompareEntries(int left, int right, bool contextKeys) const {
  const Node& a = nodes_[static_cast<std::size_t>(left)];
  const Node& b = nodes_[static_cast<std::size_t>(right)];
  const std::uint32_t aLength = SortLength(a, contextKeys);
  const std::uint32_t bLength = SortLength(b, contextKeys);
  const std::uint64_t aPrefix = Masked(a.prefix, aLength);
  const std::uint64_t bPrefix = Masked(b.prefix, bLength);
  if (aPrefix != bPrefix) return aPrefix < bPrefix ? -1 : 1;
  const std::uint64_t aPrefix2 = aLength > 8 ? Masked(a.prefix2, aLength - 8) : 0;
  const std::uint64_t bPrefix2 = bLength > 8 ? Masked(b.prefix2, bLength - 8) : 0;
  if (aPrefix2 != bPrefix2) return aPrefix2 < bPrefix2 ? -1 : 1;
  return KeyText(left).substr(0, aLength).compare(KeyText(right).substr(0, bLength));
}

bool TLxTranslationList::Sorted(bool contextKeys) const {
  for (int i = 1; i < Count(); ++i) {
    if (CompareEntries(i - 1, i, contextKeys) >= 0) return false;
  }
  return true;
}

void TLxTranslationList::Sort(bool contextKeys) {
  // On strictly increasing texts the quicksort swaps nothing; checking first
  // saves its comparisons on tables that arrive in order, as built ones do.
  if (Count() < 2 || Sorted(contextKeys)) return;
  if (!SortDistinct(contextKeys)) QuickSort(0, Count() - 1, contextKeys);
}

// When no two sort texts are equal, every correct sort gives the one order the
// quicksort gives; a sort of compact keys then reaches it faster. Equal texts,
// whose order depends on the procedure, make it give up (false) and change nothing.
namespace {

struct SortKey {
  std::uint64_t prefix;
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
  std::vector<SortKey> keys(nodes_.size());
  for (std::size_t i = 0; i < nodes_.size(); ++i) {
    keys[i] = {Masked(nodes_[i].prefix, SortLength(nodes_[i], contextKeys)),
               static_cast<std::uint32_t>(i)};
  }
  RadixSortByPrefix(keys);
  // Keys that share their prefix are put in order by the rest of their texts.
  const auto before = [&](const SortKey& a, const SortKey& b) {
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
  std::vector<Node> nodes;
  std::vector<Entry> entries;
  nodes.reserve(nodes_.size());
  entries.reserve(entries_.size());
  for (const SortKey& key : keys) {
    nodes.push_back(nodes_[key.index]);
    entries.push_back(entries_[key.index]);
  }
  nodes_.swap(nodes);
  entries_.swap(entries);
  return true;
}

void TLxTranslationList::Swap(int left, int right) {
  std::swap(nodes_[static_cast<std::size_t>(left)], nodes_[static_cast<std::size_t>(right)]);
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

int TLxTranslationList::Search(const KeyTarget& target, std::uint32_t extra, bool wordOnly) const {
  int low = 0;
  int high = Count() - 1;
  while (low <= high) {
    const int middle = (low + high) / 2;
    const Node& node = nodes_[static_cast<std::size_t>(middle)];
    const std::uint32_t length = wordOnly ? node.nativeLength + extra : node.keyLength;
    const std::uint64_t prefix = Masked(node.prefix, length);
    const std::uint64_t prefix2 = length > 8 ? Masked(node.prefix2, length - 8) : 0;
    int order = 0;
    if (prefix != target.Prefix()) {
      order = prefix < target.Prefix() ? -1 : 1;
    } else if (prefix2 != target.Prefix2()) {
      order = prefix2 < target.Prefix2() ? -1 : 1;
    } else {
      order = target.CompareWith(KeyText(middle).substr(0, length));
    }
    if (order == 0) return middle;
    if (order < 0) {
      low = middle + 1;
    } else {
      high = middle - 1;
    }
  }
  return -1;
}

int TLxTranslationList::FindWord(std::string_view word, bool contextKeys) const {
  if (!contextKeys) return Search(KeyTarget(word), 0, true);
  return Search(KeyTarget(word, std::string_view(kSeparatorText, 1)), 1, true);
}

int TLxTranslationList::FindKey(std::string_view word, std::string_view context,
                                std::string_view id, bool contextKeys) const {
  if (!contextKeys) return FindWord(word, false);
  return Search(KeyTarget(word, std::string_view(kSeparatorText, 1), context, id), 0, false);
}

}  // namespace lx::dict

#include "dict/LxTranslationList.h"

#include <algorithm>
#include <limits>

#include "platform/Exception.h"

namespace lx::dict {

namespace {

constexpr char kSeparator = lang::TLxTranslation::kKeySeparator;

// The first 8 bytes of `text` as a big-endian number, zero-padded: numbers
// compare as the texts' first bytes do, so a difference decides at once.
std::uint64_t PrefixOf(std::string_view text) {
  std::uint64_t prefix = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    prefix = (prefix << 8) | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
  }
  return prefix;
}

// A key's prefix cut to the first `length` bytes.
std::uint64_t Masked(std::uint64_t prefix, std::size_t length) {
  if (length >= 8) return prefix;
  if (length == 0) return 0;
  return prefix & ~(~std::uint64_t{0} >> (length * 8));
}

int CompareTexts(std::uint64_t leftPrefix, std::string_view left, std::uint64_t rightPrefix,
                 std::string_view right) {
  if (leftPrefix != rightPrefix) return leftPrefix < rightPrefix ? -1 : 1;
  return left.compare(right);
}

const char kSeparatorText[] = {kSeparator};

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
  KeyTarget(std::string_view a, std::string_view b = {}, std::string_view c = {},
            std::string_view d = {})
      : parts_{a, b, c, d} {
    std::size_t filled = 0;
    for (std::string_view part : parts_) {
      for (std::size_t i = 0; i < part.size() && filled < 8; ++i, ++filled) {
        prefix_ |= std::uint64_t{static_cast<unsigned char>(part[i])} << (56 - 8 * filled);
      }
    }
  }

  std::uint64_t Prefix() const { return prefix_; }

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
};

void TLxTranslationList::Clear() {
  entries_.clear();
  text_.clear();
}

void TLxTranslationList::Reserve(std::size_t entries, std::size_t characters) {
  entries_.reserve(entries);
  text_.reserve(characters);
}

void TLxTranslationList::Add(const lang::TLxTranslation& translation) {
  Entry entry;
  entry.offset = Length(text_.size());
  entry.nativeLength = Length(translation.Native.size());
  entry.contextLength = Length(translation.Context.size());
  entry.idLength = Length(translation.Id.size());
  entry.translationLength = Length(translation.Translation.size());
  entry.state = translation.State;
  text_ += translation.Native;
  text_ += kSeparator;
  text_ += translation.Context;
  text_ += translation.Id;
  text_ += translation.Translation;
  Length(text_.size());
  entry.prefix = PrefixOf(KeyText(entry));
  entries_.push_back(entry);
}

const TLxTranslationList::Entry& TLxTranslationList::EntryAt(int index) const {
  if (index < 0 || index >= Count()) {
    throw platform::EListError("List index out of bounds (" + std::to_string(index) + ")");
  }
  return entries_[static_cast<std::size_t>(index)];
}

std::string_view TLxTranslationList::KeyText(const Entry& entry) const {
  return std::string_view(text_).substr(
      entry.offset, entry.nativeLength + 1 + entry.contextLength + entry.idLength);
}

std::string_view TLxTranslationList::SortText(const Entry& entry, bool contextKeys) const {
  return contextKeys ? KeyText(entry) : KeyText(entry).substr(0, entry.nativeLength);
}

std::string_view TLxTranslationList::Native(int index) const {
  return KeyText(EntryAt(index)).substr(0, EntryAt(index).nativeLength);
}

std::string_view TLxTranslationList::Context(int index) const {
  const Entry& entry = EntryAt(index);
  return KeyText(entry).substr(entry.nativeLength + 1, entry.contextLength);
}

std::string_view TLxTranslationList::Id(int index) const {
  const Entry& entry = EntryAt(index);
  return KeyText(entry).substr(entry.nativeLength + 1 + entry.contextLength, entry.idLength);
}

std::string_view TLxTranslationList::Translation(int index) const {
  const Entry& entry = EntryAt(index);
  return std::string_view(text_).substr(entry.offset + KeyText(entry).size(),
                                        entry.translationLength);
}

std::uint8_t TLxTranslationList::State(int index) const {
  return EntryAt(index).state;
}

void TLxTranslationList::CopyTo(int index, lang::TLxTranslation& target) const {
  target.State = State(index);
  target.Native = Native(index);
  target.Context = Context(index);
  target.Id = Id(index);
  target.Translation = Translation(index);
}

bool TLxTranslationList::Sorted(bool contextKeys) const {
  for (std::size_t i = 1; i < entries_.size(); ++i) {
    const Entry& previous = entries_[i - 1];
    const Entry& next = entries_[i];
    const std::string_view left = SortText(previous, contextKeys);
    const std::string_view right = SortText(next, contextKeys);
    if (CompareTexts(Masked(previous.prefix, left.size()), left, Masked(next.prefix, right.size()),
                     right) >= 0) {
      return false;
    }
  }
  return true;
}

void TLxTranslationList::Sort(bool contextKeys) {
  // On strictly increasing texts the quicksort swaps nothing; checking first
  // saves its comparisons on tables that arrive in order, as built ones do.
  if (entries_.size() < 2 || Sorted(contextKeys)) return;
  QuickSort(0, Count() - 1, contextKeys);
}

void TLxTranslationList::QuickSort(int left, int right, bool contextKeys) {
  // The larger part is sorted in this loop and the smaller by recursion, so the
  // depth stays logarithmic whatever the data; the parts are disjoint, so the
  // result is the one the plain recursion gives.
  while (left < right) {
    const Entry pivot = entries_[static_cast<std::size_t>((left + right) / 2)];
    const std::string_view pivotText = SortText(pivot, contextKeys);
    const std::uint64_t pivotPrefix = Masked(pivot.prefix, pivotText.size());
    const auto compare = [&](int index) {
      const Entry& entry = entries_[static_cast<std::size_t>(index)];
      const std::string_view text = SortText(entry, contextKeys);
      return CompareTexts(Masked(entry.prefix, text.size()), text, pivotPrefix, pivotText);
    };
    int i = left;
    int j = right;
    do {
      while (compare(i) < 0)
        ++i;
      while (compare(j) > 0)
        --j;
      if (i <= j) {
        std::swap(entries_[static_cast<std::size_t>(i)], entries_[static_cast<std::size_t>(j)]);
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

int TLxTranslationList::Search(const KeyTarget& target, std::size_t extra, bool wordOnly) const {
  int low = 0;
  int high = Count() - 1;
  while (low <= high) {
    const int middle = (low + high) / 2;
    const Entry& entry = entries_[static_cast<std::size_t>(middle)];
    const std::string_view probe =
        wordOnly ? KeyText(entry).substr(0, entry.nativeLength + extra) : KeyText(entry);
    const std::uint64_t prefix = Masked(entry.prefix, probe.size());
    const int order =
        prefix != target.Prefix() ? (prefix < target.Prefix() ? -1 : 1) : target.CompareWith(probe);
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

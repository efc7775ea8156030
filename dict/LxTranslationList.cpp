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

  static constexpr std::uint64_t kSeed = 0x9E3779B97F4A7C15ull;
  static std::uint64_t Mix(std::uint64_t hash, std::uint64_t word) {
    hash = (hash ^ word) * 0xFF51AFD7ED558CCDull;
    return hash ^ (hash >> 29);
  }

 private:
  void Mix(std::uint64_t word) { hash_ = Mix(hash_, word); }

  std::uint64_t hash_ = kSeed;
  std::uint64_t pending_ = 0;  // bytes not mixed in yet, the first the lowest
  std::size_t filled_ = 0;
  std::uint64_t total_ = 0;
};

// What TextHash gives for one whole text, in one plain pass. With `padded`, zero bytes
// follow the text up to the next multiple of 8 and its last word is read in one go.
inline std::uint32_t HashOf(std::string_view text, bool padded = false) {
  std::uint64_t hash = TextHash::kSeed;
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8)
    hash = TextHash::Mix(hash, LittleEndianWord(text.data() + i));
  if (i < text.size()) {
    std::uint64_t tail = 0;
    if (padded) {
      tail = LittleEndianWord(text.data() + i);
    } else if (text.size() >= 8) {
      // The last 8 bytes, of which the ones before `i` were mixed already.
      tail = LittleEndianWord(text.data() + text.size() - 8) >> (8 * (8 - (text.size() - i)));
    } else {
      for (std::size_t k = i; k < text.size(); ++k)
        tail |= std::uint64_t{static_cast<unsigned char>(text[k])} << (8 * (k - i));
    }
    hash = TextHash::Mix(hash, tail);
  }
  hash = TextHash::Mix(hash, text.size());
  return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

// The first slot to try for `hash` in an index of `size` slots.
std::size_t HomeSlot(std::uint32_t hash, std::size_t size) {
  return static_cast<std::size_t>((std::uint64_t{hash} * size) >> 32);
}

}  // namespace

// A search target given in pieces (word, separator, context, id), compared as
// their concatenation. A short target is also joined once into a buffer of its
// own, so that hashing and testing a candidate each take one pass over one text.
class TLxTranslationList::KeyTarget {
 public:
  explicit KeyTarget(std::string_view a, std::string_view b = {}, std::string_view c = {},
                     std::string_view d = {})
      : parts_{a, b, c, d} {
    const std::size_t size = a.size() + b.size() + c.size() + d.size();
    if (size + 8 > sizeof joined_) return;
    char* end = joined_;
    for (std::string_view part : parts_) {
      if (!part.empty()) std::memcpy(end, part.data(), part.size());
      end += part.size();
    }
    std::memset(end, 0, 8);
    whole_ = std::string_view(joined_, size);
    isJoined_ = true;
  }

  std::uint32_t Hash() const {
    if (isJoined_) return HashOf(whole_, true);
    TextHash hash;
    for (std::string_view part : parts_)
      hash.Add(part);
    return hash.Value();
  }

  bool Matches(std::string_view probe) const {
    if (isJoined_) return probe == whole_;
    return CompareWith(probe) == 0;
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
  std::string_view whole_;
  bool isJoined_ = false;
  char joined_[192];
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
  records_.clear();
  textsSize_ = 0;
  largestTexts_ = 0;
  keyIndex_.clear();
  wordIndex_.clear();
  indexed_ = false;
  wordIndexed_ = false;
}

void TLxTranslationList::Reserve(std::size_t entries, std::size_t characters) {
  entries_.reserve(entries);
  states_.reserve(entries);
  records_.reserve(characters);
}

// ---- Records

namespace {

constexpr std::uint16_t kLongLengths = 0xFFFF;

std::size_t HeaderSize(std::size_t keyLength, std::size_t textLength) {
  return keyLength < kLongLengths && textLength < kLongLengths ? 6 : 14;
}

template <typename T>
T ReadAt(const char* bytes) {
  T value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

}  // namespace

// Lengths below 0xFFFF take 2 bytes each, in the order key, native text, translation;
// otherwise 0xFFFF comes first, then the three lengths in 4 bytes each.
char* TLxTranslationList::WriteHeader(char* out, std::size_t keyLength, std::size_t nativeLength,
                                      std::size_t textLength) {
  const auto put = [&out](auto value) {
    std::memcpy(out, &value, sizeof value);
    out += sizeof value;
  };
  if (HeaderSize(keyLength, textLength) == 6) {
    put(static_cast<std::uint16_t>(keyLength));
    put(static_cast<std::uint16_t>(nativeLength));
    put(static_cast<std::uint16_t>(textLength));
  } else {
    put(kLongLengths);
    put(Length(keyLength));
    put(Length(nativeLength));
    put(Length(textLength));
  }
  return out;
}

TLxTranslationList::Record TLxTranslationList::RecordAt(std::uint32_t offset) const {
  const char* at = records_.data() + offset;
  std::size_t keyLength = ReadAt<std::uint16_t>(at);
  Record record;
  std::size_t textLength = 0;
  if (keyLength != kLongLengths) {
    record.nativeLength = ReadAt<std::uint16_t>(at + 2);
    textLength = ReadAt<std::uint16_t>(at + 4);
    at += 6;
  } else {
    keyLength = ReadAt<std::uint32_t>(at + 2);
    record.nativeLength = ReadAt<std::uint32_t>(at + 6);
    textLength = ReadAt<std::uint32_t>(at + 10);
    at += 14;
  }
  record.key = std::string_view(at, keyLength);
  record.text = std::string_view(at + keyLength, textLength);
  return record;
}

TLxTranslationList::Record TLxTranslationList::RecordOf(int index) const {
  return RecordAt(entries_[static_cast<std::size_t>(index)].record);
}

void TLxTranslationList::Add(const lang::TLxTranslation& translation) {
  Add(translation.Native, translation.Context, translation.Id, translation.Translation,
      translation.State);
}

void TLxTranslationList::Add(std::string_view native, std::string_view context, std::string_view id,
                             std::string_view translation, std::uint8_t state) {
  keysVersion_ = 0;
  indexed_ = false;
  wordIndexed_ = false;
  const std::size_t keyLength = native.size() + 1 + context.size() + id.size();
  Entry entry;
  entry.record = Length(records_.size());
  entry.contextLength = Length(context.size());
  entry.added = Length(entries_.size());
  Length(records_.size() + HeaderSize(keyLength, translation.size()) + keyLength +
         translation.size());
  char header[14];
  records_.append(header, WriteHeader(header, keyLength, native.size(), translation.size()));
  records_ += native;
  records_ += kSeparator;
  records_ += context;
  records_ += id;
  records_ += translation;
  textsSize_ += translation.size();
  entries_.push_back(entry);
  states_.push_back(state);
}
void TLxTranslationList::ReplaceTranslations(const Texts& texts) {
  if (texts.lengths.size() != entries_.size() || texts.states.size() != entries_.size()) {
    throw platform::EListError("Translation count mismatch");
  }
  std::uint64_t total = 0;
  for (const std::uint32_t length : texts.lengths)
    total += length;
  if (total != texts.text.size()) throw platform::EListError("Translation count mismatch");
  std::size_t next = 0;
  std::size_t from = 0;
  ReplaceTranslations([&](std::string_view& text, std::uint8_t& state) {
    text = std::string_view(texts.text).substr(from, texts.lengths[next]);
    from += texts.lengths[next];
    state = texts.states[next++];
    return true;
  });
}

bool TLxTranslationList::ReplaceTranslations(const NextTranslation& next) {
  // The records are written again in the order of adding, each key followed by its new
  // text; nothing changes unless every entry gets one.
  std::string records;
  records.reserve(records_.size() - textsSize_ + std::max(largestTexts_, textsSize_));
  std::vector<std::uint32_t> starts(entries_.size());
  std::vector<std::uint8_t> states(entries_.size());
  std::size_t textsSize = 0;
  std::size_t from = 0;
  std::string_view text;
  for (std::size_t added = 0; added < entries_.size(); ++added) {
    const Record old = RecordAt(static_cast<std::uint32_t>(from));
    from = static_cast<std::size_t>(old.text.data() + old.text.size() - records_.data());
    if (!next(text, states[added])) return false;
    starts[added] = static_cast<std::uint32_t>(records.size());
    char header[14];
    records.append(header, WriteHeader(header, old.key.size(), old.nativeLength, text.size()));
    records += old.key;
    records += text;
    textsSize += text.size();
  }
  Length(records.size());
  for (Entry& entry : entries_)
    entry.record = starts[entry.added];
  for (std::vector<Slot>* index : {&keyIndex_, &wordIndex_}) {
    for (Slot& slot : *index) {
      if (slot.answer != 0) slot.record = entries_[slot.answer - 1].record;
    }
  }
  records_ = std::move(records);
  textsSize_ = textsSize;
  largestTexts_ = std::max(largestTexts_, textsSize_);
  states_ = std::move(states);
  return true;
}

void TLxTranslationList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) {
    throw platform::EListError("List index out of bounds (" + std::to_string(index) + ")");
  }
}

std::string_view TLxTranslationList::IndexedText(const Record& record, IndexedTexts texts) {
  return texts.wordOnly ? record.key.substr(0, record.nativeLength + texts.extra) : record.key;
}

std::string_view TLxTranslationList::IndexedText(int index, IndexedTexts texts) const {
  return IndexedText(RecordOf(index), texts);
}

std::string_view TLxTranslationList::Native(int index) const {
  CheckIndex(index);
  const Record record = RecordOf(index);
  return record.key.substr(0, record.nativeLength);
}

std::string_view TLxTranslationList::Context(int index) const {
  CheckIndex(index);
  const Record record = RecordOf(index);
  return record.key.substr(record.nativeLength + 1,
                           entries_[static_cast<std::size_t>(index)].contextLength);
}

std::string_view TLxTranslationList::Id(int index) const {
  CheckIndex(index);
  const Record record = RecordOf(index);
  return record.key.substr(record.nativeLength + 1 +
                           entries_[static_cast<std::size_t>(index)].contextLength);
}

std::string_view TLxTranslationList::Translation(int index) const {
  CheckIndex(index);
  return RecordOf(index).text;
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
  // On strictly increasing texts the quicksort swaps nothing; checking first saves its
  // comparisons on tables that arrive in order, as built ones do. Only equal texts leave
  // the table short of strictly increasing after a sort.
  bool inOrder = Count() < 2 || InOrder(SortTexts(contextKeys));
  if (!inOrder) {
    inOrder = SortDistinct(contextKeys);
    if (!inOrder) QuickSort(0, Count() - 1, contextKeys);
  }
  // Loaded once per language and then only read: give back what growing left over.
  records_.shrink_to_fit();
  keyIndex_ = BuildIndex(SortTexts(contextKeys), inOrder);
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
std::vector<TLxTranslationList::Slot> TLxTranslationList::BuildIndex(IndexedTexts texts,
                                                                     bool inOrder) const {
  std::vector<Slot> index;
  if (Empty()) return index;
  index.resize(entries_.size() + entries_.size() / 3 + 1);
  // The hashes first, in one sweep over the texts, so that each slot can be fetched a few
  // entries before it is written.
  std::vector<std::uint32_t> hashes(entries_.size());
  for (int i = 0; i < Count(); ++i)
    hashes[static_cast<std::size_t>(i)] = HashOf(IndexedText(i, texts));
  constexpr std::size_t kAhead = 8;
  for (std::size_t i = 0; i < hashes.size(); ++i) {
    if (i + kAhead < hashes.size())
      __builtin_prefetch(&index[HomeSlot(hashes[i + kAhead], index.size())], 1);
    const std::uint32_t hash = hashes[i];
    const std::string_view text = IndexedText(static_cast<int>(i), texts);
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
    const int answer = inOrder ? static_cast<int>(i) : Search(KeyTarget(text), texts);
    if (answer >= 0) {
      index[at] = {hash, static_cast<std::uint32_t>(answer) + 1,
                   entries_[static_cast<std::size_t>(answer)].record};
    }
  }
  return index;
}

const TLxTranslationList::Slot* TLxTranslationList::FindIndexed(const std::vector<Slot>& index,
                                                                const KeyTarget& target,
                                                                IndexedTexts texts) const {
  if (index.empty()) return nullptr;
  const std::uint32_t hash = target.Hash();
  for (std::size_t at = HomeSlot(hash, index.size()); index[at].answer != 0;
       at = at + 1 == index.size() ? 0 : at + 1) {
    const Slot& slot = index[at];
    if (slot.hash == hash && target.Matches(IndexedText(RecordAt(slot.record), texts)))
      return &slot;
  }
  return nullptr;
}

int TLxTranslationList::AnswerOf(const Slot* slot, std::string_view* text) const {
  if (slot == nullptr) return -1;
  if (text != nullptr) *text = RecordAt(slot->record).text;
  return static_cast<int>(slot->answer - 1);
}

int TLxTranslationList::AnswerOf(int answer, std::string_view* text) const {
  if (answer >= 0 && text != nullptr) *text = RecordOf(answer).text;
  return answer;
}

const std::vector<TLxTranslationList::Slot>* TLxTranslationList::WordIndex() const {
  if (!indexed_ || !indexedContextKeys_) return nullptr;
  if (!wordIndexed_) {
    wordIndex_ = BuildIndex({true, 1}, InOrder({true, 1}));
    wordIndexed_ = true;
  }
  return &wordIndex_;
}

int TLxTranslationList::FindWordAnswer(std::string_view word, bool contextKeys,
                                       std::string_view* text) const {
  if (!contextKeys) {
    const KeyTarget target(word);
    if (indexed_ && !indexedContextKeys_)
      return AnswerOf(FindIndexed(keyIndex_, target, {true, 0}), text);
    return AnswerOf(Search(target, {true, 0}), text);
  }
  const KeyTarget target(word, std::string_view(kSeparatorText, 1));
  if (const std::vector<Slot>* index = WordIndex())
    return AnswerOf(FindIndexed(*index, target, {true, 1}), text);
  return AnswerOf(Search(target, {true, 1}), text);
}

int TLxTranslationList::FindKeyAnswer(std::string_view word, std::string_view context,
                                      std::string_view id, bool contextKeys,
                                      std::string_view* text) const {
  if (!contextKeys) return FindWordAnswer(word, false, text);
  const KeyTarget target(word, std::string_view(kSeparatorText, 1), context, id);
  if (indexed_ && indexedContextKeys_)
    return AnswerOf(FindIndexed(keyIndex_, target, {false, 0}), text);
  return AnswerOf(Search(target, {false, 0}), text);
}

int TLxTranslationList::FindWord(std::string_view word, bool contextKeys) const {
  return FindWordAnswer(word, contextKeys, nullptr);
}

int TLxTranslationList::FindKey(std::string_view word, std::string_view context,
                                std::string_view id, bool contextKeys) const {
  return FindKeyAnswer(word, context, id, contextKeys, nullptr);
}

bool TLxTranslationList::FindWordText(std::string_view word, bool contextKeys,
                                      std::string_view& text) const {
  return FindWordAnswer(word, contextKeys, &text) >= 0;
}

bool TLxTranslationList::FindKeyText(std::string_view word, std::string_view context,
                                     std::string_view id, bool contextKeys,
                                     std::string_view& text) const {
  return FindKeyAnswer(word, context, id, contextKeys, &text) >= 0;
}

}  // namespace lx::dict

#include <gtest/gtest.h>

#include <random>

#include "dict/LxTranslationList.h"
#include "platform/Exception.h"
#include "support/Raised.h"

namespace lx::dict {
namespace {

using lang::TLxTranslation;

struct Entry {
  Entry(std::string native, std::string context = "", std::string id = "",
        std::string translation = "t", std::uint8_t state = 0) {
    record.Native = std::move(native);
    record.Context = std::move(context);
    record.Id = std::move(id);
    record.Translation = std::move(translation);
    record.State = state;
  }
  operator const TLxTranslation&() const { return record; }

  TLxTranslation record;
};

std::vector<std::string> Natives(const TLxTranslationList& list) {
  std::vector<std::string> natives;
  for (int i = 0; i < list.Count(); ++i)
    natives.emplace_back(list.Native(i));
  return natives;
}

// A record's texts, copyable.
struct Plain {
  std::string Native, Context, Id, Translation;
  std::string Key() const { return TLxTranslation::KeyOf(Native, Context, Id); }
};

// The table as a plain list of records, sorted and searched step by step the
// classic way: what the compact table must match exactly.
class ReferenceList {
 public:
  void Add(const TLxTranslation& entry) {
    entries_.push_back({entry.Native, entry.Context, entry.Id, entry.Translation});
  }

  void Sort(bool contextKeys) {
    if (!entries_.empty()) QuickSort(0, static_cast<int>(entries_.size()) - 1, contextKeys);
  }

  int Find(const std::string& target, bool contextKeys, bool wordOnly) const {
    int low = 0;
    int high = static_cast<int>(entries_.size()) - 1;
    while (low <= high) {
      const int middle = (low + high) / 2;
      const Plain& entry = entries_[static_cast<std::size_t>(middle)];
      std::string probe = entry.Native;
      if (contextKeys) probe = wordOnly ? entry.Native + '\x7F' : entry.Key();
      if (probe == target) return middle;
      if (probe < target) {
        low = middle + 1;
      } else {
        high = middle - 1;
      }
    }
    return -1;
  }

  const std::vector<Plain>& Entries() const { return entries_; }

 private:
  std::string Text(int i, bool contextKeys) const {
    const Plain& entry = entries_[static_cast<std::size_t>(i)];
    return contextKeys ? entry.Key() : entry.Native;
  }

  void QuickSort(int left, int right, bool contextKeys) {
    const std::string pivot = Text((left + right) / 2, contextKeys);
    int i = left;
    int j = right;
    do {
      while (Text(i, contextKeys) < pivot)
        ++i;
      while (Text(j, contextKeys) > pivot)
        --j;
      if (i <= j)
        std::swap(entries_[static_cast<std::size_t>(i++)], entries_[static_cast<std::size_t>(j--)]);
    } while (i <= j);
    if (left < j) QuickSort(left, j, contextKeys);
    if (i < right) QuickSort(i, right, contextKeys);
  }

  std::vector<Plain> entries_;
};

TEST(LxTranslationListTest, SortsByTheNumericValueOfCharacters) {
  TLxTranslationList list;
  for (const char* word : {"Open", "OK", "ok", "Cancel"})
    list.Add(Entry(word));
  list.Sort(false);
  EXPECT_EQ(Natives(list), (std::vector<std::string>{"Cancel", "OK", "Open", "ok"}));
  EXPECT_EQ(list.FindWord("OK", false), 1);
  EXPECT_EQ(list.FindWord("Ok", false), -1);
  EXPECT_EQ(list.FindKey("ok", "TForm1", "7", false), 3);  // context and id ignored
}

TEST(LxTranslationListTest, KeysTellFormsApart) {
  TLxTranslationList list;
  list.Add(Entry("Save", "TForm2", "", "second"));
  list.Add(Entry("Save", "TForm1", "", "first"));
  list.Add(Entry("Save as"));
  list.Sort(true);
  EXPECT_EQ(list.Translation(list.FindKey("Save", "TForm2", "", true)), "second");
  EXPECT_EQ(list.Translation(list.FindKey("Save", "TForm1", "", true)), "first");
  EXPECT_EQ(list.FindKey("Save", "TForm3", "", true), -1);
  const int any = list.FindWord("Save", true);
  ASSERT_GE(any, 0);
  EXPECT_EQ(list.Native(any), "Save");
  EXPECT_EQ(list.Native(list.FindWord("Save as", true)), "Save as");
}

TEST(LxTranslationListTest, AnEmptyTableFindsNothing) {
  TLxTranslationList list;
  list.Sort(true);
  EXPECT_EQ(list.FindWord("x", false), -1);
  EXPECT_EQ(list.FindKey("x", "c", "i", true), -1);
}

TEST(LxTranslationListTest, GivesEntriesBackWholeAndRefusesBadIndexes) {
  TLxTranslationList list;
  list.Add(Entry("Open", "TMain", "12",
                 "\xD6"
                 "ffnen",
                 1));
  TLxTranslation entry;
  list.CopyTo(0, entry);
  EXPECT_EQ(entry.Native, "Open");
  EXPECT_EQ(entry.Context, "TMain");
  EXPECT_EQ(entry.Id, "12");
  EXPECT_EQ(entry.Translation,
            "\xD6"
            "ffnen");
  EXPECT_EQ(entry.State, 1);
  try {
    list.CopyTo(1, entry);
    FAIL();
  } catch (const platform::EListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (1)");
  }
  EXPECT_RAISES(list.Native(-1), platform::EListError, "List index out of bounds (-1)");
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

// Random tables with duplicates, shared prefixes, high bytes, NULs and key
// separators inside texts: same order and same answers as the plain list.
TEST(LxTranslationListTest, MatchesThePlainListOnRandomTables) {
  std::mt19937 random(7);
  const std::string alphabet("ab\x7F\x00\xFFZ", 6);
  const auto text = [&](std::size_t maxLength) {
    std::string result(random() % (maxLength + 1), ' ');
    for (char& c : result)
      c = alphabet[random() % alphabet.size()];
    return result;
  };
  for (int round = 0; round < 200; ++round) {
    const bool contextKeys = round % 2 == 0;
    TLxTranslationList list;
    ReferenceList reference;
    const int count = static_cast<int>(random() % 40);
    for (int i = 0; i < count; ++i) {
      const Entry entry(text(12), text(3), text(2), std::to_string(i));
      list.Add(entry);
      reference.Add(entry);
    }
    list.Sort(contextKeys);
    reference.Sort(contextKeys);
    for (int i = 0; i < count; ++i) {
      const Plain& expected = reference.Entries()[static_cast<std::size_t>(i)];
      ASSERT_EQ(list.Translation(i), expected.Translation) << "round " << round << " at " << i;
    }
    for (int probe = 0; probe < 30; ++probe) {
      const std::string word = text(12);
      const std::string context = text(3);
      const std::string id = text(2);
      const std::string wordTarget = contextKeys ? word + '\x7F' : word;
      ASSERT_EQ(list.FindWord(word, contextKeys), reference.Find(wordTarget, contextKeys, true));
      const std::string keyTarget = contextKeys ? TLxTranslation::KeyOf(word, context, id) : word;
      ASSERT_EQ(list.FindKey(word, context, id, contextKeys),
                reference.Find(keyTarget, contextKeys, false));
    }
  }
}

// Every look-up, hit or miss, on random tables with many duplicates, NULs and separators,
// sorted either way or not at all: the answers of the plain list's binary search.
TEST(LxTranslationListTest, LooksUpAsTheBinarySearchDoes) {
  std::mt19937 random(23);
  const std::string alphabet("ab\x7F\x00", 4);
  const auto text = [&](std::size_t maxLength) {
    std::string result(random() % (maxLength + 1), ' ');
    for (char& c : result)
      c = alphabet[random() % alphabet.size()];
    return result;
  };
  for (int round = 0; round < 120; ++round) {
    const bool contextKeys = round % 2 == 0;
    const int sorting = round % 3;  // 0: by the table's keys, 1: by the other keys, 2: not
    // Some rounds have keys on both sides of the length a target is still joined up to.
    const std::string prefix(round % 7 >= 4 ? 178 : 0, 'a');
    TLxTranslationList list;
    ReferenceList reference;
    std::vector<Plain> added;
    const int count = 1 + static_cast<int>(random() % 300);
    for (int i = 0; i < count; ++i) {
      const Entry entry(prefix + text(5), text(2), text(1), std::to_string(i));
      list.Add(entry);
      reference.Add(entry);
      added.push_back({entry.record.Native, entry.record.Context, entry.record.Id, ""});
    }
    if (sorting != 2) {
      list.Sort(sorting == 0 ? contextKeys : !contextKeys);
      reference.Sort(sorting == 0 ? contextKeys : !contextKeys);
    }
    if (random() % 4 == 0) {  // an entry added after the sort
      const Entry late(prefix + text(5), text(2), text(1), "late");
      list.Add(late);
      reference.Add(late);
    }
    for (int probe = 0; probe < 200; ++probe) {
      Plain key = added[random() % added.size()];
      if (probe % 2 == 1) key = {prefix + text(5), text(2), text(1), ""};
      const std::string wordTarget = contextKeys ? key.Native + '\x7F' : key.Native;
      ASSERT_EQ(list.FindWord(key.Native, contextKeys),
                reference.Find(wordTarget, contextKeys, true))
          << "round " << round;
      ASSERT_EQ(list.FindKey(key.Native, key.Context, key.Id, contextKeys),
                reference.Find(contextKeys ? key.Key() : key.Native, contextKeys, false))
          << "round " << round;
    }
  }
}

TEST(LxTranslationListTest, ReplacedTranslationsFollowTheOrderOfAdding) {
  TLxTranslationList list;
  for (const char* word : {"Save", "Open", "Close"})
    list.Add(Entry(word, "", "", std::string("old ") + word));
  list.Sort(false);
  list.ReplaceTranslations({"SpeichernOeffnenSchliessen", {9, 7, 10}, {0, 1, 0}});
  EXPECT_EQ(Natives(list), (std::vector<std::string>{"Close", "Open", "Save"}));
  EXPECT_EQ(list.Translation(list.FindWord("Open", false)), "Oeffnen");
  EXPECT_EQ(list.State(list.FindWord("Open", false)), 1);
  EXPECT_EQ(list.Translation(list.FindWord("Close", false)), "Schliessen");
  EXPECT_EQ(list.Translation(list.FindWord("Save", false)), "Speichern");
  for (const TLxTranslationList::Texts& wrong :
       {TLxTranslationList::Texts{"ab", {1, 1}, {0, 0}},
        TLxTranslationList::Texts{"abc", {1, 1, 2}, {0, 0, 0}}}) {
    try {
      list.ReplaceTranslations(wrong);
      FAIL();
    } catch (const platform::EListError& e) {
      EXPECT_EQ(e.Message(), "Translation count mismatch");
    }
  }
  EXPECT_EQ(list.Translation(list.FindWord("Save", false)), "Speichern");
}

// A position found under one keys version reads the same entry until the version changes.
TEST(LxTranslationListTest, TheKeysVersionChangesWithEveryChangeOfKeysOrOrderOnly) {
  TLxTranslationList list, other;
  for (const char* word : {"Save", "Open"})
    list.Add(Entry(word));
  other.Add(Entry("Save"));
  EXPECT_NE(list.KeysVersion(), 0u);
  EXPECT_NE(list.KeysVersion(), other.KeysVersion());
  std::uint64_t version = list.KeysVersion();
  EXPECT_EQ(list.KeysVersion(), version);
  list.Sort(false);
  EXPECT_NE(list.KeysVersion(), version);
  version = list.KeysVersion();
  list.ReplaceTranslations({"SpeichernOeffnen", {9, 7}, {0, 0}});
  EXPECT_EQ(list.KeysVersion(), version);
  list.Add(Entry("Close"));
  EXPECT_NE(list.KeysVersion(), version);
  version = list.KeysVersion();
  list.Clear();
  EXPECT_NE(list.KeysVersion(), version);
}

// Texts on both sides of the longest length a record notes in two bytes, before and after
// new translations: every piece comes back whole.
TEST(LxTranslationListTest, LongTextsComeBackWhole) {
  const std::vector<std::size_t> lengths = {0, 1, 65533, 65534, 65535, 65536, 70000};
  TLxTranslationList list;
  std::vector<Plain> added;
  for (std::size_t i = 0; i < lengths.size(); ++i) {
    const std::string n = std::to_string(i);
    const Plain plain{n + std::string(lengths[i], 'n'), std::string(lengths[i], 'c'), "id" + n,
                      std::string(lengths[lengths.size() - 1 - i], 't')};
    list.Add(Entry(plain.Native, plain.Context, plain.Id, plain.Translation,
                   static_cast<std::uint8_t>(i % 3)));
    added.push_back(plain);
  }
  for (const std::size_t key : {65534u, 65535u, 65536u}) {  // whole keys of these lengths
    const Plain plain{std::string(key - 1, 'k'), "", "", "x"};
    list.Add(Entry(plain.Native, plain.Context, plain.Id, plain.Translation, 0));
    added.push_back(plain);
  }
  list.Sort(true);
  const auto check = [&](bool replaced) {
    for (std::size_t i = 0; i < added.size(); ++i) {
      const Plain& plain = added[i];
      const int index = list.FindKey(plain.Native, plain.Context, plain.Id, true);
      ASSERT_GE(index, 0) << i;
      EXPECT_EQ(list.Native(index), plain.Native) << i;
      EXPECT_EQ(list.Context(index), plain.Context) << i;
      EXPECT_EQ(list.Id(index), plain.Id) << i;
      EXPECT_EQ(list.Translation(index), plain.Translation) << i;
      const std::size_t state = replaced ? i % 2 : i < lengths.size() ? i % 3 : 0;
      EXPECT_EQ(list.State(index), state) << i;
      std::string_view text;
      EXPECT_TRUE(list.FindWordText(plain.Native, true, text)) << i;
      EXPECT_EQ(text, plain.Translation) << i;
    }
  };
  check(false);
  TLxTranslationList::Texts texts;
  for (std::size_t i = 0; i < added.size(); ++i) {
    const std::size_t length = lengths[i % lengths.size()];
    added[i].Translation = std::string(length, static_cast<char>('a' + i));
    texts.text += added[i].Translation;
    texts.lengths.push_back(static_cast<std::uint32_t>(length));
    texts.states.push_back(static_cast<std::uint8_t>(i % 2));
  }
  list.ReplaceTranslations(texts);
  check(true);
}

// Large tables of distinct texts with long shared beginnings: the order of the plain list.
TEST(LxTranslationListTest, SortsLargeDistinctTablesAsThePlainListDoes) {
  std::mt19937 random(11);
  for (const bool contextKeys : {false, true}) {
    TLxTranslationList list;
    ReferenceList reference;
    for (int i = 0; i < 3000; ++i) {
      std::string word = "Common prefix " + std::to_string(random() % 100000);
      if (random() % 3 == 0) word.push_back(static_cast<char>(0x80 + random() % 0x80));
      const Entry entry(word, contextKeys ? "TForm" + std::to_string(i) : "", "",
                        std::to_string(i));
      list.Add(entry);
      reference.Add(entry);
    }
    list.Sort(contextKeys);
    reference.Sort(contextKeys);
    for (int i = 0; i < list.Count(); ++i) {
      ASSERT_EQ(list.Translation(i), reference.Entries()[static_cast<std::size_t>(i)].Translation);
    }
  }
}

TEST(LxTranslationListTest, SortsLargeAdversarialTablesWithoutDeepRecursion) {
  TLxTranslationList list;
  for (int i = 0; i < 65535; ++i)
    list.Add(Entry(i % 2 == 0 ? "same" : std::to_string(65535 - i)));
  list.Sort(false);
  for (int i = 1; i < list.Count(); ++i)
    ASSERT_LE(list.Native(i - 1), list.Native(i));
}

}  // namespace
}  // namespace lx::dict

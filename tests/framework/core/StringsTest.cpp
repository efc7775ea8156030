#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/Strings.h"
#include "support/Raised.h"

namespace lx::framework {
namespace {

std::vector<std::string> Items(const TStrings& strings) {
  std::vector<std::string> items;
  for (int i = 0; i < strings.Count(); ++i)
    items.push_back(strings.Strings(i));
  return items;
}

// Counts its instances, to see which objects a list frees.
class TCounted : public TObject {
 public:
  explicit TCounted(int& alive) : alive_(alive) { ++alive_; }
  ~TCounted() override { --alive_; }

 private:
  int& alive_;
};

template <typename F>
void ExpectListError(F action, const std::string& message) {
  try {
    action();
    FAIL() << "no exception, expected: " << message;
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

TEST(StringsTest, EditingAnUnsortedList) {
  TStringList list;
  EXPECT_EQ(list.Add("b"), 0);
  EXPECT_EQ(list.Add("a"), 1);
  list.Insert(0, "c");
  list.Insert(3, "d");
  EXPECT_EQ(Items(list), (std::vector<std::string>{"c", "b", "a", "d"}));
  list.Delete(1);
  list.SetStrings(0, "C");
  list.Exchange(0, 2);
  EXPECT_EQ(Items(list), (std::vector<std::string>{"d", "a", "C"}));
  list.Move(0, 2);
  EXPECT_EQ(Items(list), (std::vector<std::string>{"a", "C", "d"}));
  list.Move(2, 0);
  EXPECT_EQ(Items(list), (std::vector<std::string>{"d", "a", "C"}));
  EXPECT_EQ(list.IndexOf("c"), 2);
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf("c"), -1);
  int index = -1;
  EXPECT_FALSE(list.Find("x", index));
  EXPECT_EQ(index, 3);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(StringsTest, IndexesOutOfTheListAreRefused) {
  TStringList list;
  list.Add("a");
  ExpectListError([&] { list.Strings(1); }, "List index out of bounds (1)");
  ExpectListError([&] { list.Objects(-1); }, "List index out of bounds (-1)");
  ExpectListError([&] { list.Delete(1); }, "List index out of bounds (1)");
  ExpectListError([&] { list.Insert(2, "x"); }, "List index out of bounds (2)");
  ExpectListError([&] { list.SetStrings(5, "x"); }, "List index out of bounds (5)");
  ExpectListError([&] { list.Exchange(0, 1); }, "List index out of bounds (1)");
  EXPECT_RAISES(list.Strings(1), platform::EListError, "List index out of bounds (1)");
  EXPECT_EQ(Items(list), std::vector<std::string>{"a"});
}

TEST(StringsTest, SortedListsKeepOrderAndApplyTheDuplicatesRule) {
  TStringList list;
  list.SetCommaText("pear,Apple,fig,apple");
  list.SetSorted(true);
  EXPECT_EQ(Items(list), (std::vector<std::string>{"Apple", "apple", "fig", "pear"}));
  EXPECT_EQ(list.Add("banana"), 2);
  EXPECT_EQ(list.Add("FIG"), 3);  // ignored: the present one's index
  EXPECT_EQ(list.Count(), 5);
  int index = -1;
  EXPECT_TRUE(list.Find("PEAR", index));
  EXPECT_EQ(index, 4);
  EXPECT_FALSE(list.Find("cherry", index));
  EXPECT_EQ(index, 3);
  EXPECT_EQ(list.IndexOf("cherry"), -1);

  list.SetDuplicates(dupError);
  ExpectListError([&] { list.Add("Banana"); }, "String list does not allow duplicates");
  list.SetDuplicates(dupAccept);
  list.Add("Banana");
  EXPECT_EQ(list.Count(), 6);

  ExpectListError([&] { list.Insert(0, "x"); }, "Operation not allowed on sorted list");
  ExpectListError([&] { list.SetStrings(0, "x"); }, "Operation not allowed on sorted list");
  ExpectListError([&] { list.Exchange(0, 1); }, "Operation not allowed on sorted list");

  list.SetCaseSensitive(true);
  EXPECT_EQ(Items(list),
            (std::vector<std::string>{"Apple", "Banana", "apple", "banana", "fig", "pear"}));
  EXPECT_FALSE(list.Find("PEAR", index));
}

TEST(StringsTest, CaseInsensitiveComparisonFoldsAsciiOnly) {
  TStringList list;
  list.SetSorted(true);
  list.Add("\xC4pfel");
  list.Add("\xE4pfel");
  list.Add("_x");
  list.Add("Zebra");
  EXPECT_EQ(list.Count(), 4);
  // Letters fold to upper case, so "_" sorts after every letter.
  EXPECT_EQ(Items(list), (std::vector<std::string>{"Zebra", "_x", "\xC4pfel", "\xE4pfel"}));
}

TEST(StringsTest, ObjectsAreFreedOnlyByAnOwningList) {
  int alive = 0;
  TCounted kept(alive);
  {
    TStringList list;
    list.AddObject("kept", &kept);
    EXPECT_EQ(list.IndexOfObject(&kept), 0);
    EXPECT_EQ(list.Objects(0), &kept);
  }
  EXPECT_EQ(alive, 1);
  {
    TStringList list;
    list.SetOwnsObjects(true);
    list.AddObject("a", new TCounted(alive));
    list.AddObject("b", new TCounted(alive));
    list.AddObject("c", new TCounted(alive));
    EXPECT_EQ(alive, 4);
    list.Delete(0);
    list.SetObjects(0, new TCounted(alive));
    EXPECT_EQ(alive, 3);
    list.Move(1, 0);
    EXPECT_EQ(alive, 3);
    list.SetSorted(true);
    list.AddObject("b", new TCounted(alive));  // an ignored duplicate's object is freed
    EXPECT_EQ(alive, 3);
    list.SetDuplicates(dupError);
    TCounted refused(alive);
    EXPECT_RAISES(list.AddObject("b", &refused), EStringListError,
                  "String list does not allow duplicates");
    EXPECT_EQ(alive, 4);
  }
  EXPECT_EQ(alive, 1);
}

TEST(StringsTest, TextJoinsLinesAndSplitsAtEveryLineBreak) {
  TStringList list;
  list.SetText("one\r\ntwo\nthree\rfour");
  EXPECT_EQ(Items(list), (std::vector<std::string>{"one", "two", "three", "four"}));
  EXPECT_EQ(list.Text(), "one\ntwo\nthree\nfour\n");
  list.SetText("a\n\rb\n\n");
  EXPECT_EQ(Items(list), (std::vector<std::string>{"a", "", "b", ""}));
  list.SetText(std::string("x\0y", 3));
  EXPECT_EQ(list.Strings(0), std::string("x\0y", 3));
  list.SetText("");
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Text(), "");
  list.SetText("\n");
  EXPECT_EQ(Items(list), std::vector<std::string>{""});
}

TEST(StringsTest, CommaTextQuotesWhatWouldNotReadBack) {
  TStringList list;
  for (const char* s : {"plain", "two words", "a,b", "say \"hi\"", "", "tab\there"})
    list.Add(s);
  EXPECT_EQ(list.CommaText(), "plain,\"two words\",\"a,b\",\"say \"\"hi\"\"\",,\"tab\there\"");
  TStringList copy;
  copy.SetCommaText(list.CommaText());
  EXPECT_TRUE(copy.Equals(list));

  list.Clear();
  list.Add("");
  EXPECT_EQ(list.CommaText(), "\"\"");
  copy.SetCommaText("\"\"");
  EXPECT_EQ(Items(copy), std::vector<std::string>{""});
}

TEST(StringsTest, CommaTextReadsTheClassicWay) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {"", {}},
      {"  ", {}},
      {"a b,c", {"a", "b", "c"}},
      {" a , b ", {"a", "b"}},
      {"a,", {"a", ""}},
      {",a", {"", "a"}},
      {"a,,b", {"a", "", "b"}},
      {"\"ab\"cd", {"ab", "cd"}},
      {"\"open, never closed", {"open, never closed"}},
      {"\"a\"\"\",b", {"a\"", "b"}},
      {std::string("a\0b", 3), {"a", "b"}},
  };
  for (const auto& [text, expected] : cases) {
    TStringList list;
    list.SetCommaText(text);
    EXPECT_EQ(Items(list), expected) << text;
  }
}

TEST(StringsTest, UpdatesNotifyOnceAroundTheirChanges) {
  TStringList list;
  std::vector<std::string> events;
  list.OnChanging = [&](TObject* sender) {
    EXPECT_EQ(sender, &list);
    events.push_back("changing:" + std::to_string(list.Count()));
  };
  list.OnChange = [&](TObject*) { events.push_back("change:" + std::to_string(list.Count())); };
  list.Add("a");
  EXPECT_EQ(events, (std::vector<std::string>{"changing:0", "change:1"}));
  events.clear();

  list.BeginUpdate();
  list.BeginUpdate();
  list.Add("b");
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(list.UpdateCount(), 1);
  list.Add("c");
  list.EndUpdate();
  EXPECT_EQ(events, (std::vector<std::string>{"changing:1", "change:2"}));
  events.clear();

  list.EndUpdate();  // unmatched: ignored
  EXPECT_EQ(list.UpdateCount(), 0);
  list.SetText("x\ny\nz");
  list.Clear();
  list.Clear();  // nothing to clear: no notification
  EXPECT_EQ(events, (std::vector<std::string>{"changing:2", "change:3", "changing:3", "change:0"}));
}

TEST(StringsTest, AnUpdateEndsEvenWhenAChangeFails) {
  TStringList list;
  list.SetSorted(true);
  list.SetDuplicates(dupError);
  int changes = 0;
  list.OnChange = [&](TObject*) { ++changes; };
  EXPECT_RAISES(list.SetText("a\nb\na"), EStringListError, "String list does not allow duplicates");
  EXPECT_EQ(list.UpdateCount(), 0);
  EXPECT_EQ(changes, 1);
}

TEST(StringsTest, AssignCopiesStringsAndObjects) {
  TStringList source;
  TStringList other;
  source.AddObject("one", &other);
  source.Add("two");
  TStringList dest;
  dest.Add("old");
  dest.Assign(&source);
  EXPECT_TRUE(dest.Equals(source));
  EXPECT_EQ(dest.Objects(0), &other);
  dest.Assign(&dest);
  EXPECT_EQ(dest.Count(), 2);
  dest.AddStrings(dest);
  EXPECT_EQ(Items(dest), (std::vector<std::string>{"one", "two", "one", "two"}));
}

}  // namespace
}  // namespace lx::framework

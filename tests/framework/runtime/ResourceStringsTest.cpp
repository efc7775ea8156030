#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "TestStrings.h"
#include "framework/runtime/FrameworkStrings.h"
#include "framework/runtime/ResourceStrings.h"

namespace lx::framework {
namespace {

std::vector<std::uintptr_t> seenIdentifiers;

std::string Shouting(const TResStringRec& record) {
  seenIdentifiers.push_back(record.Identifier);
  std::string text = DefaultLoadResString(record);
  for (char& c : text)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string Empty(const TResStringRec&) {
  return std::string();
}

TEST(ResourceStringsTest, LoadsTheProgramsLinkedStringTable) {
  EXPECT_EQ(LoadResString(test::SGreeting), "Hello");
  EXPECT_EQ(LoadResString(test::SEscapes),
            std::string("Tab\there \"quoted\" back\\slash A\xe9?\n"));
  EXPECT_EQ(LoadResString(test::SEmpty), "");
  EXPECT_EQ(LoadResString(test::SLast), "Last");
  EXPECT_EQ(test::SLast.Identifier, 65535u);
  EXPECT_EQ(LoadStr(0, 1), "Hello");
  EXPECT_EQ(LoadStr(platform::MainModule(), 1), "Hello");
  EXPECT_EQ(LoadStr(platform::MainModule() + 1, 1), "") << "another module holds nothing";
  EXPECT_EQ(LoadStr(0, 4), "") << "missing entry";
}

TEST(ResourceStringsTest, AnEntryWithTwoTextsHoldsItsPluralApart) {
  EXPECT_EQ(LoadResString(test::SFilesCopied), "%d file copied");
  EXPECT_EQ(LoadPluralStr(0, 5), "%d files copied");
  EXPECT_EQ(LoadPluralStr(0, 1), "") << "an entry without a plural";
}

TEST(ResourceStringsTest, HoldsTheFrameworksOwnTexts) {
  EXPECT_EQ(LoadResString(SmkcBkSp), "BkSp");
  EXPECT_EQ(LoadResString(SmkcShift), "Shift+");
  EXPECT_EQ(LoadResString(SmkcAlt), "Alt+");
}

TEST(ResourceStringsTest, IdentifiersAbove0xFFFFCarryTheirText) {
  static const char kText[] = "Direct text";
  const TResStringRec record = DirectResString(kText);
  EXPECT_GT(record.Identifier, kMaxStringTableIdentifier);
  EXPECT_EQ(LoadResString(record), "Direct text");
}

TEST(ResourceStringsTest, LoadsAtMost1024Characters) {
  static const std::string kLong(2000, 'x');
  platform::RegisterResource(
      platform::RT_STRING, "4000",
      std::span(reinterpret_cast<const std::uint8_t*>(kLong.data()), kLong.size()));
  EXPECT_EQ(LoadStr(0, 4000), std::string(1024, 'x'));
  EXPECT_EQ(LoadResString(TResStringRec{0, 4000}).size(), 1024u);
  platform::UnregisterResource(platform::RT_STRING, "4000");
}

TEST(ResourceStringsTest, HookReplacesTheLoaderUntilRestored) {
  seenIdentifiers.clear();
  const TLoadResStringFunc original = SetLoadResStringHook(Shouting);
  EXPECT_EQ(LoadResString(test::SGreeting), "HELLO");
  EXPECT_EQ(seenIdentifiers, std::vector<std::uintptr_t>{1});
  EXPECT_EQ(DefaultLoadResString(test::SGreeting), "Hello") << "the default stays reachable";

  const TLoadResStringFunc shouting = SetLoadResStringHook(Empty);
  EXPECT_EQ(shouting, Shouting);
  EXPECT_EQ(LoadResString(test::SGreeting), "");

  EXPECT_EQ(SetLoadResStringHook(original), Empty);
  EXPECT_EQ(LoadResString(test::SGreeting), "Hello");
  SetLoadResStringHook(Shouting);
  EXPECT_EQ(SetLoadResStringHook(nullptr), Shouting);
  EXPECT_EQ(LoadResString(test::SGreeting), "Hello") << "nullptr puts the default back";
  EXPECT_EQ(SetLoadResStringHook(nullptr), DefaultLoadResString);
}

}  // namespace
}  // namespace lx::framework

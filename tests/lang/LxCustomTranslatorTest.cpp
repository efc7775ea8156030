#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/rtti/TypInfo.h"
#include "lang/LxCustomTranslator.h"
#include "lang/LxDictionary.h"
#include "support/FixedSystem.h"
#include "support/lang/LxMemoryDictionary.h"
#include "support/lang/LxProcessState.h"
#include "support/lang/LxRecordingTranslator.h"

namespace lx::lang {
namespace {

using support::TLxMemoryDictionary;
using support::TLxRecordingTranslator;
using Texts = std::vector<std::string>;

// Logs its reverts.
class RevertingTranslator : public TLxRecordingTranslator {
 public:
  using TLxRecordingTranslator::TLxRecordingTranslator;
  void Revert() override {
    ++reverts;
    TLxRecordingTranslator::Revert();
  }
  int reverts = 0;
};

class LxCustomTranslatorTest : public ::testing::Test {
 protected:
  support::FixedSystem system_;
  support::TLxProcessState state_;
};

TEST_F(LxCustomTranslatorTest, TheNameBindsToTheRegisteredDictionaryOfThatName) {
  TLxMemoryDictionary main(nullptr);
  main.SetDictionaryName("Main");
  TLxCustomTranslator translator(nullptr);

  translator.SetDictionaryName("main");
  EXPECT_EQ(translator.Dictionary(), nullptr);
  EXPECT_EQ(translator.DictionaryName(), "main");
  translator.SetDictionaryName("Main");
  EXPECT_EQ(translator.Dictionary(), &main);

  // A name whose dictionary does not exist yet unbinds; the name is kept.
  translator.SetDictionaryName("Later");
  EXPECT_EQ(translator.Dictionary(), nullptr);
  EXPECT_EQ(translator.DictionaryName(), "Later");

  framework::SetStrProp(translator, "DictionaryName", "Main");
  EXPECT_EQ(translator.Dictionary(), &main);
  EXPECT_TRUE(framework::IsPublishedProp(translator, "OnBeforeTranslate"));
  EXPECT_TRUE(framework::IsPublishedProp(translator, "OnLanguageChange"));
}

TEST_F(LxCustomTranslatorTest, ADictionaryNamedLaterIsFoundWhenOpening) {
  TLxRecordingTranslator translator(nullptr);
  translator.SetDictionaryName("Later");
  TLxMemoryDictionary first(nullptr);
  TLxMemoryDictionary later(nullptr);
  later.SetDictionaryName("Later");
  translator.Open();
  EXPECT_EQ(translator.Dictionary(), &later);
  EXPECT_TRUE(translator.Active());
  EXPECT_EQ(later.TranslatorCount(), 1);
  EXPECT_EQ(first.TranslatorCount(), 0);
}

TEST_F(LxCustomTranslatorTest, SetDictionaryTakesItsNameAndRevertsAnActiveTranslator) {
  TLxMemoryDictionary first(nullptr);
  TLxMemoryDictionary second(nullptr);
  RevertingTranslator translator(nullptr);
  translator.SetDictionary(&first);
  EXPECT_EQ(translator.DictionaryName(), "Dictionary1");
  EXPECT_EQ(translator.reverts, 0);

  translator.Open();
  ASSERT_EQ(first.TranslatorCount(), 1);
  translator.SetDictionary(&first);
  EXPECT_EQ(translator.reverts, 0);
  translator.SetDictionary(&second);
  EXPECT_EQ(translator.reverts, 1);
  EXPECT_EQ(first.TranslatorCount(), 0);
  EXPECT_FALSE(translator.Active());
  EXPECT_EQ(translator.Dictionary(), &second);
  EXPECT_EQ(translator.DictionaryName(), "Dictionary2");

  // Unbinding keeps the name.
  translator.SetDictionary(nullptr);
  EXPECT_EQ(translator.DictionaryName(), "Dictionary2");

  // A designing translator is not reverted.
  translator.SetDictionary(&first);
  translator.Open();
  translator.SetDesigning(true);
  translator.SetDictionary(&second);
  EXPECT_EQ(translator.reverts, 1);
  // It stays active, but no longer registered with the dictionary it left.
  EXPECT_TRUE(translator.Active());
  EXPECT_EQ(first.TranslatorCount(), 0);
}

TEST_F(LxCustomTranslatorTest, CloseLeavesTheDictionaryAndClearsTheState) {
  TLxMemoryDictionary dictionary(nullptr);
  TLxRecordingTranslator translator(nullptr);
  translator.SetDictionaryName("Dictionary1");
  translator.Open();
  ASSERT_TRUE(translator.State().Contains(lxtsActive));
  translator.Close();
  EXPECT_EQ(dictionary.TranslatorCount(), 0);
  EXPECT_EQ(translator.Dictionary(), nullptr);
  EXPECT_TRUE(translator.State().Empty());
  EXPECT_EQ(translator.DictionaryName(), "Dictionary1");

  translator.Open();
  translator.Revert();
  EXPECT_EQ(translator.closes, 2);
  EXPECT_EQ(dictionary.TranslatorCount(), 0);
}

TEST_F(LxCustomTranslatorTest, ABoundTranslatorOutlivesItsDictionary) {
  TLxCustomTranslator translator(nullptr);
  auto* dictionary = new TLxMemoryDictionary(nullptr);
  translator.SetDictionary(dictionary);
  delete dictionary;
  EXPECT_EQ(translator.Dictionary(), nullptr);
  EXPECT_EQ(translator.DictionaryName(), "Dictionary1");
  translator.Close();

  // A dictionary the translator was bound to before is no longer linked to it.
  TLxMemoryDictionary kept(nullptr);
  auto* dropped = new TLxMemoryDictionary(nullptr);
  translator.SetDictionary(dropped);
  translator.SetDictionary(&kept);
  delete dropped;
  EXPECT_EQ(translator.Dictionary(), &kept);
}

}  // namespace
}  // namespace lx::lang

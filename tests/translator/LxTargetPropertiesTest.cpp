#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/streaming/Filer.h"
#include "framework/streaming/Streams.h"
#include "framework/streaming/TextForm.h"
#include "lang/LxDictionary.h"
#include "support/Raised.h"
#include "translator/LxPoly.h"
#include "translator/LxTargetProperties.h"

namespace lx::translator {
namespace {

std::unique_ptr<TLxTranslator> ReadTranslator(const std::string& body,
                                              TLxTranslator* into = nullptr) {
  const std::string text = "object Translator1: TLxTranslator\n" + body + "end\n";
  framework::TMemoryStream stream(framework::FormTextToBinary(text));
  std::unique_ptr<TLxTranslator> made;
  if (into == nullptr) {
    made = std::make_unique<TLxTranslator>(nullptr);
    into = made.get();
  }
  framework::ReadComponentFrom(stream, into);
  return made;
}

std::string WrittenText(TLxTranslator& translator, TLxTranslator* ancestor = nullptr) {
  framework::TMemoryStream stream;
  framework::WriteComponentTo(stream, translator, ancestor);
  return framework::FormBinaryToText(stream.Bytes());
}

class LxTargetPropertiesTest : public ::testing::Test {
 protected:
  LxTargetPropertiesTest() { RegisterTranslatorClasses(); }
};

TEST_F(LxTargetPropertiesTest, MatchingByClassAndPropertyWithExclusionsWinning) {
  TLxTargetProperties targets;
  targets.Add("", 0, "Hint");
  targets.Add("", 0, "Caption");
  EXPECT_TRUE(targets.IsTarget("TButton", "caption"));
  EXPECT_FALSE(targets.IsTarget("TButton", "Name"));
  targets.Add("TLabel", 1, "");
  EXPECT_TRUE(targets.IsExcluded("TLabel", "Caption"));
  EXPECT_FALSE(targets.IsTarget("TLabel", "Hint"));
  EXPECT_TRUE(targets.IsTarget("TButton", "Caption"));

  TLxTargetProperties exact;
  exact.Add("TLabel", 0, "Caption");
  EXPECT_TRUE(exact.IsTarget("tlabel", "Caption"));
  EXPECT_FALSE(exact.IsTarget("TMyLabel", "Caption"));  // no ancestry
  exact.Add("", 0, "");                                 // matches nothing
  EXPECT_FALSE(exact.IsTarget("TButton", ""));
  exact.Add("TButton", 0, "");
  EXPECT_TRUE(exact.IsTarget("TButton", "Anything"));
  EXPECT_TRUE(exact.IsClassTarget("tbutton"));
  EXPECT_FALSE(exact.IsClassTarget("TLabel"));
  exact.Add("TButton", 1, "");
  EXPECT_FALSE(exact.IsClassTarget("TButton"));
}

TEST_F(LxTargetPropertiesTest, AssignCopiesAndSameAsComparesAsSets) {
  TLxTargetProperties a;
  a.Add("", 0, "Hint");
  a.Add("TLabel", 1, "");
  TLxTargetProperties b;
  b.Assign(&a);
  ASSERT_EQ(b.Count(), 2);
  EXPECT_TRUE(b.IsExcluded("TLabel", "Caption"));
  EXPECT_TRUE(a.SameAs(b));
  TLxTargetProperties reversed;
  reversed.Add("TLabel", 1, "");
  reversed.Add("", 0, "Hint");
  EXPECT_TRUE(a.SameAs(reversed));
  reversed.Items(0).Exclude = 0;
  EXPECT_FALSE(a.SameAs(reversed));
  b.Clear();
  EXPECT_FALSE(b.IsExcluded("TLabel", "Caption"));
  EXPECT_RAISES(b.Items(0), platform::Exception, "List index out of bounds (0)");

  TLxTranslator translator(nullptr);
  EXPECT_RAISES(translator.Targets()->Assign(&translator), platform::Exception,
                "Cannot assign a TLxTranslator to a TLxTargetProperties");
  translator.SetTargets(&a);
  EXPECT_TRUE(translator.Targets()->SameAs(a));
  EXPECT_NE(translator.Targets(), &a);
}

TEST_F(LxTargetPropertiesTest, TargetsDataIsReadWithoutDuplicates) {
  auto translator =
      ReadTranslator("  TargetsData = (0 3 ('*' 'Hint' 0) ('TLabel' '*' 1) ('*' 'Hint' 0))\n");
  const TLxTargetProperties& targets = *translator->Targets();
  ASSERT_EQ(targets.Count(), 2);
  EXPECT_EQ(targets.Items(0).TargetClass, "");
  EXPECT_EQ(targets.Items(0).TargetProperty, "Hint");
  EXPECT_EQ(targets.Items(1).TargetClass, "TLabel");
  EXPECT_EQ(targets.Items(1).TargetProperty, "");
  EXPECT_EQ(targets.Items(1).Exclude, 1);

  EXPECT_RAISES(ReadTranslator("  TargetsData = (2 1 ('*' 'Hint' 0))\n"), lang::ELxPoly,
                "Unknown target properties data version: 2");
}

TEST_F(LxTargetPropertiesTest, TargetsDataIsWrittenAgainstTheAncestor) {
  TLxTranslator translator(nullptr);
  EXPECT_EQ(WrittenText(translator).find("TargetsData"), std::string::npos);
  translator.Targets()->Add("", 0, "Hint");
  translator.Targets()->Add("", 0, "Caption");
  EXPECT_NE(WrittenText(translator)
                .find("  TargetsData = (\n    1\n    2\n    (\n      '*'\n"
                      "      'Hint'\n      0)\n    (\n      '*'\n"
                      "      'Caption'\n      0))\n"),
            std::string::npos);

  TLxTranslator ancestor(nullptr);
  ancestor.SetTargets(translator.Targets());
  EXPECT_EQ(WrittenText(translator, &ancestor).find("TargetsData"), std::string::npos);
  translator.Targets()->Add("TLabel", 1, "");
  const std::string text = WrittenText(translator, &ancestor);
  EXPECT_NE(text.find("  TargetsData = (\n    1\n    1\n    (\n      'TLabel'\n      '*'\n"
                      "      1))\n"),
            std::string::npos)
      << text;

  // Reading the ancestor's data and then the descendant's gives the union, in that order,
  // and the inherited exclusion still excludes.
  auto read = ReadTranslator("  TargetsData = (1 2 ('*' 'Hint' 0) ('TLabel' '*' 1))\n");
  ReadTranslator("  TargetsData = (1 2 ('*' 'Caption' 0) ('*' 'Hint' 0))\n", read.get());
  ASSERT_EQ(read->Targets()->Count(), 3);
  EXPECT_EQ(read->Targets()->Items(2).TargetProperty, "Caption");
  EXPECT_FALSE(read->Targets()->IsTarget("TLabel", "Caption"));
}

TEST_F(LxTargetPropertiesTest, TheLegacyDataFormIsRead) {
  auto translator = ReadTranslator("  Targets.Data = (2 'TButton' 'Caption' '*' 'Hint')\n");
  const TLxTargetProperties& targets = *translator->Targets();
  ASSERT_EQ(targets.Count(), 2);
  EXPECT_EQ(targets.Items(1).TargetClass, "*");  // taken as it is
  EXPECT_TRUE(targets.IsTarget("TButton", "Caption"));
  EXPECT_EQ(WrittenText(*translator).find("Targets.Data"), std::string::npos);
}

}  // namespace
}  // namespace lx::translator

#include <gtest/gtest.h>

#include "lang/LxLanguageIds.h"

namespace lx::lang {
namespace {

TEST(LxLanguageIdsTest, ComposesAndSplitsIds) {
  EXPECT_EQ(MAKELANGID(7, 3), 0x0C07);
  EXPECT_EQ(MAKELCID(0x0C07, 1), 0x10C07);
  EXPECT_EQ(PRIMARYLANGID(0x10C07), 7);
  EXPECT_EQ(SUBLANGID(0x10C07), 3);
  EXPECT_EQ(MAKELANGID(0, 1), kLxUserDefaultLcid);
  EXPECT_EQ(MAKELANGID(0, 2), kLxSystemDefaultLcid);
  // A part wider than its field does not spill into the other one.
  EXPECT_EQ(MAKELANGID(0x407, 1), 0x0407);
  EXPECT_EQ(MAKELANGID(9, 0x41), 0x0409);
  EXPECT_EQ(MAKELCID(0x30409, 0), 0x0409);
}

TEST(LxLanguageIdsTest, ScriptClassFollowsThePrimaryLanguage) {
  for (int hebrew : {0x040D, 0x1040D, 0x000D, 0xFC0D})
    EXPECT_EQ(ScriptClassOf(hebrew), kLxScriptRightToLeft) << hebrew;
  EXPECT_EQ(ScriptClassOf(0x0C01), kLxScriptRightToLeft);
  EXPECT_EQ(ScriptClassOf(0x0429), kLxScriptRightToLeft);
  for (int farEast : {0x0404, 0x0804, 0x0411, 0x0412})
    EXPECT_EQ(ScriptClassOf(farEast), kLxScriptFarEast) << farEast;
  for (int western : {0x0407, 0x0419, 0x0408, 0, 0x0400})
    EXPECT_EQ(ScriptClassOf(western), kLxScriptWestern) << western;
}

TEST(LxLanguageIdsTest, KnowsTheWesternLanguages) {
  for (int primary : {0, 6, 7, 9, 10, 11, 12, 16, 19, 20, 22, 29})
    EXPECT_TRUE(IsWesternLanguage(primary)) << primary;
  for (int primary : {1, 5, 8, 13, 17, 21, 25, 31})
    EXPECT_FALSE(IsWesternLanguage(primary)) << primary;
}

}  // namespace
}  // namespace lx::lang

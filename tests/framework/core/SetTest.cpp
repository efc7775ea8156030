#include <gtest/gtest.h>

#include "framework/core/Set.h"

namespace lx::framework {
namespace {

enum TSample : std::uint8_t { saA, saB, saC, saFar = 40 };
using TSamples = TSet<TSample, std::uint8_t>;

TEST(SetTest, OperatorsFollowTheClassicSetAlgebra) {
  const TSamples ab{saA, saB};
  const TSamples bc{saB, saC};
  EXPECT_EQ((ab + bc).ToMask(), 0b111);
  EXPECT_EQ((ab - bc).ToMask(), 0b001);
  EXPECT_EQ((ab * bc).ToMask(), 0b010);
  EXPECT_TRUE(TSamples{}.Empty());
  EXPECT_EQ(TSamples::FromMask(0b101), (TSamples{saA, saC}));
  TSamples s;
  s.Include(saC).Include(saC).Exclude(saA);
  EXPECT_EQ(s.ToMask(), 0b100);
  EXPECT_TRUE(s.Contains(saC));
  EXPECT_FALSE(s.Contains(saB));
}

TEST(SetTest, ValuesBeyondTheMaskHaveNoBit) {
  TSamples s{saFar};
  EXPECT_TRUE(s.Empty());
  EXPECT_FALSE(s.Contains(saFar));
  EXPECT_EQ(sizeof(TSamples), 1u);
}

}  // namespace
}  // namespace lx::framework

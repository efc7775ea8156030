#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "framework/streaming/Extended.h"

namespace lx::framework {
namespace {

TEST(ExtendedTest, ValuesKeepTheirBitsThroughTheTenBytes) {
  // 1.0: the integer bit alone in the mantissa, the exponent at its bias.
  EXPECT_EQ(EncodeExtended(1.0L), (TExtendedBytes{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}));
  EXPECT_EQ(EncodeExtended(-2.0L), (TExtendedBytes{0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0}));
  const long double values[] = {0.1L,
                                -123456.789L,
                                std::numeric_limits<long double>::max(),
                                std::numeric_limits<long double>::min(),
                                std::numeric_limits<long double>::denorm_min() * 3,
                                static_cast<long double>(std::numeric_limits<double>::max())};
  for (long double value : values)
    EXPECT_EQ(DecodeExtended(EncodeExtended(value)), value);
  EXPECT_TRUE(std::signbit(DecodeExtended(EncodeExtended(-0.0L))));
  EXPECT_EQ(DecodeExtended(EncodeExtended(-HUGE_VALL)), -HUGE_VALL);
  EXPECT_TRUE(std::isnan(DecodeExtended(EncodeExtended(NAN))));
}

TEST(ExtendedTest, DoublesAreStoredAsTheDecimalTheyPrintAs) {
  EXPECT_EQ(ExtendedOfDouble(0.1), 0.1L);
  EXPECT_EQ(static_cast<double>(ExtendedOfDouble(0.1)), 0.1);
  EXPECT_EQ(ExtendedOfDouble(2.5), 2.5L);
  for (double value : {1.0 / 3, 1e-310, -7.25e200})
    EXPECT_EQ(static_cast<double>(ExtendedOfDouble(value)), value);
}

}  // namespace
}  // namespace lx::framework

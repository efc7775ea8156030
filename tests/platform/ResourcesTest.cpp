#include <gtest/gtest.h>

#include <array>

#include "platform/Resources.h"

namespace lx::platform {
namespace {

TEST(ResourcesTest, FindsByTypeAndNameWithoutRegardToCase) {
  static constexpr std::array<std::uint8_t, 3> kBytes{1, 2, 3};
  RegisterResource("LXDICTIONARY", "PlDictionary", kBytes);
  const auto found = FindResource(MainModule(), "lxdictionary", "PLDICTIONARY");
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->size(), 3u);
  EXPECT_EQ((*found)[2], 3);
  EXPECT_FALSE(FindResource(MainModule(), RT_RCDATA, "PlDictionary").has_value());
  EXPECT_FALSE(FindResource(MainModule() + 1, "LXDICTIONARY", "PlDictionary").has_value());
  EXPECT_TRUE(UnregisterResource("LXDICTIONARY", "PlDictionary"));
  EXPECT_FALSE(UnregisterResource("LXDICTIONARY", "PlDictionary"));
  EXPECT_FALSE(FindResource(MainModule(), "LXDICTIONARY", "PlDictionary").has_value());
}

}  // namespace
}  // namespace lx::platform

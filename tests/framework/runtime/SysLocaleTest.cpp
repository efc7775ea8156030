#include <gtest/gtest.h>

#include "framework/runtime/SysLocale.h"
#include "platform/SystemLocale.h"
#include "support/FixedSystem.h"

namespace lx::framework {
namespace {

class SysLocaleTest : public ::testing::Test {
 protected:
  void TearDown() override { SysLocale() = saved_; }

  TSysLocale saved_ = SysLocale();
};

TEST_F(SysLocaleTest, StartUpTakesTheThreadLocaleAndTheSystemsMetrics) {
  const support::FixedSystem system;
  InitSysLocale();
  EXPECT_EQ(SysLocale().DefaultLCID, 0x0C07u);
  EXPECT_EQ(SysLocale().PriLangID, 7);
  EXPECT_EQ(SysLocale().SubLangID, 3);
  EXPECT_FALSE(SysLocale().FarEast);
  EXPECT_FALSE(SysLocale().MiddleEast);
  EXPECT_TRUE(SysLocale().LeadBytes.none());
}

TEST_F(SysLocaleTest, AFarEastSystemHasTheLeadBytesOfItsCodePage) {
  const support::FixedSystem system(platform::SystemDescriptionFor(0x0404));
  InitSysLocale();
  EXPECT_TRUE(SysLocale().FarEast);
  EXPECT_EQ(SysLocale().PriLangID, 4);
  EXPECT_TRUE(SysLocale().LeadBytes.test(0x81));
  EXPECT_TRUE(SysLocale().LeadBytes.test(0xFE));
  EXPECT_FALSE(SysLocale().LeadBytes.test(0x80));
}

TEST_F(SysLocaleTest, AHebrewSystemIsMiddleEast) {
  const support::FixedSystem system(platform::SystemDescriptionFor(0x040D));
  InitSysLocale();
  EXPECT_TRUE(SysLocale().MiddleEast);
  EXPECT_FALSE(SysLocale().FarEast);
}

}  // namespace
}  // namespace lx::framework

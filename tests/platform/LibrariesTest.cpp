#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Libraries.h"
#include "platform/Paths.h"

namespace lx::platform {
namespace {

// The test build puts the help-engine stand-in "hhctrl.ocx" beside the test programs.
using HtmlHelpFunc = std::uintptr_t (*)(std::uintptr_t, const char*, unsigned, std::uintptr_t);
using CallCountFunc = int (*)();

std::string HelpEnginePath() {
  return ExtractFilePath(ExecutablePath(), kNativePathStyle) + "hhctrl.ocx";
}

TEST(LibrariesTest, LoadsByBareNameBesideTheExecutableAndCallsAnEntryPoint) {
  const HMODULE library = LoadLibrary("hhctrl.ocx");
  ASSERT_NE(library, 0u);
  EXPECT_NE(library, MainModule());
  const auto htmlHelp = reinterpret_cast<HtmlHelpFunc>(GetProcAddress(library, "HtmlHelpA"));
  const auto callCount =
      reinterpret_cast<CallCountFunc>(GetProcAddress(library, "HelpStubCallCount"));
  ASSERT_NE(htmlHelp, nullptr);
  ASSERT_NE(callCount, nullptr);
  const int before = callCount();
  EXPECT_EQ(htmlHelp(7, "probe.chm", 18, 0), 1u);
  EXPECT_EQ(callCount(), before + 1);
  EXPECT_EQ(GetProcAddress(library, "HtmlHelpW"), nullptr);
  EXPECT_EQ(GetProcAddress(library, ""), nullptr);
  EXPECT_TRUE(FreeLibrary(library));
}

TEST(LibrariesTest, CountsLoadsAndRefusesUnknownHandles) {
  const HMODULE first = LoadLibrary(HelpEnginePath());
  const HMODULE second = LoadLibrary("hhctrl.ocx");
  ASSERT_NE(first, 0u);
  EXPECT_EQ(second, first) << "one library, one handle";
  EXPECT_TRUE(FreeLibrary(first));
  EXPECT_NE(GetProcAddress(first, "HtmlHelpA"), nullptr) << "still loaded once";
  EXPECT_TRUE(FreeLibrary(first));
  EXPECT_EQ(GetProcAddress(first, "HtmlHelpA"), nullptr) << "freed handles are refused";
  EXPECT_FALSE(FreeLibrary(first));
  EXPECT_FALSE(FreeLibrary(0));
  EXPECT_EQ(GetProcAddress(MainModule(), "HtmlHelpA"), nullptr);
}

TEST(LibrariesTest, MissingLibrariesGiveNoHandle) {
  EXPECT_EQ(LoadLibrary("no-such-library.ocx"), 0u);
  EXPECT_EQ(LoadLibrary("/no/such/folder/hhctrl.ocx"), 0u);
  EXPECT_EQ(LoadLibrary(""), 0u);
  EXPECT_EQ(LoadLibrary(std::string("hhctrl.ocx\0x", 12)), 0u);
  EXPECT_EQ(LoadLibrary(ExecutablePath() + ".missing"), 0u);
}

}  // namespace
}  // namespace lx::platform

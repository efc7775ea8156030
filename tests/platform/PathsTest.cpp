#include <gtest/gtest.h>

#include "platform/Paths.h"

namespace lx::platform {
namespace {

constexpr PathStyle kWin = PathStyle::Windows;
constexpr PathStyle kPosix = PathStyle::Posix;

TEST(PathsTest, SplitsWindowsPathsAtBackslashAndDrive) {
  EXPECT_EQ(ExtractFileName("C:\\Tools\\Probe.exe", kWin), "Probe.exe");
  EXPECT_EQ(ExtractFilePath("C:\\Tools\\Probe.exe", kWin), "C:\\Tools\\");
  EXPECT_EQ(ExtractFileName("C:Probe.exe", kWin), "Probe.exe");
  EXPECT_EQ(ExtractFilePath("\\\\server\\tools\\Probe.exe", kWin), "\\\\server\\tools\\");
  EXPECT_EQ(ExtractFileName("/opt/a\\b", kPosix), "a\\b");
  EXPECT_EQ(ExtractFilePath("Probe.exe", kWin), "");
  EXPECT_FALSE(HasFolderPart("Probe.exe", kWin));
  EXPECT_TRUE(HasFolderPart("C:Probe.exe", kWin));
  EXPECT_TRUE(HasFolderPart("./probe", kPosix));
}

TEST(PathsTest, ExtensionBelongsToTheLastComponentOnly) {
  EXPECT_EQ(ExtractFileExt("C:\\a.exe\\Probe", kWin), "");
  EXPECT_EQ(ExtractFileExt("C:\\a.exe\\Probe.old.exe", kWin), ".exe");
  EXPECT_EQ(ChangeFileExt("C:\\a.exe\\Probe.exe", ".ini", kWin), "C:\\a.exe\\Probe.ini");
  EXPECT_EQ(ChangeFileExt("Probe.old.exe", "", kWin), "Probe.old");
  EXPECT_EQ(ChangeFileExt("/opt/x.d/probe", ".ini", kPosix), "/opt/x.d/probe.ini");
  // A leading dot starts a POSIX name; on Windows it starts the extension.
  EXPECT_EQ(ChangeFileExt("/home/u/.probe", ".ini", kPosix), "/home/u/.probe.ini");
  EXPECT_EQ(ChangeFileExt("C:\\u\\.probe", ".ini", kWin), "C:\\u\\.ini");
}

TEST(PathsTest, ComparesCaseByStyle) {
  EXPECT_TRUE(SamePathText("C:\\DATA", "c:\\data", kWin));
  EXPECT_FALSE(SamePathText("/Data", "/data", kPosix));
  EXPECT_EQ(IncludeTrailingSeparator("C:\\DATA", kWin), "C:\\DATA\\");
  EXPECT_EQ(IncludeTrailingSeparator("/data/", kPosix), "/data/");
  EXPECT_EQ(IncludeTrailingSeparator("", kPosix), "/");
}

}  // namespace
}  // namespace lx::platform

#include <gtest/gtest.h>

#include "framework/runtime/WinHelpViewer.h"

namespace lx::framework {
namespace {

// Answers from a fixed verdict and remembers what it was asked.
class TRecordingTester : public IWinHelpTester {
 public:
  bool CanShowALink(const std::string& aLink, const std::string& file) override {
    return Ask("alink " + aLink + " " + file);
  }
  bool CanShowTopic(const std::string& topic, const std::string& file) override {
    return Ask("topic " + topic + " " + file);
  }
  bool CanShowContext(int context, const std::string& file) override {
    return Ask("context " + std::to_string(context) + " " + file);
  }
  std::unique_ptr<TStringList> GetHelpStrings(const std::string& aLink) override {
    auto strings = std::make_unique<TStringList>();
    strings->Add("tester:" + aLink);
    return strings;
  }
  std::string GetHelpPath() override { return ""; }
  std::string GetDefaultHelpFile() override { return ""; }

  bool verdict = false;
  std::vector<std::string> asked;

 private:
  bool Ask(const std::string& question) {
    asked.push_back(question);
    return verdict;
  }
};

class TFixedManager : public IHelpManager {
 public:
  platform::HWND GetHandle() override { return 42; }
  std::string GetHelpFile() override { return "app.chm"; }
  void Release(int) override {}
};

TEST(WinHelpViewerTest, TheTesterDecidesFromTheCurrentHelpFile) {
  TFixedManager manager;
  TWinHelpViewer viewer;
  viewer.SetManager(&manager);
  EXPECT_EQ(viewer.UnderstandsKeyword("Open"), 1);
  EXPECT_EQ(viewer.GetHelpStrings("Open")->Strings(0), "Open");

  auto tester = std::make_shared<TRecordingTester>();
  SetWinHelpTester(tester);
  EXPECT_EQ(viewer.UnderstandsKeyword("Open"), 0);
  EXPECT_FALSE(viewer.UnderstandsTopic("intro"));
  EXPECT_FALSE(viewer.UnderstandsContext(5, "other.hlp"));
  EXPECT_FALSE(viewer.CanShowTableOfContents());
  EXPECT_EQ(viewer.GetHelpStrings("Open")->Strings(0), "tester:Open");
  EXPECT_EQ(tester->asked, (std::vector<std::string>{"alink Open app.chm", "topic intro app.chm",
                                                     "context 5 other.hlp", "topic  app.chm"}));
  tester->verdict = true;
  EXPECT_EQ(viewer.UnderstandsKeyword("Open"), 1);
  SetWinHelpTester(nullptr);
  EXPECT_EQ(WinHelpTester(), nullptr);
}

TEST(WinHelpViewerTest, ShutDownQuitsTheEngineOnce) {
  int quits = 0;
  const TWinHelpEngine previous = SetWinHelpEngine([&quits](const TWinHelpCall& call) {
    quits += call.command == HELP_QUIT ? 1 : 0;
    EXPECT_EQ(call.window, 42u);
    return true;
  });
  TFixedManager manager;
  TWinHelpViewer viewer;
  viewer.SetManager(&manager);
  viewer.ShutDown();
  viewer.ShutDown();
  SetWinHelpEngine(previous);
  EXPECT_EQ(quits, 1);
  EXPECT_EQ(viewer.Manager(), nullptr);
}

}  // namespace
}  // namespace lx::framework

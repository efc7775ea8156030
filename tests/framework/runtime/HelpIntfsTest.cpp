#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/runtime/Application.h"
#include "framework/runtime/HelpIntfs.h"
#include "framework/runtime/WinHelpViewer.h"

namespace lx::framework {
namespace {

// A viewer that takes the files of one extension, as a compiled-HTML viewer does, and tells
// what it was asked.
class TFakeViewer : public IExtendedHelpViewer {
 public:
  explicit TFakeViewer(std::string extension) : extension_(std::move(extension)) {}

  std::string GetViewerName() override { return "Fake"; }
  int UnderstandsKeyword(const std::string&) override { return Takes() ? 1 : 0; }
  std::unique_ptr<TStringList> GetHelpStrings(const std::string& helpString) override {
    auto strings = std::make_unique<TStringList>();
    strings->Add(helpString);
    return strings;
  }
  bool CanShowTableOfContents() override { return Takes(); }
  void ShowTableOfContents() override { Log("toc"); }
  void ShowHelp(const std::string& helpString) override { Log("keyword " + helpString); }
  void NotifyID(int viewerID) override { id = viewerID; }
  void SoftShutDown() override { Log("soft"); }
  void ShutDown() override {
    Log("shutdown");
    manager = nullptr;
  }
  bool UnderstandsTopic(const std::string&) override { return Takes(); }
  void DisplayTopic(const std::string& topic) override { Log("topic " + topic); }
  bool UnderstandsContext(int, const std::string& file) override {
    return file.ends_with(extension_);
  }
  void DisplayHelpByContext(int contextID, const std::string& file) override {
    Log("context " + std::to_string(contextID) + " " + file);
  }

  int id = -1;
  IHelpManager* manager = nullptr;
  std::vector<std::string> log;
  platform::HWND window = 0;

 private:
  bool Takes() const { return manager != nullptr && manager->GetHelpFile().ends_with(extension_); }
  void Log(const std::string& entry) {
    log.push_back(entry + " in " + manager->GetHelpFile());
    window = manager->GetHandle();
  }

  std::string extension_;
};

// Lets the classic viewer take ".hlp" files only.
class THlpOnly : public IWinHelpTester {
 public:
  bool CanShowALink(const std::string&, const std::string& file) override { return Hlp(file); }
  bool CanShowTopic(const std::string&, const std::string& file) override { return Hlp(file); }
  bool CanShowContext(int, const std::string& file) override { return Hlp(file); }
  std::unique_ptr<TStringList> GetHelpStrings(const std::string&) override {
    return std::make_unique<TStringList>();
  }
  std::string GetHelpPath() override { return ""; }
  std::string GetDefaultHelpFile() override { return ""; }

 private:
  static bool Hlp(const std::string& file) { return file.ends_with(".hlp"); }
};

class HelpIntfsTest : public ::testing::Test {
 protected:
  HelpIntfsTest() {
    DoneHelpManager();
    previousEngine_ = SetWinHelpEngine([this](const TWinHelpCall& call) {
      classic.push_back(call);
      return true;
    });
  }
  ~HelpIntfsTest() override {
    SetWinHelpTester(nullptr);
    DoneHelpManager();
    SetWinHelpEngine(previousEngine_);
    DoneApplication();
  }

  std::shared_ptr<TFakeViewer> RegisterFake(const std::string& extension) {
    auto viewer = std::make_shared<TFakeViewer>(extension);
    viewer->manager = RegisterViewer(viewer);
    return viewer;
  }

  template <typename F>
  static void ExpectHelpError(F&& request, const std::string& message) {
    try {
      request();
      FAIL() << "no error";
    } catch (const EHelpSystemException& e) {
      EXPECT_EQ(e.Message(), message);
    }
  }

  std::vector<TWinHelpCall> classic;

 private:
  TWinHelpEngine previousEngine_;
};

TEST_F(HelpIntfsTest, ViewersAreNumberedInOrderAfterTheClassicOne) {
  EXPECT_EQ(HelpManager().ViewerCount(), 1);
  EXPECT_EQ(HelpManager().Viewers(0)->GetViewerName(), "WinHelp");
  auto first = RegisterFake(".chm");
  auto second = RegisterFake(".txt");
  EXPECT_EQ(first->id, 1);
  EXPECT_EQ(second->id, 2);
  EXPECT_EQ(first->manager, &HelpManager());

  HelpManager().Release(first->id);
  EXPECT_EQ(HelpManager().ViewerCount(), 2);
  EXPECT_EQ(first.use_count(), 1);
}

TEST_F(HelpIntfsTest, WithoutATesterTheClassicViewerTakesEveryFile) {
  auto html = RegisterFake(".chm");
  Application().SetHelpFile("probe.chm");
  EXPECT_TRUE(Application().HelpKeyword("Open"));
  ASSERT_EQ(classic.size(), 1u);
  EXPECT_EQ(classic[0].command, HELP_KEY);
  EXPECT_EQ(classic[0].text, "Open");
  EXPECT_EQ(classic[0].file, "probe.chm");
  EXPECT_EQ(classic[0].window, Application().Handle());
  EXPECT_TRUE(html->log.empty());
}

TEST_F(HelpIntfsTest, RequestsGoToTheViewersThatTakeThem) {
  auto html = RegisterFake(".chm");
  SetWinHelpTester(std::make_shared<THlpOnly>());
  Application().SetHelpFile("probe.chm");
  Application().HelpKeyword("Open");
  Application().HelpJump("intro.htm");
  Application().HelpContext(12);
  Application().HelpShowTableOfContents();
  EXPECT_EQ(html->log,
            (std::vector<std::string>{"keyword Open in probe.chm", "topic intro.htm in probe.chm",
                                      "context 12 probe.chm in probe.chm", "toc in probe.chm"}));
  EXPECT_EQ(html->window, Application().Handle());
  EXPECT_TRUE(classic.empty());

  Application().SetHelpFile("probe.hlp");
  Application().HelpContext(7);
  Application().HelpJump("intro");
  Application().HelpShowTableOfContents();
  ASSERT_EQ(classic.size(), 3u);
  EXPECT_EQ(classic[0].command, HELP_CONTEXT);
  EXPECT_EQ(classic[0].data, 7u);
  EXPECT_EQ(classic[0].file, "probe.hlp");
  EXPECT_EQ(classic[1].command, HELP_COMMAND);
  EXPECT_EQ(classic[1].text, "JumpID(\"\",\"intro\")");
  EXPECT_EQ(classic[2].command, HELP_FINDER);
  EXPECT_EQ(html->log.size(), 4u);
}

TEST_F(HelpIntfsTest, RequestsNobodyTakesRaise) {
  SetWinHelpTester(std::make_shared<THlpOnly>());
  Application().SetHelpFile("manual.pdf");
  ExpectHelpError([] { Application().HelpKeyword("Open"); }, "No help found for Open");
  ExpectHelpError([] { Application().HelpJump("intro"); }, "No help found for intro");
  ExpectHelpError([] { Application().HelpContext(3); }, "No help found for context");
  ExpectHelpError([] { Application().HelpShowTableOfContents(); },
                  "Unable to find a Table of Contents");
  EXPECT_EQ(HelpManager().GetHelpFile(), "manual.pdf");
}

// A viewer of keywords only, without the extended operations.
class TKeywordViewer : public ICustomHelpViewer {
 public:
  std::string GetViewerName() override { return "Keywords"; }
  int UnderstandsKeyword(const std::string&) override { return 1; }
  std::unique_ptr<TStringList> GetHelpStrings(const std::string&) override {
    return std::make_unique<TStringList>();
  }
  bool CanShowTableOfContents() override { return false; }
  void ShowTableOfContents() override {}
  void ShowHelp(const std::string& keyword) override { shown = keyword; }
  void NotifyID(int) override {}
  void SoftShutDown() override {}
  void ShutDown() override {}

  std::string shown;
};

TEST_F(HelpIntfsTest, TopicsAndContextsNeedAnExtendedViewer) {
  HelpManager().Release(0);
  auto viewer = std::make_shared<TKeywordViewer>();
  RegisterViewer(viewer);
  Application().HelpKeyword("Print");
  EXPECT_EQ(viewer->shown, "Print");
  ExpectHelpError([] { Application().HelpContext(3); }, "No context-sensitive help installed");
  ExpectHelpError([] { Application().HelpJump("x"); }, "No topic-based help system installed");
}

TEST_F(HelpIntfsTest, ShuttingDownTellsEveryViewer) {
  auto html = RegisterFake(".chm");
  Application().SetHelpFile("probe.chm");
  Application().HelpKeyword("a");
  HelpManager().SoftShutDown();
  EXPECT_EQ(html->log.back(), "soft in probe.chm");
  DoneHelpManager();
  EXPECT_EQ(html->log.back(), "shutdown in probe.chm");
  EXPECT_EQ(html->manager, nullptr);
  EXPECT_EQ(html.use_count(), 1);
  ASSERT_FALSE(classic.empty());
  EXPECT_EQ(classic.back().command, HELP_QUIT);
}

}  // namespace
}  // namespace lx::framework

#include <gtest/gtest.h>

#include <fstream>

#include "frame/lbHelp.h"
#include "framework/runtime/Application.h"
#include "framework/runtime/HelpIntfs.h"
#include "framework/runtime/WinHelpViewer.h"
#include "platform/Libraries.h"
#include "support/TempFolder.h"

namespace lx::frame {
namespace {

// The help-engine stand-in "hhctrl.ocx" that the tests build beside themselves; it records
// the calls it receives.
class HelpEngineRecord {
 public:
  HelpEngineRecord() : library_(platform::LoadLibrary("hhctrl.ocx")) {
    Function<void (*)()>("HelpStubReset")();
  }
  ~HelpEngineRecord() {
    Function<void (*)()>("HelpStubReset")();
    platform::FreeLibrary(library_);
  }
  HelpEngineRecord(const HelpEngineRecord&) = delete;
  HelpEngineRecord& operator=(const HelpEngineRecord&) = delete;

  int Count() const { return Function<int (*)()>("HelpStubCallCount")(); }
  int Command(int i) const { return Function<int (*)(int)>("HelpStubCommandAt")(i); }
  std::string File(int i) const { return Function<const char* (*)(int)>("HelpStubFileAt")(i); }
  platform::HWND Window(int i) const {
    return Function<std::uintptr_t (*)(int)>("HelpStubWindowAt")(i);
  }
  std::uintptr_t Data(int i) const {
    return Function<std::uintptr_t (*)(int)>("HelpStubDataAt")(i);
  }
  std::string Keywords(int i) const {
    return Function<const char* (*)(int)>("HelpStubKeywordsAt")(i);
  }
  int LinkSize(int i) const { return Function<int (*)(int)>("HelpStubLinkSizeAt")(i); }
  int IndexOnFail(int i) const { return Function<int (*)(int)>("HelpStubIndexOnFailAt")(i); }
  bool LinkRestEmpty(int i) const {
    return Function<int (*)(int)>("HelpStubLinkRestEmptyAt")(i) != 0;
  }
  void QueueAnswer(platform::HWND window) const {
    Function<void (*)(std::uintptr_t)>("HelpStubQueueAnswer")(window);
  }

 private:
  template <typename F>
  F Function(const char* name) const {
    return reinterpret_cast<F>(platform::GetProcAddress(library_, name));
  }

  platform::HMODULE library_;
};

class lbHelpTest : public ::testing::Test {
 protected:
  lbHelpTest() {
    framework::Application().SetExeName(executable_);
    framework::Application().SetTitle("Probe");
  }
  ~lbHelpTest() override {
    FinalizeHelp();
    framework::DoneHelpManager();
    framework::DoneApplication();
    framework::SetWinHelpTester(nullptr);
  }

  void Touch(const std::string& name) { std::ofstream(temp_.Text() + name) << "help"; }
  std::string Path(const std::string& name) const { return temp_.Text() + name; }

  // Starts with probe.chm, so that the viewer is there, and gives it the current file `file`.
  THTMLHelpViewer& ViewerOn(const std::string& file) {
    Touch("probe.chm");
    InitializeHelp();
    framework::HelpManager().SetHelpFile(file);
    framework::HelpManager().SetHandle(77);
    return *HtmlHelpViewer();
  }

  HelpEngineRecord engine_;
  support::TempFolder temp_;
  std::string executable_ = temp_.Text() + "probe";
};

TEST_F(lbHelpTest, FindsTheLanguageFileFirstAndCompiledHtmlBeforeClassic) {
  const std::string dictionary = Path("probe.pld");
  EXPECT_EQ(FindHelpFile(dictionary, "English").fileName, "");
  EXPECT_FALSE(FindHelpFile(dictionary, "English").compiledHtml);
  const std::vector<std::pair<std::string, bool>> candidates = {{"probe.hlp", false},
                                                                {"probe.chm", true},
                                                                {"probe_English.hlp", false},
                                                                {"probe_English.chm", true}};
  for (const auto& [name, compiled] : candidates) {
    Touch(name);
    const THelpFileChoice choice = FindHelpFile(dictionary, "English");
    EXPECT_EQ(choice.fileName, Path(name));
    EXPECT_EQ(choice.compiledHtml, compiled) << name;
  }
  EXPECT_EQ(FindHelpFile(dictionary, "").fileName, Path("probe.chm"));
  EXPECT_EQ(FindHelpFile(dictionary, "Spanish").fileName, Path("probe.chm"));
}

TEST_F(lbHelpTest, FallsBackFromTheDictionaryFolderToTheExecutables) {
  support::TempFolder other;
  Touch("probe_German.hlp");
  SelectHelpFile(other.Text() + "probe.pld", "German");
  EXPECT_EQ(framework::Application().HelpFile(), Path("probe_German.hlp"));
  SelectHelpFile(other.Text() + "probe.pld", "French");
  EXPECT_EQ(framework::Application().HelpFile(), "");
}

TEST_F(lbHelpTest, StartsWithTheCompiledHtmlFileAndRegistersTheViewer) {
  Touch("probe.chm");
  Touch("probe.hlp");
  InitializeHelp();
  EXPECT_EQ(framework::Application().HelpFile(), Path("probe.chm"));
  ASSERT_NE(HtmlHelpEntryPoint(), nullptr);
  ASSERT_NE(HtmlHelpViewer(), nullptr);
  EXPECT_EQ(framework::HelpManager().ViewerCount(), 2);
  EXPECT_EQ(framework::HelpManager().Viewers(1), HtmlHelpViewer().get());
  EXPECT_EQ(HtmlHelpViewer()->ViewerID(), 1);
  EXPECT_EQ(HtmlHelpViewer()->HelpManager(), &framework::HelpManager());
  EXPECT_NE(framework::WinHelpTester(), nullptr);
}

TEST_F(lbHelpTest, AClassicFileLoadsNoEngine) {
  Touch("probe.hlp");
  InitializeHelp();
  EXPECT_EQ(framework::Application().HelpFile(), Path("probe.hlp"));
  EXPECT_EQ(HtmlHelpEntryPoint(), nullptr);
  EXPECT_EQ(HtmlHelpViewer(), nullptr);
  EXPECT_EQ(framework::WinHelpTester(), nullptr);
}

TEST_F(lbHelpTest, TheViewerStaysAndDeclinesOnceAClassicFileIsSelected) {
  Touch("probe.chm");
  Touch("probe_Spanish.hlp");
  InitializeHelp();
  SelectHelpFile(Path("probe.pld"), "Spanish");
  EXPECT_EQ(framework::Application().HelpFile(), Path("probe_Spanish.hlp"));
  ASSERT_NE(HtmlHelpViewer(), nullptr);
  framework::HelpManager().SetHelpFile(framework::Application().HelpFile());
  EXPECT_EQ(HtmlHelpViewer()->UnderstandsKeyword("index"), 0);
  EXPECT_TRUE(HtmlHelpViewer()->GetHelpStrings("index")->Count() == 0);
  EXPECT_FALSE(HtmlHelpViewer()->CanShowTableOfContents());
  EXPECT_FALSE(HtmlHelpViewer()->UnderstandsTopic("intro.htm"));
  EXPECT_FALSE(HtmlHelpViewer()->UnderstandsContext(1, Path("probe_Spanish.hlp")));
}

TEST_F(lbHelpTest, TheViewerAnswersForACompiledHtmlFile) {
  THTMLHelpViewer& viewer = ViewerOn(Path("PROBE.CHM"));
  EXPECT_EQ(viewer.GetViewerName(), "Help Viewer Probe");
  EXPECT_TRUE(IsHtmlHelpFile(viewer));
  EXPECT_EQ(viewer.UnderstandsKeyword("index"), 1);
  const auto strings = viewer.GetHelpStrings("index");
  ASSERT_EQ(strings->Count(), 1);
  EXPECT_EQ(strings->Strings(0), "index");
  EXPECT_TRUE(viewer.CanShowTableOfContents());
  EXPECT_TRUE(viewer.UnderstandsTopic("intro.htm"));
  EXPECT_TRUE(viewer.UnderstandsContext(3, "any.hlp"));
}

TEST_F(lbHelpTest, LooksUpAKeywordWithTheLinkRecord) {
  THTMLHelpViewer& viewer = ViewerOn(Path("probe.chm"));
  viewer.ShowHelp("Locale");
  ASSERT_EQ(engine_.Count(), 1);
  EXPECT_EQ(engine_.Command(0), HH_KEYWORD_LOOKUP);
  EXPECT_EQ(engine_.Window(0), 77u);
  EXPECT_EQ(engine_.File(0), Path("probe.chm"));
  EXPECT_EQ(engine_.Keywords(0), "Locale");
  EXPECT_EQ(engine_.LinkSize(0), 32);
  EXPECT_EQ(engine_.IndexOnFail(0), -1);
  EXPECT_TRUE(engine_.LinkRestEmpty(0));
}

TEST_F(lbHelpTest, DisplaysATopicAfterTheFile) {
  THTMLHelpViewer& viewer = ViewerOn(Path("probe.chm"));
  viewer.DisplayTopic("/intro.htm");
  viewer.DisplayTopic("intro.htm");
  viewer.DisplayTopic("");
  ASSERT_EQ(engine_.Count(), 3);
  EXPECT_EQ(engine_.Command(0), HH_DISPLAY_TOPIC);
  EXPECT_EQ(engine_.File(0), Path("probe.chm") + "::/intro.htm");
  EXPECT_EQ(engine_.File(1), Path("probe.chm") + "::/intro.htm");
  EXPECT_EQ(engine_.File(2), Path("probe.chm"));
  EXPECT_EQ(engine_.Window(2), 77u);
}

TEST_F(lbHelpTest, ShowsTheContentsOnTheApplicationWhenTheManagerWindowIsRefused) {
  THTMLHelpViewer& viewer = ViewerOn(Path("probe.chm"));
  framework::Application().SetHelpFile(Path("own.chm"));
  viewer.ShowTableOfContents();
  ASSERT_EQ(engine_.Count(), 1);
  EXPECT_EQ(engine_.Command(0), HH_DISPLAY_TOC);
  EXPECT_EQ(engine_.Window(0), 77u);
  engine_.QueueAnswer(0);
  viewer.ShowTableOfContents();
  ASSERT_EQ(engine_.Count(), 3);
  EXPECT_EQ(engine_.Command(2), HH_DISPLAY_TOC);
  EXPECT_EQ(engine_.Window(2), framework::Application().Handle());
  EXPECT_EQ(engine_.File(2), Path("own.chm"));
  EXPECT_EQ(engine_.Data(2), 0u);
}

TEST_F(lbHelpTest, ShowsTheContentsWhenAContextIsRefused) {
  THTMLHelpViewer& viewer = ViewerOn(Path("probe.chm"));
  viewer.DisplayHelpByContext(42, Path("other.chm"));
  ASSERT_EQ(engine_.Count(), 1);
  EXPECT_EQ(engine_.Command(0), HH_HELP_CONTEXT);
  EXPECT_EQ(engine_.File(0), Path("other.chm"));
  EXPECT_EQ(engine_.Data(0), 42u);
  engine_.QueueAnswer(0);
  viewer.DisplayHelpByContext(43, Path("other.chm"));
  ASSERT_EQ(engine_.Count(), 3);
  EXPECT_EQ(engine_.Command(2), HH_DISPLAY_TOC);
  EXPECT_EQ(engine_.File(2), Path("probe.chm"));
}

TEST_F(lbHelpTest, ShutsDownOnlyWhileTheEngineIsLoaded) {
  THTMLHelpViewer& viewer = ViewerOn(Path("probe.chm"));
  viewer.SoftShutDown();
  ASSERT_EQ(engine_.Count(), 1);
  EXPECT_EQ(engine_.Command(0), HH_CLOSE_ALL);
  EXPECT_EQ(engine_.Window(0), 0u);
  EXPECT_EQ(engine_.File(0), "");
  EXPECT_NE(viewer.HelpManager(), nullptr);
  viewer.ShutDown();
  EXPECT_EQ(engine_.Count(), 2);
  EXPECT_EQ(viewer.HelpManager(), nullptr);
  UnloadHtmlHelp();
  EXPECT_EQ(HtmlHelpEntryPoint(), nullptr);
  viewer.SoftShutDown();
  viewer.ShutDown();
  EXPECT_EQ(engine_.Count(), 2);
  EXPECT_FALSE(IsHtmlHelpFile(viewer));
}

TEST_F(lbHelpTest, TheApplicationsHelpReachesTheEngine) {
  Touch("probe.chm");
  InitializeHelp();
  EXPECT_TRUE(framework::Application().HelpKeyword("Locale"));
  ASSERT_EQ(engine_.Count(), 1);
  EXPECT_EQ(engine_.Command(0), HH_KEYWORD_LOOKUP);
  EXPECT_EQ(engine_.File(0), Path("probe.chm"));
}

TEST(TWinHelpMakeBehaveTest, TakesClassicHelpFilesOnly) {
  TWinHelpMakeBehave tester;
  for (const char* file : {"MANUAL.HLP", "c:\\help\\manual.hlp", "manual.Hlp"}) {
    EXPECT_TRUE(tester.CanShowALink("index", file)) << file;
    EXPECT_TRUE(tester.CanShowTopic("intro", file)) << file;
    EXPECT_TRUE(tester.CanShowContext(1, file)) << file;
  }
  for (const char* file : {"manual.chm", "manual", "", "manual.hlp.chm", "hlp"}) {
    EXPECT_FALSE(tester.CanShowALink("index", file)) << file;
    EXPECT_FALSE(tester.CanShowTopic("intro", file)) << file;
    EXPECT_FALSE(tester.CanShowContext(1, file)) << file;
  }
  EXPECT_EQ(tester.GetHelpStrings("index")->Count(), 0);
  EXPECT_EQ(tester.GetHelpPath(), "");
  EXPECT_EQ(tester.GetDefaultHelpFile(), "");
}

}  // namespace
}  // namespace lx::frame

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "framework/controls/Dialogs.h"
#include "framework/controls/StdCtrls.h"
#include "framework/rtti/Published.h"
#include "framework/runtime/Application.h"
#include "framework/runtime/MessageLoop.h"
#include "samples/SampleForms.h"
#include "support/Raised.h"

namespace lx::framework {
namespace {

class TFailingForm : public TForm {
  LX_CLASS(TFailingForm, TForm)

 public:
  explicit TFailingForm(TComponent* owner) : TForm(owner) {
    OnCreate = [](TObject*) { throw EInvalidOperation("Cannot start"); };
  }
};

LX_PUBLISHED(TFailingForm)

class ApplicationTest : public ::testing::Test {
 protected:
  ApplicationTest() {
    previous_ = SetDialogSink([this](const TDialogRequest& request) {
      dialogs.push_back(request);
      return request.defaultResult;
    });
  }
  ~ApplicationTest() override {
    SetDialogSink(previous_);
    DoneApplication();
  }

  std::vector<TDialogRequest> dialogs;

 private:
  TDialogSink previous_;
};

TEST_F(ApplicationTest, TheFirstFormMadeIsTheMainForm) {
  TDataModule* module = nullptr;
  Application().CreateForm(module);
  EXPECT_EQ(Application().MainForm(), nullptr);
  TForm* first = nullptr;
  TForm* second = nullptr;
  Application().CreateForm(first);
  Application().CreateForm(second);
  EXPECT_EQ(Application().MainForm(), first);
  EXPECT_TRUE(first->HandleAllocated());
  EXPECT_EQ(second->Owner(), &Application());
  EXPECT_EQ(module->Owner(), &Application());

  delete first;
  EXPECT_EQ(Application().MainForm(), nullptr);
}

TEST_F(ApplicationTest, AFormThatFailsToStartIsFreed) {
  const int forms = Screen().FormCount();
  std::vector<TComponent*> handed;
  try {
    Application().CreateForm(TFailingForm::StaticClassInfo(),
                             [&handed](TComponent* form) { handed.push_back(form); });
    FAIL() << "no error";
  } catch (const EInvalidOperation& e) {
    EXPECT_STREQ(e.what(), "Cannot start");
  }
  ASSERT_EQ(handed.size(), 2u);
  EXPECT_NE(handed[0], nullptr);  // the reference is set before the form starts
  EXPECT_EQ(handed[1], nullptr);
  EXPECT_EQ(Screen().FormCount(), forms);
  EXPECT_EQ(Application().MainForm(), nullptr);
  EXPECT_RAISES(Application().CreateForm(TStrings::StaticClassInfo()), EAbstractError,
                "Cannot create an instance of TStrings");
}

TEST_F(ApplicationTest, FreeingTheApplicationFreesWhatItOwns) {
  std::vector<std::string> destroyed;
  TDataModule* module = nullptr;
  Application().CreateForm(module);
  module->OnDestroy = [&destroyed](TObject*) { destroyed.push_back("module"); };
  TForm* form = nullptr;
  Application().CreateForm(form);
  form->OnDestroy = [&destroyed](TObject*) { destroyed.push_back("form"); };
  form->Release();
  DoneApplication();
  EXPECT_EQ(destroyed, (std::vector<std::string>{"form", "module"}));
  EXPECT_EQ(ApplicationIfAny(), nullptr);
  EXPECT_EQ(Screen().DataModuleCount(), 0);
}

TEST_F(ApplicationTest, RunCarriesOutPostedWorkUntilTheMainFormCloses) {
  TForm* main = nullptr;
  Application().CreateForm(main);
  std::vector<int> done;
  Application().Post([&] {
    done.push_back(1);
    Application().Post([&] { done.push_back(3); });
  });
  Application().Post([&] { done.push_back(2); });
  Application().Post([&] { main->Close(); });
  Application().Post([&] { done.push_back(4); });
  Application().Run();
  EXPECT_TRUE(main->Visible());
  EXPECT_TRUE(Application().Terminated());
  EXPECT_EQ(done, (std::vector<int>{1, 2}));
  Application().Run();
  EXPECT_EQ(done.size(), 2u);
}

TEST_F(ApplicationTest, RunEndsWhenNoFormIsShowing) {
  TForm* main = nullptr;
  Application().CreateForm(main);
  Application().SetShowMainForm(false);
  int runs = 0;
  Application().Post([&] { ++runs; });
  Application().Post([&] { ++runs; });
  Application().Run();
  EXPECT_EQ(runs, 2);  // what was posted before is carried out once
  EXPECT_FALSE(Application().Terminated());
  Application().Post([&] { main->Show(); });
  Application().Post([&] { Application().Post([&] { ++runs; }); });
  Application().Run();
  EXPECT_EQ(runs, 3);
}

TEST_F(ApplicationTest, ExceptionsGoToTheHandlerSlot) {
  EXPECT_FALSE(Application().OnException);
  Application().SetExeName("/opt/tools/Probe.old.exe");
  Application().Post([] { throw platform::ERangeError("Out of range"); });
  Application().Post([] { throw std::runtime_error("Plain failure"); });
  Application().ProcessMessages();
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_EQ(dialogs[0].kind, TDialogRequest::TKind::MessageBox);
  EXPECT_EQ(dialogs[0].text, "Out of range.");
  EXPECT_EQ(dialogs[0].caption, "Probe.old");
  EXPECT_EQ(dialogs[0].flags, MB_OK | MB_ICONSTOP);
  EXPECT_EQ(dialogs[1].text, "Plain failure.");

  TObject* sender = nullptr;
  std::string message;
  Application().OnException = [&](TObject* from, platform::Exception& e) {
    sender = from;
    message = e.Message();
  };
  Application().Post([] { throw platform::EConvertError("Bad value"); });
  Application().ProcessMessages();
  EXPECT_EQ(sender, &Application());
  EXPECT_EQ(message, "Bad value");
  EXPECT_EQ(dialogs.size(), 2u);
}

TEST_F(ApplicationTest, AFullStopIsAddedOnlyAfterCharactersBeyondIt) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"Done?", "Done?."}, {"Stop!", "Stop!"}, {"End.", "End."}, {"", ""}, {"caf\xE9", "caf\xE9."}};
  for (const auto& [message, shown] : cases)
    Application().ShowException(platform::Exception(message));
  ASSERT_EQ(dialogs.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(dialogs[i].text, cases[i].second);
}

TEST_F(ApplicationTest, TheTitleComesFromTheExecutableUnlessSet) {
  Application().SetExeName("C:\\Tools\\Probe\\Probe.exe");
  EXPECT_EQ(Application().Title(), "Probe");
  Application().SetExeName("/usr/bin/probe");
  EXPECT_EQ(Application().Title(), "probe");
  Application().SetTitle("Lx Probe");
  EXPECT_EQ(Application().Title(), "Lx Probe");
  EXPECT_NE(Application().Handle(), 0u);
  EXPECT_FALSE(platform::IsWindowVisible(Application().Handle()));
}

TEST_F(ApplicationTest, TheReadingDirectionIsToldToEveryForm) {
  TForm* first = nullptr;
  TForm* own = nullptr;
  Application().CreateForm(first);
  Application().CreateForm(own);
  auto* edit = new TEdit(first);
  edit->SetParent(first);
  own->SetBiDiMode(bdLeftToRight);

  Application().SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(first->BiDiMode(), bdRightToLeft);
  EXPECT_EQ(edit->BiDiMode(), bdRightToLeft);
  EXPECT_EQ(own->BiDiMode(), bdLeftToRight);
  TForm* later = nullptr;
  Application().CreateForm(later);
  EXPECT_EQ(later->BiDiMode(), bdRightToLeft);

  Application().SetBiDiMode(bdLeftToRight);
  EXPECT_EQ(edit->BiDiMode(), bdLeftToRight);
}

TEST_F(ApplicationTest, FormsAndDataModulesComeFromTheirFormResources) {
  support::RegisterSampleForms();
  support::TSampleModule* module = nullptr;
  Application().CreateForm(module);
  EXPECT_EQ(module->Name(), "SampleModule");
  ASSERT_NE(module->Popup2, nullptr);
  EXPECT_EQ(module->Popup2->Items()->Items(0)->Caption(), "&One");
  EXPECT_EQ(Screen().DataModules(Screen().DataModuleCount() - 1), module);
  EXPECT_EQ(Application().MainForm(), nullptr);

  // A class of its own needs its resource; the plain classes start empty.
  std::vector<TComponent*> handed;
  try {
    Application().CreateForm(support::TNoResourceForm::StaticClassInfo(),
                             [&handed](TComponent* form) { handed.push_back(form); });
    FAIL() << "no error";
  } catch (const platform::EResNotFound& e) {
    EXPECT_STREQ(e.what(), "Resource TNoResourceForm not found");
  }
  EXPECT_EQ(handed.back(), nullptr);
  TForm* plain = nullptr;
  Application().CreateForm(plain);
  EXPECT_EQ(plain->ComponentCount(), 0);
  EXPECT_EQ(Application().MainForm(), plain);
}

// A loop that stands in for a toolkit's: each wait hands out the next scripted input.
class ScriptedLoop : public TMessageLoop {
 public:
  std::deque<std::function<void()>> input;
  int waits = 0;
  int wakes = 0;

  void HandleMessage() override {
    ++waits;
    if (input.empty()) return;
    std::function<void()> next = std::move(input.front());
    input.pop_front();
    next();
  }
  void Wake() override { ++wakes; }
};

class MessageLoopTest : public ApplicationTest {
 protected:
  MessageLoopTest() { previous_ = SetMessageLoop(&loop); }
  ~MessageLoopTest() override { SetMessageLoop(previous_); }

  ScriptedLoop loop;

 private:
  TMessageLoop* previous_ = nullptr;
};

TEST_F(MessageLoopTest, RunWaitsForInputUntilTheMainFormCloses) {
  TForm* main = nullptr;
  Application().CreateForm(main);
  int clicks = 0;
  loop.input = {[&] { ++clicks; }, [&] { ++clicks; }, [&] { main->Close(); }, [&] { ++clicks; }};
  Application().Run();
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(loop.waits, 3);
  EXPECT_TRUE(Application().Terminated());
  EXPECT_EQ(loop.input.size(), 1u);
}

TEST_F(MessageLoopTest, PostedActionsWakeTheLoopAndRunBeforeTheNextWait) {
  TForm* main = nullptr;
  Application().CreateForm(main);
  std::vector<std::string> order;
  loop.input = {[&] {
                  order.push_back("input");
                  Application().Post([&] { order.push_back("posted"); });
                },
                [&] {
                  order.push_back("close");
                  main->Hide();
                }};
  Application().Run();
  EXPECT_EQ(order, (std::vector<std::string>{"input", "posted", "close"}));
  EXPECT_EQ(loop.wakes, 1);
  EXPECT_FALSE(Application().Terminated());
}

TEST_F(MessageLoopTest, ShowModalWaitsInTheLoopAndHeadlessRunStillReturns) {
  Application().CreateForm(TForm::StaticClassInfo());
  TForm* dialog = nullptr;
  Application().CreateForm(dialog);
  loop.input = {[] {}, [&] { dialog->SetModalResult(mrRetry); }};
  EXPECT_EQ(dialog->ShowModal(), mrRetry);
  EXPECT_EQ(loop.waits, 2);

  // Closed, whatever its OnClose asks for, a modal form answers mrCancel at once.
  dialog->OnClose = [](TObject*, TCloseAction& action) { action = caMinimize; };
  loop.input = {[&] { dialog->Close(); }, [&] { dialog->SetModalResult(mrRetry); }};
  EXPECT_EQ(dialog->ShowModal(), mrCancel);
  EXPECT_EQ(loop.input.size(), 1u);

  SetMessageLoop(nullptr);
  Application().Run();  // headless: nothing posted, nothing to wait for
  EXPECT_EQ(loop.waits, 3);
  SetMessageLoop(&loop);
}

}  // namespace
}  // namespace lx::framework

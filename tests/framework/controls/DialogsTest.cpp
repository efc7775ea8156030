#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/controls/Dialogs.h"
#include "framework/runtime/Application.h"
#include "framework/runtime/FrameworkStrings.h"

namespace lx::framework {
namespace {

class DialogsTest : public ::testing::Test {
 protected:
  DialogsTest() {
    previous_ = SetDialogSink([this](const TDialogRequest& request) {
      seen.push_back(request);
      return request.defaultResult;
    });
  }
  ~DialogsTest() override {
    SetDialogSink(previous_);
    DoneApplication();
  }

  std::vector<TDialogRequest> seen;

 private:
  TDialogSink previous_;
};

TEST_F(DialogsTest, AMessageDialogIsCaptionedByItsType) {
  EXPECT_EQ(MessageDlg("Disk full", mtError, {mbOK}, 0), mrOk);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].kind, TDialogRequest::TKind::MessageDlg);
  EXPECT_EQ(seen[0].caption, "Error");
  EXPECT_EQ(seen[0].text, "Disk full");
  EXPECT_EQ(seen[0].dlgType, mtError);
  EXPECT_EQ(seen[0].buttons, TMsgDlgButtons{mbOK});

  MessageDlg("Sure?", mtConfirmation, {mbNo, mbYes}, 7);
  EXPECT_EQ(seen[1].caption, "Confirm");
  EXPECT_EQ(seen[1].defaultResult, mrYes);
  EXPECT_EQ(seen[1].helpContext, 7);
  EXPECT_EQ(MessageDlg("Again?", mtWarning, {mbAbort, mbRetry, mbIgnore}, 0), mrAbort);
  EXPECT_EQ(MessageDlg("Hi", mtInformation, {}, 0), mrOk);
  EXPECT_EQ(seen[3].caption, "Information");

  Application().SetTitle("Probe");
  MessageDlg("Own", mtCustom, {mbCancel}, 0);
  EXPECT_EQ(seen[4].caption, "Probe");
  EXPECT_EQ(seen[4].defaultResult, mrCancel);
}

std::string Spanish(const TResStringRec& record) {
  if (record.Identifier == SMsgDlgError.Identifier) return "Error grave";
  return DefaultLoadResString(record);
}

TEST_F(DialogsTest, CaptionsAreResourceStrings) {
  const TLoadResStringFunc previous = SetLoadResStringHook(Spanish);
  MessageDlg("x", mtError, {mbOK}, 0);
  SetLoadResStringHook(previous);
  EXPECT_EQ(seen[0].caption, "Error grave");
}

TEST_F(DialogsTest, AMessageBoxAnswersWithItsDefaultButton) {
  EXPECT_EQ(MessageBox("Save?", "Probe", MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
  EXPECT_EQ(MessageBox("Save?", "Probe", MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(MessageBox("Oops", "Probe", MB_OK | MB_DEFBUTTON3), IDOK);
  EXPECT_EQ(MessageBox("Retry?", "Probe", MB_RETRYCANCEL), IDRETRY);
  EXPECT_EQ(Application().MessageBox("Hi", "There", MB_OKCANCEL | MB_ICONQUESTION), IDOK);
  EXPECT_EQ(seen.back().caption, "There");
  EXPECT_EQ(seen.back().flags, MB_OKCANCEL | MB_ICONQUESTION);
}

TEST_F(DialogsTest, TheDefaultSinkWritesToStandardError) {
  SetDialogSink(nullptr);
  ::testing::internal::CaptureStderr();
  const int answer = MessageDlg("Disk full", mtError, {mbOK}, 0);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Error: Disk full\n");
  EXPECT_EQ(answer, mrOk);
}

}  // namespace
}  // namespace lx::framework

#include <gtest/gtest.h>

#include <vector>

#include "framework/controls/Dialogs.h"
#include "framework/runtime/Application.h"
#include "lang/LxDictionary.h"
#include "lang/LxExceptionHandler.h"
#include "support/FixedSystem.h"
#include "support/lang/LxMemoryDictionary.h"
#include "support/lang/LxProcessState.h"

namespace lx::lang {
namespace {

class LxExceptionHandlerTest : public ::testing::Test {
 protected:
  LxExceptionHandlerTest() {
    framework::DoneApplication();
    previous_ = framework::SetDialogSink([this](const framework::TDialogRequest& request) {
      dialogs.push_back(request);
      return request.defaultResult;
    });
  }
  ~LxExceptionHandlerTest() override {
    framework::SetDialogSink(previous_);
    framework::DoneApplication();
  }

  // Raises `message` and lets the application handle it.
  static void Fail(const std::string& message) {
    try {
      throw ELxPoly(message);
    } catch (...) {
      framework::Application().HandleException(nullptr);
    }
  }

  std::vector<framework::TDialogRequest> dialogs;
  framework::TDialogSink previous_;
  support::FixedSystem system_;
  support::TLxProcessState state_;
};

TEST_F(LxExceptionHandlerTest, MessagesEndInAFullStop) {
  EXPECT_EQ(ExceptionDialogText("File not found"), "File not found.");
  EXPECT_EQ(ExceptionDialogText("Really?"), "Really?.");
  EXPECT_EQ(ExceptionDialogText("Error 5"), "Error 5.");
  EXPECT_EQ(ExceptionDialogText("Gr\xF6\xDF"), "Gr\xF6\xDF.");
  EXPECT_EQ(ExceptionDialogText("Stop!"), "Stop!");
  EXPECT_EQ(ExceptionDialogText("Done."), "Done.");
  EXPECT_EQ(ExceptionDialogText("(see log)"), "(see log)");
  EXPECT_EQ(ExceptionDialogText("a-"), "a-");
  EXPECT_EQ(ExceptionDialogText(""), "");
}

TEST_F(LxExceptionHandlerTest, MessagesAreTranslatedWhileTheDefaultDictionaryIsOpen) {
  support::TLxMemoryDictionary dictionary(nullptr);
  dictionary.AddLanguage(0, 0, 1252);
  dictionary.AddLanguage(7, 1, 1252, "", "German");
  dictionary.SetLanguage(1);
  dictionary.SetText("File not found", 1, "Datei nicht gefunden");
  dictionary.SetText("Disk full!", 1, "Platte voll");
  EXPECT_EQ(ExceptionDialogText("File not found"), "File not found.");
  dictionary.Open();
  EXPECT_EQ(ExceptionDialogText("File not found"), "Datei nicht gefunden.");
  // The full stop is decided on the translation.
  EXPECT_EQ(ExceptionDialogText("Disk full!"), "Platte voll.");
  EXPECT_EQ(ExceptionDialogText("Unknown"), "Unknown.");

  dictionary.SetMissingTranslation(lxmtTagNative);
  EXPECT_EQ(ExceptionDialogText("Unknown"), "@Unknown@.");
  dictionary.SetMissingTranslation(lxmtRaiseException);
  EXPECT_EQ(ExceptionDialogText("Unknown"), "Unknown.");
}

TEST_F(LxExceptionHandlerTest, TheFirstDictionaryInstallsTheHandler) {
  ASSERT_FALSE(framework::Application().OnException);
  support::TLxMemoryDictionary dictionary(nullptr);
  dictionary.AddLanguage(0, 0, 1252);
  dictionary.AddLanguage(7, 1, 1252, "", "German");
  dictionary.SetLanguage(1);
  dictionary.SetText("Disk full", 1, "Platte voll");
  dictionary.Open();
  Fail("Disk full");
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].kind, framework::TDialogRequest::TKind::MessageDlg);
  EXPECT_EQ(dialogs[0].text, "Platte voll.");
  EXPECT_EQ(dialogs[0].dlgType, framework::mtError);
  EXPECT_EQ(dialogs[0].buttons, framework::TMsgDlgButtons{framework::mbOK});
  EXPECT_EQ(dialogs[0].caption, "Error");
}

TEST_F(LxExceptionHandlerTest, AHandlerOfTheProgramStays) {
  int handled = 0;
  framework::Application().OnException = [&handled](framework::TObject*, platform::Exception&) {
    ++handled;
  };
  support::TLxMemoryDictionary dictionary(nullptr);
  Fail("Disk full");
  EXPECT_EQ(handled, 1);
  EXPECT_TRUE(dialogs.empty());
}

}  // namespace
}  // namespace lx::lang

#include <gtest/gtest.h>

#include "lang/LxDictionary.h"
#include "lang/LxExceptionHandler.h"
#include "support/FixedSystem.h"
#include "support/lang/LxMemoryDictionary.h"
#include "support/lang/LxProcessState.h"

namespace lx::lang {
namespace {

class LxExceptionHandlerTest : public ::testing::Test {
 protected:
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

}  // namespace
}  // namespace lx::lang

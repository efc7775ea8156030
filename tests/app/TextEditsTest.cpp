#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/ProbeForm.h"
#include "app/TextEdits.h"
#include "frame/dmLanguages.h"
#include "frame/lbHelp.h"
#include "frame/lbPaths.h"
#include "framework/runtime/Application.h"
#include "framework/runtime/HelpIntfs.h"
#include "support/FixedSystem.h"
#include "support/TempFolder.h"
#include "support/lang/LxProcessState.h"

namespace lx::app {
namespace {

// probe in German, with a German PO file of two of its texts in its PO folder.
class TextEditsTest : public ::testing::Test {
 protected:
  TextEditsTest() {
    std::filesystem::copy_file(LX_PROBE_DICTIONARY, temp_.Text() + "probe.pld");
    std::ofstream(temp_.Text() + "probe.ini") << "[language]\nactiveName=German\n";
    std::filesystem::create_directory(temp_.Text() + "po");
    std::ofstream(temp_.Text() + "po/de_DE.po")
        << "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
           "msgid \"Locale Probe\"\nmsgstr \"Gebietsschema-Pr\xC3\xBC\x66\x65r\"\n\n"
           "msgid \"&Close\"\nmsgstr \"&Schlie\xC3\x9F\x65n\"\n";
    RegisterProbeClasses();
    framework::Application().SetExeName(temp_.Text() + "probe");
    frame::InitializeCompanionFiles(temp_.Text() + "probe");
    frame::InitializeHelp();
    frame::dmlg = nullptr;
    framework::Application().CreateForm(form_);
    form_->StartUp();
  }
  ~TextEditsTest() override {
    framework::DoneApplication();
    frame::FinalizeHelp();
    frame::FinalizeCompanionFiles();
    framework::DoneHelpManager();
  }
  framework::TControl& Control(const char* name) const {
    return *dynamic_cast<framework::TControl*>(form_->FindComponent(name));
  }

  support::FixedSystem system_;
  support::TLxProcessState processState_;
  support::TempFolder temp_;
  TProbeForm* form_ = nullptr;
};

TEST_F(TextEditsTest, ASavedCaptionGoesIntoThePoFileAndTheWindow) {
  ASSERT_NE(frame::dmlg, nullptr);
  dict::TLxBinaryDictionary& dictionary = *frame::dmlg->Dictionary;
  TPoFolder folder(temp_.Text() + "po");
  struct Case {
    const char* control;
    const char* id;
    const char* native;
    const char* utf8;
  };
  const Case cases[] = {
      {"CloseButton", "CloseButton", "&Close", "Zu&machen"},
      {"ProbeForm", "", "Locale Probe", "Pr\xC3\xBC\x66\x65r"},
  };
  for (const Case& c : cases) {
    framework::TControl& control = c.id[0] == '\0' ? *form_ : Control(c.control);
    const std::optional<TTranslatedText> text = TranslatedCaption(*form_->Translator(), control);
    ASSERT_TRUE(text) << c.control;
    EXPECT_EQ(text->context, "TProbeForm");
    EXPECT_EQ(text->id, c.id);
    EXPECT_EQ(text->native, c.native);
    EXPECT_EQ(folder.Save(dictionary, *text, c.utf8), "") << c.control;
    EXPECT_EQ(control.Caption(), c.utf8) << c.control;  // probe's languages are UTF-8
    EXPECT_EQ(
        ReadPoText(folder.FileOf(dictionary.CurrentLanguage()), "", std::string(c.native)).msgstr,
        c.utf8);
  }
  EXPECT_EQ(folder.Save(dictionary, *TranslatedCaption(*form_->Translator(), *form_), "\xE6\x97"),
            "The translation holds characters that code page 65001 cannot carry");
  EXPECT_FALSE(TranslatedCaption(*form_->Translator(), Control("LanguageList")));
}

}  // namespace
}  // namespace lx::app

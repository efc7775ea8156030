// show-form: a form of its own class with a published property, loaded from the form
// resource the build linked in, translated by the program's dictionary (show-form.pld beside
// the program, opened by the frame's language data module) and shown on screen; without a
// display its texts are printed instead.
//
//   show-form [LANGUAGE]     (LANGUAGE: an English name of the dictionary, such as Arabic)
#include <cstdio>
#include <string>

#include "frame/dmLanguages.h"
#include "frame/lbPaths.h"
#include "frame/lbSettings.h"
#include "framework/controls/Forms.h"
#include "framework/controls/StdCtrls.h"
#include "framework/rtti/ClassRegistry.h"
#include "framework/rtti/Published.h"
#include "framework/runtime/Application.h"
#include "platform/CodePages.h"
#include "platform/Exception.h"
#include "screen/Screen.h"
#include "translator/LxPoly.h"

using namespace lx;

// The form's class. Its name is the context its texts are looked up in, and lx_add_form
// names the form's resource after it ("THELLOFORM"). The published fields are set to the
// form's components when it loads; Motto is a property of its own, stored with the form.
class THelloForm : public framework::TForm {
  LX_CLASS(THelloForm, framework::TForm)

 public:
  explicit THelloForm(framework::TComponent* owner) : TForm(owner) {}

  const std::string& Motto() const { return motto_; }
  void SetMotto(const std::string& value) { motto_ = value; }

  framework::TLabel* Greeting = nullptr;
  framework::TButton* CloseButton = nullptr;
  translator::TLxTranslator* Translator = nullptr;

 private:
  std::string motto_;
};

LX_PUBLISHED(THelloForm, framework::Property("Motto", &THelloForm::Motto, &THelloForm::SetMotto),
             framework::Field("Greeting", &THelloForm::Greeting),
             framework::Field("CloseButton", &THelloForm::CloseButton),
             framework::Field("Translator", &THelloForm::Translator))

namespace {

// The language's code page: the form's texts are in it.
int TextCodePage() {
  if (frame::dmlg == nullptr || !frame::dmlg->Dictionary->IsOpen()) return 1252;
  const int codePage = frame::dmlg->Dictionary->CurrentLanguage().CodePage;
  return codePage == 0 ? 1252 : codePage;
}

std::string Utf8(const std::string& text) {
  return platform::WideToMultiByte(platform::MultiByteToWide(text, TextCodePage()), 65001);
}

void PrintForm(const THelloForm& form) {
  const bool rightToLeft = form.UseRightToLeftReading();
  std::printf("%s (%s)\n", Utf8(form.Caption()).c_str(),
              rightToLeft ? "right to left" : "left to right");
  std::printf("  motto:  %s\n", Utf8(form.Motto()).c_str());
  std::printf("  label:  %s\n", Utf8(form.Greeting->Caption()).c_str());
  std::printf("  button: %s (%s)\n", Utf8(form.CloseButton->Caption()).c_str(),
              Utf8(form.CloseButton->Hint()).c_str());
}

int Run(int& argc, char**& argv) {
  framework::RegisterClasses({&framework::TLabel::StaticClassInfo(),
                              &framework::TButton::StaticClassInfo(),
                              &THelloForm::StaticClassInfo()});
  translator::RegisterTranslatorClasses();
  frame::RegisterLanguageClasses();
  // The frame reports nothing: without the data module's form the program would run untranslated.
  if (!frame::LanguageModuleFormLinked()) {
    std::fprintf(stderr, "show-form: no resource TDMLG (lx_add_language_module_form)\n");
    return 1;
  }
  if (argc > 1) frame::OverrideStoredLanguage(frame::StoredLanguage{0, argv[1]});
  // Opens show-form.pld beside the program in the stored (or given) language.
  frame::LanguageSetup("");

  const bool onScreen = screen::Install(argc, argv);
  THelloForm* form = nullptr;
  framework::Application().CreateForm(form);
  form->Translator->Open();
  if (!onScreen) {
    PrintForm(*form);
    return 0;
  }
  screen::SetTextCodePage(
      [](const framework::TControl&) { return static_cast<unsigned>(TextCodePage()); });
  form->CloseButton->OnClick = [form](framework::TObject*) { form->Close(); };
  form->Show();
  framework::Application().Run();
  screen::Uninstall();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  framework::Application().Initialize();
  // The settings file and the dictionary are named after the program, beside it.
  frame::InitializeCompanionFiles();
  int code = 1;
  try {
    code = Run(argc, argv);
  } catch (const platform::Exception& error) {
    std::fprintf(stderr, "show-form: %s\n", error.Message().c_str());
  }
  frame::FinalizeCompanionFiles();
  framework::DoneApplication();
  return code;
}

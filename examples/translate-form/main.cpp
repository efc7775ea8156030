// translate-form: loads a form from its text, opens a dictionary image and prints the form's
// texts in two of the dictionary's languages.
//
//   translate-form [FOLDER]     (FOLDER holds Greeting.lxfm and greeting.pld; default ".")
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "dict/LxBinDic.h"
#include "framework/controls/Forms.h"
#include "framework/controls/StdCtrls.h"
#include "framework/rtti/ClassRegistry.h"
#include "framework/rtti/Published.h"
#include "framework/streaming/Filer.h"
#include "framework/streaming/Streams.h"
#include "framework/streaming/TextForm.h"
#include "platform/CodePages.h"
#include "platform/Exception.h"
#include "translator/LxPoly.h"

using namespace lx;

// The form's class: its name is the context its texts are looked up in.
class TGreetingForm : public framework::TForm {
  LX_CLASS(TGreetingForm, framework::TForm)

 public:
  explicit TGreetingForm(framework::TComponent* owner) : TForm(owner) {}

  framework::TLabel* WelcomeLabel = nullptr;
  framework::TButton* CloseButton = nullptr;
  translator::TLxTranslator* Translator1 = nullptr;
};

LX_PUBLISHED(TGreetingForm, framework::Field("WelcomeLabel", &TGreetingForm::WelcomeLabel),
             framework::Field("CloseButton", &TGreetingForm::CloseButton),
             framework::Field("Translator1", &TGreetingForm::Translator1))

namespace {

// Engine texts are in the language's code page; the terminal wants UTF-8.
std::string ToUtf8(const std::string& text, int codePage) {
  return platform::WideToMultiByte(platform::MultiByteToWide(text, codePage), 65001);
}

std::unique_ptr<TGreetingForm> LoadForm(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw platform::Exception("Cannot open " + path);
  const std::string text{std::istreambuf_iterator<char>(file), {}};
  const std::vector<std::uint8_t> bytes = framework::FormTextToBinary(text);
  framework::TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream.SetPosition(0);
  return std::unique_ptr<TGreetingForm>(
      static_cast<TGreetingForm*>(framework::ReadComponentFrom(stream, nullptr)));
}

void PrintForm(const TGreetingForm& form, lang::TLxDictionary& dictionary) {
  const int codePage = dictionary.CurrentLanguage().CodePage;
  std::printf("[%s]\n", ToUtf8(dictionary.CurrentLanguage().EnglishName, 1252).c_str());
  std::printf("  form:    %s\n", ToUtf8(form.Caption(), codePage).c_str());
  std::printf("  label:   %s\n", ToUtf8(form.WelcomeLabel->Caption(), codePage).c_str());
  std::printf("  button:  %s (%s)\n", ToUtf8(form.CloseButton->Caption(), codePage).c_str(),
              ToUtf8(form.CloseButton->Hint(), codePage).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : ".";
  try {
    framework::RegisterClasses({&framework::TLabel::StaticClassInfo(),
                                &framework::TButton::StaticClassInfo(),
                                &translator::TLxTranslator::StaticClassInfo(),
                                &TGreetingForm::StaticClassInfo()});
    // The dictionary first: the form's translator finds it by name when the form has loaded.
    dict::TLxBinaryDictionary dictionary(nullptr);
    dictionary.SetDictionaryName("Example");
    dictionary.SetFileName(folder + "/greeting.pld");
    dictionary.SetLanguage(1);
    dictionary.Open();
    const std::unique_ptr<TGreetingForm> form = LoadForm(folder + "/Greeting.lxfm");
    PrintForm(*form, dictionary);
    dictionary.SetLanguage(2);  // the translator follows the dictionary
    PrintForm(*form, dictionary);
    return 0;
  } catch (const platform::Exception& error) {
    std::fprintf(stderr, "translate-form: %s\n", error.Message().c_str());
    return 1;
  }
}

#include "FormTranslation.h"

#include <filesystem>
#include <memory>
#include <string_view>

#include "dict/LxBinDic.h"
#include "framework/controls/CheckLst.h"
#include "framework/controls/ComCtrls.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Grids.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/rtti/ClassRegistry.h"
#include "framework/streaming/Filer.h"
#include "framework/streaming/Streams.h"
#include "framework/streaming/TextForm.h"
#include "platform/Exception.h"
#include "translator/LxPoly.h"

namespace lx::tools {
namespace {

// A form that answers to the stored root's class name, a direct descendant of TForm.
class TStandInForm : public framework::TForm {
 public:
  explicit TStandInForm(const std::string& className)
      : TForm(nullptr), classInfo_(className, &TForm::StaticClassInfo(), {}, {}, {}, {}) {}

  const framework::TClassInfo& ClassInfo() const override { return classInfo_; }

 private:
  framework::TClassInfo classInfo_;
};

void RegisterStandardClasses() {
  using namespace framework;
  RegisterClasses({&TLabel::StaticClassInfo(), &TEdit::StaticClassInfo(),
                   &TButton::StaticClassInfo(), &TMemo::StaticClassInfo(),
                   &TGroupBox::StaticClassInfo(), &TListBox::StaticClassInfo(),
                   &TCheckListBox::StaticClassInfo(), &TComboBox::StaticClassInfo(),
                   &TComboBoxEx::StaticClassInfo(), &TComboExItem::StaticClassInfo(),
                   &TPanel::StaticClassInfo(), &TStringGrid::StaticClassInfo(),
                   &TMainMenu::StaticClassInfo(), &TPopupMenu::StaticClassInfo(),
                   &TMenuItem::StaticClassInfo(), &dict::TLxBinaryDictionary::StaticClassInfo()});
  translator::RegisterTranslatorClasses();
}

bool IsBinaryForm(const std::vector<std::uint8_t>& bytes) {
  const std::string_view signature = framework::kFormSignature;
  return bytes.size() >= signature.size() &&
         std::string_view(reinterpret_cast<const char*>(bytes.data()), signature.size()) ==
             signature;
}

// The root's class name: after the signature and an optional prefix, a short string.
std::string RootClassName(const std::vector<std::uint8_t>& binary) {
  framework::TMemoryStream stream(binary);
  framework::TReader reader(stream, 4096);
  reader.ReadSignature();
  framework::TFilerFlags flags;
  int childPos = 0;
  reader.ReadPrefix(flags, childPos);
  return reader.ReadStr();
}

translator::TLxTranslator* FindTranslator(const framework::TComponent& form) {
  for (int i = 0; i < form.ComponentCount(); ++i) {
    if (auto* found = dynamic_cast<translator::TLxTranslator*>(form.Components(i))) return found;
  }
  return nullptr;
}

}  // namespace

std::string TranslatedFormText(const std::vector<std::uint8_t>& form,
                               const std::string& dictionaryFile, int language) {
  RegisterStandardClasses();
  const std::vector<std::uint8_t> binary =
      IsBinaryForm(form) ? form
                         : framework::FormTextToBinary(std::string_view(
                               reinterpret_cast<const char*>(form.data()), form.size()));

  dict::TLxBinaryDictionary dictionary(nullptr);
  dictionary.SetFileName(std::filesystem::absolute(dictionaryFile).string());
  dictionary.SetBinding(lang::lxbiNone);
  dictionary.SetCheckLevel(lang::lxclNone);
  dictionary.SetLanguage(language);
  dictionary.Open();
  if (!dictionary.IsOpen())
    throw platform::Exception("Cannot open the dictionary " + dictionaryFile);

  TStandInForm root(RootClassName(binary));
  framework::TMemoryStream input(binary);
  framework::ReadComponentFrom(input, &root);
  translator::TLxTranslator* formTranslator = FindTranslator(root);
  if (formTranslator == nullptr) throw platform::Exception("The form has no translator");
  // Bound to this dictionary whatever name the form gives (the only one registered).
  formTranslator->SetDictionary(&dictionary);
  formTranslator->Open();

  framework::TMemoryStream output;
  framework::WriteComponentTo(output, root);
  return framework::FormBinaryToText(output.Bytes());
}

}  // namespace lx::tools

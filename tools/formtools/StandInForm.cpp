#include "formtools/StandInForm.h"

#include <string_view>

#include "dict/LxBinDic.h"
#include "framework/controls/CheckLst.h"
#include "framework/controls/ComCtrls.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Grids.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/rtti/ClassRegistry.h"
#include "framework/streaming/Filer.h"
#include "framework/streaming/Streams.h"
#include "framework/streaming/TextForm.h"
#include "framework/streaming/TolerantForm.h"
#include "translator/LxPoly.h"

namespace lx::tools {

namespace {

std::vector<framework::TPropInfo> StoredStyle(framework::TFormStyle& style) {
  using namespace framework;
  TPropInfo property(
      "FormStyle", tkEnumeration,
      [&style](const TObject&) { return TPropValue(static_cast<std::int64_t>(style)); },
      [&style](TObject&, const TPropValue& value) {
        style = static_cast<TFormStyle>(std::get<std::int64_t>(value));
      });
  property.SetEnumType(&EnumInfoOf(static_cast<TFormStyle*>(nullptr)));
  property.SetDefault(TPropValue(std::int64_t{fsNormal}));
  return {property};
}

}  // namespace

TStandInForm::TStandInForm(const std::string& className)
    : TForm(nullptr),
      classInfo_(className, &TForm::StaticClassInfo(), {}, StoredStyle(storedStyle_), {}, {}) {
  classInfo_.SetPerObject(true);
}

void RegisterStandardClasses() {
  using namespace framework;
  RegisterClasses({&TLabel::StaticClassInfo(), &TEdit::StaticClassInfo(),
                   &TButton::StaticClassInfo(), &TCheckBox::StaticClassInfo(),
                   &TRadioButton::StaticClassInfo(), &TMemo::StaticClassInfo(),
                   &TGroupBox::StaticClassInfo(), &TListBox::StaticClassInfo(),
                   &TCheckListBox::StaticClassInfo(), &TComboBox::StaticClassInfo(),
                   &TComboBoxEx::StaticClassInfo(), &TComboExItem::StaticClassInfo(),
                   &TPanel::StaticClassInfo(), &TStringGrid::StaticClassInfo(),
                   &TMainMenu::StaticClassInfo(), &TPopupMenu::StaticClassInfo(),
                   &TMenuItem::StaticClassInfo(), &dict::TLxBinaryDictionary::StaticClassInfo()});
  translator::RegisterTranslatorClasses();
}

bool IsBinaryForm(const std::vector<std::uint8_t>& bytes) {
  return framework::TTolerantForm::IsBinary(bytes);
}

std::vector<std::uint8_t> BareBinaryForm(const std::vector<std::uint8_t>& bytes) {
  return framework::TTolerantForm::FromBinary(bytes)->Binary();
}

std::vector<std::uint8_t> BinaryFormOf(const std::vector<std::uint8_t>& form) {
  if (IsBinaryForm(form)) return BareBinaryForm(form);
  return framework::FormTextToBinary(
      std::string_view(reinterpret_cast<const char*>(form.data()), form.size()));
}

// After the signature and an optional prefix, a short string.
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

}  // namespace lx::tools

#include "samples/SampleForms.h"

#include "framework/rtti/ClassRegistry.h"
#include "framework/rtti/Published.h"

namespace lx::support {

using framework::Field;
using framework::Method;

LX_PUBLISHED(TControlsForm, Field("NameLabel", &TControlsForm::NameLabel),
             Field("NameEdit", &TControlsForm::NameEdit),
             Field("OkButton", &TControlsForm::OkButton), Field("Notes", &TControlsForm::Notes),
             Field("Colours", &TControlsForm::Colours), Field("Options", &TControlsForm::Options),
             Field("Sizes", &TControlsForm::Sizes), Field("Actions", &TControlsForm::Actions),
             Field("Bottom", &TControlsForm::Bottom), Field("Group", &TControlsForm::Group),
             Field("Grid", &TControlsForm::Grid), Field("MainMenu1", &TControlsForm::MainMenu1),
             Field("File1", &TControlsForm::File1), Field("Open1", &TControlsForm::Open1),
             Field("Exit1", &TControlsForm::Exit1), Field("Edit1", &TControlsForm::Edit1),
             Field("Popup1", &TControlsForm::Popup1), Field("Copy1", &TControlsForm::Copy1),
             Method("OkButtonClick", &TControlsForm::OkButtonClick))

LX_PUBLISHED(TDerivedForm, Field("HelpButton", &TDerivedForm::HelpButton))

LX_PUBLISHED(TMdiFrame)

LX_PUBLISHED(TMdiChild, Field("Hello", &TMdiChild::Hello))

LX_PUBLISHED(TSampleModule, Field("Popup2", &TSampleModule::Popup2))

LX_PUBLISHED(TNoResourceForm)

void RegisterSampleForms() {
  using namespace framework;
  RegisterClasses({&TLabel::StaticClassInfo(),         &TEdit::StaticClassInfo(),
                   &TButton::StaticClassInfo(),        &TMemo::StaticClassInfo(),
                   &TListBox::StaticClassInfo(),       &TCheckListBox::StaticClassInfo(),
                   &TComboBox::StaticClassInfo(),      &TComboBoxEx::StaticClassInfo(),
                   &TComboExItem::StaticClassInfo(),   &TPanel::StaticClassInfo(),
                   &TGroupBox::StaticClassInfo(),      &TStringGrid::StaticClassInfo(),
                   &TMainMenu::StaticClassInfo(),      &TPopupMenu::StaticClassInfo(),
                   &TMenuItem::StaticClassInfo(),      &TControlsForm::StaticClassInfo(),
                   &TDerivedForm::StaticClassInfo(),   &TMdiFrame::StaticClassInfo(),
                   &TMdiChild::StaticClassInfo(),      &TSampleModule::StaticClassInfo(),
                   &TNoResourceForm::StaticClassInfo()});
}

}  // namespace lx::support

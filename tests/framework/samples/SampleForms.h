// Form classes of the framework's tests, built from the text forms in forms/ the way the
// program builds its windows: every control and menu, an inherited form, an MDI frame with a
// child, and a data module.
#pragma once

#include "framework/controls/CheckLst.h"
#include "framework/controls/ComCtrls.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Grids.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"

namespace lx::support {

class TControlsForm : public framework::TForm {
  LX_CLASS(TControlsForm, framework::TForm)

 public:
  explicit TControlsForm(framework::TComponent* owner) : TForm(owner) {}

  framework::TLabel* NameLabel = nullptr;
  framework::TEdit* NameEdit = nullptr;
  framework::TButton* OkButton = nullptr;
  framework::TMemo* Notes = nullptr;
  framework::TListBox* Colours = nullptr;
  framework::TCheckListBox* Options = nullptr;
  framework::TComboBox* Sizes = nullptr;
  framework::TComboBoxEx* Actions = nullptr;
  framework::TPanel* Bottom = nullptr;
  framework::TGroupBox* Group = nullptr;
  framework::TStringGrid* Grid = nullptr;
  framework::TMainMenu* MainMenu1 = nullptr;
  framework::TMenuItem* File1 = nullptr;
  framework::TMenuItem* Open1 = nullptr;
  framework::TMenuItem* Exit1 = nullptr;
  framework::TMenuItem* Edit1 = nullptr;
  framework::TPopupMenu* Popup1 = nullptr;
  framework::TMenuItem* Copy1 = nullptr;

  int clicks = 0;
  void OkButtonClick(framework::TObject*) { ++clicks; }
};

/// The form above with another caption, a button more and a changed label.
class TDerivedForm : public TControlsForm {
  LX_CLASS(TDerivedForm, TControlsForm)

 public:
  explicit TDerivedForm(framework::TComponent* owner) : TControlsForm(owner) {}

  framework::TButton* HelpButton = nullptr;
};

class TMdiFrame : public framework::TForm {
  LX_CLASS(TMdiFrame, framework::TForm)

 public:
  explicit TMdiFrame(framework::TComponent* owner) : TForm(owner) {}
};

class TMdiChild : public framework::TForm {
  LX_CLASS(TMdiChild, framework::TForm)

 public:
  explicit TMdiChild(framework::TComponent* owner) : TForm(owner) {}

  framework::TLabel* Hello = nullptr;
};

class TSampleModule : public framework::TDataModule {
  LX_CLASS(TSampleModule, framework::TDataModule)

 public:
  explicit TSampleModule(framework::TComponent* owner) : TDataModule(owner) {}

  framework::TPopupMenu* Popup2 = nullptr;
};

/// A form class without a form resource.
class TNoResourceForm : public framework::TForm {
  LX_CLASS(TNoResourceForm, framework::TForm)

 public:
  explicit TNoResourceForm(framework::TComponent* owner) : TForm(owner) {}
};

/// Registers the classes that the sample forms name.
void RegisterSampleForms();

}  // namespace lx::support

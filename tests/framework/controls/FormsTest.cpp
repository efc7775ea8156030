#include <gtest/gtest.h>

#include <array>

#include "framework/controls/Dialogs.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/rtti/Published.h"
#include "framework/rtti/TypInfo.h"
#include "framework/runtime/Application.h"
#include "samples/SampleForms.h"
#include "support/Raised.h"

namespace lx::framework {
namespace {

class FormsTest : public ::testing::Test {
 protected:
  ~FormsTest() override { DoneApplication(); }

  // The main form, made an MDI frame.
  static TCustomForm* MakeFrame() {
    auto* frame = static_cast<TCustomForm*>(Application().CreateForm(TForm::StaticClassInfo()));
    frame->SetFormStyle(fsMDIForm);
    frame->SetBounds(0, 0, 640, 480);
    frame->Show();
    return frame;
  }

  static TCustomForm* MakeChild(const char* name) {
    auto* child = new TForm(&Application());
    child->SetName(name);
    child->SetFormStyle(fsMDIChild);
    return child;
  }
};

TEST_F(FormsTest, ShowingMakesTheWindowsOfWhatIsVisible) {
  auto* form = new TForm(&Application());
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  auto* edit = new TEdit(form);
  edit->SetParent(panel);
  auto* hidden = new TEdit(form);
  hidden->SetParent(form);
  hidden->SetVisible(false);
  int shown = 0;
  form->OnShow = [&shown](TObject*) { ++shown; };
  EXPECT_FALSE(form->Visible());

  form->Show();
  EXPECT_EQ(shown, 1);
  EXPECT_TRUE(platform::IsWindowVisible(form->Handle()));
  EXPECT_TRUE(edit->HandleAllocated());
  EXPECT_FALSE(hidden->HandleAllocated());

  form->Hide();
  EXPECT_FALSE(platform::IsWindowVisible(form->Handle()));
}

TEST_F(FormsTest, AMaximisedFormRemembersItsNormalPlace) {
  auto* form = new TForm(&Application());
  form->SetBounds(10, 20, 300, 200);
  form->SetWindowState(wsMaximized);
  EXPECT_FALSE(form->HandleAllocated());
  form->Show();
  EXPECT_TRUE(platform::IsZoomed(form->Handle()));
  platform::WINDOWPLACEMENT placement;
  ASSERT_TRUE(platform::GetWindowPlacement(form->Handle(), placement));
  EXPECT_EQ(placement.rcNormalPosition, (platform::RECT{10, 20, 310, 220}));
  EXPECT_NE(form->Width(), 300);  // the bounds follow the window

  form->SetWindowState(wsNormal);
  EXPECT_FALSE(platform::IsZoomed(form->Handle()));
  EXPECT_EQ(form->Left(), 10);
  EXPECT_EQ(form->Width(), 300);
}

TEST_F(FormsTest, MDIChildrenLiveInTheMainForm) {
  TCustomForm* frame = MakeFrame();
  EXPECT_EQ(Application().MainForm(), frame);
  TCustomForm* first = MakeChild("First");
  TCustomForm* second = MakeChild("Second");
  EXPECT_EQ(frame->MDIChildCount(), 2);
  EXPECT_EQ(frame->ActiveMDIChild(), second);
  EXPECT_EQ(second->MDIParent(), frame);
  EXPECT_TRUE(second->Visible());
  EXPECT_EQ(platform::GetParent(second->Handle()), frame->Handle());
  EXPECT_NE(platform::GetWindowLong(second->Handle(), platform::GWL_EXSTYLE) &
                static_cast<platform::LONG>(platform::WS_EX_MDICHILD),
            0);

  first->Show();
  EXPECT_EQ(frame->ActiveMDIChild(), first);
  EXPECT_EQ(frame->MDIChildren(1), second);
  EXPECT_RAISES(frame->MDIChildren(2), platform::EListError, "List index out of bounds (2)");

  delete first;
  EXPECT_EQ(frame->MDIChildCount(), 1);
  EXPECT_EQ(frame->ActiveMDIChild(), second);
  EXPECT_EQ(second->MDIChildCount(), 0);
}

TEST_F(FormsTest, AMaximisedChildKeepsItsNormalRectangleWhenRecreated) {
  TCustomForm* frame = MakeFrame();
  TCustomForm* child = MakeChild("Child");
  child->SetBounds(30, 40, 200, 100);
  child->SetWindowState(wsMaximized);
  EXPECT_TRUE(platform::IsZoomed(child->Handle()));
  EXPECT_EQ(child->Width(), frame->ClientWidth());
  const platform::HWND old = child->Handle();

  child->RecreateWnd();
  EXPECT_NE(child->Handle(), old);
  EXPECT_FALSE(platform::IsWindow(old));
  EXPECT_TRUE(platform::IsZoomed(child->Handle()));
  EXPECT_EQ(platform::GetParent(child->Handle()), frame->Handle());
  platform::WINDOWPLACEMENT placement;
  ASSERT_TRUE(platform::GetWindowPlacement(child->Handle(), placement));
  EXPECT_EQ(placement.rcNormalPosition, (platform::RECT{30, 40, 230, 140}));
  EXPECT_EQ(frame->ActiveMDIChild()->WindowState(), wsMaximized);
}

TEST_F(FormsTest, AChildNeedsAnMDIFrame) {
  auto* main = new TForm(nullptr);
  Application().CreateForm(TForm::StaticClassInfo());
  try {
    main->SetFormStyle(fsMDIChild);
    FAIL() << "no error";
  } catch (const EInvalidOperation& e) {
    EXPECT_STREQ(e.what(), "Cannot create form. No MDI forms are currently active");
  }
  EXPECT_EQ(main->FormStyle(), fsNormal);
  delete main;
}

TEST_F(FormsTest, AFrameThatGoesFirstTakesTheChildWindowsAlong) {
  TCustomForm* frame = MakeFrame();
  TCustomForm* child = MakeChild("Child");
  child->HandleNeeded();
  Application().RemoveComponent(child);
  delete frame;
  EXPECT_EQ(child->MDIParent(), nullptr);
  EXPECT_FALSE(child->HandleAllocated());
  EXPECT_EQ(Application().MainForm(), nullptr);
  delete child;
}

TEST_F(FormsTest, ClosingCarriesOutTheAction) {
  auto* main = new TForm(&Application());
  Application().CreateForm(TForm::StaticClassInfo());
  TForm* other = nullptr;
  Application().CreateForm(other);
  ASSERT_NE(Application().MainForm(), other);
  other->Show();

  bool allow = false;
  other->OnCloseQuery = [&allow](TObject*, bool& canClose) { canClose = allow; };
  other->Close();
  EXPECT_TRUE(other->Visible());
  allow = true;
  other->Close();
  EXPECT_FALSE(other->Visible());

  other->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  const int forms = Screen().FormCount();
  other->Close();
  EXPECT_EQ(Screen().FormCount(), forms);  // freed later, not under the caller's feet
  Application().ProcessMessages();
  EXPECT_EQ(Screen().FormCount(), forms - 1);

  Application().MainForm()->Close();
  EXPECT_TRUE(Application().Terminated());
  delete main;
}

TEST_F(FormsTest, ShowModalWaitsForAResult) {
  Application().CreateForm(TForm::StaticClassInfo());
  TForm* dialog = nullptr;
  Application().CreateForm(dialog);
  auto* ok = new TButton(dialog);
  ok->SetParent(dialog);
  ok->SetModalResult(mrOk);
  bool modalWhileShown = false;
  Application().Post([&] {
    modalWhileShown = dialog->IsModal() && dialog->Visible();
    ok->Click();
  });
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_TRUE(modalWhileShown);
  EXPECT_FALSE(dialog->Visible());
  EXPECT_FALSE(dialog->IsModal());

  // Closed, or nothing left that could ever answer: cancelled.
  Application().Post([&] { dialog->Close(); });
  EXPECT_EQ(dialog->ShowModal(), mrCancel);
  EXPECT_EQ(dialog->ShowModal(), mrCancel);
  EXPECT_FALSE(dialog->Visible());

  dialog->Show();
  EXPECT_RAISES(dialog->ShowModal(), EInvalidOperation, "Cannot make a visible window modal");
}

TEST_F(FormsTest, AModalFormReleasedWhileShownIsFreedAfterItsLoop) {
  Application().CreateForm(TForm::StaticClassInfo());
  TForm* dialog = nullptr;
  Application().CreateForm(dialog);
  dialog->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  const int forms = Screen().FormCount();
  Application().Post([&] {
    dialog->Release();
    Application().Post([&] { dialog->SetModalResult(mrYes); });
  });
  EXPECT_EQ(dialog->ShowModal(), mrYes);
  EXPECT_EQ(Screen().FormCount(), forms);
  Application().ProcessMessages();
  EXPECT_EQ(Screen().FormCount(), forms - 1);
}

TEST_F(FormsTest, AnMDIFrameClosesOnlyWhenItsChildrenAgree) {
  TCustomForm* frame = MakeFrame();
  TCustomForm* child = MakeChild("Child");
  child->OnCloseQuery = [](TObject*, bool& canClose) { canClose = false; };
  EXPECT_FALSE(frame->CloseQuery());
  child->OnCloseQuery = nullptr;
  child->Close();  // a child minimises by default
  EXPECT_EQ(child->WindowState(), wsMinimized);
  EXPECT_TRUE(platform::IsIconic(child->Handle()));
  EXPECT_TRUE(frame->CloseQuery());
}

TEST_F(FormsTest, TheMenuReferenceIsClearedWhenTheMenuGoes) {
  auto* form = new TForm(&Application());
  auto* menu = new TMainMenu(form);
  form->SetMenu(menu);
  EXPECT_EQ(GetObjectProp(*form, "Menu"), menu);
  delete menu;
  EXPECT_EQ(form->Menu(), nullptr);
}

TEST_F(FormsTest, AFormStoresItsControlsAndItsOtherComponents) {
  auto* form = new TForm(&Application());
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  auto* label = new TLabel(form);
  label->SetParent(panel);
  auto* menu = new TMainMenu(form);
  auto* item = new TMenuItem(form);
  menu->Items()->Add(item);
  std::vector<TComponent*> children;
  form->GetChildren([&children](TComponent* child) { children.push_back(child); }, form);
  EXPECT_EQ(children, (std::vector<TComponent*>{panel, menu}));
}

TEST_F(FormsTest, TheScreenListsFormsAndDataModulesAndHoldsCursors) {
  const int forms = Screen().FormCount();
  auto* form = new TForm(&Application());
  auto* module = new TDataModule(&Application());
  EXPECT_EQ(Screen().FormCount(), forms + 1);
  EXPECT_EQ(Screen().Forms(forms), form);
  EXPECT_EQ(Screen().DataModules(Screen().DataModuleCount() - 1), module);
  EXPECT_RAISES(Screen().Forms(-1), platform::EListError, "List index out of bounds (-1)");

  const HCURSOR standard = Screen().Cursors(crHandPoint);
  EXPECT_NE(standard, Screen().Cursors(crDefault));
  EXPECT_EQ(Screen().Cursors(17), Screen().Cursors(crDefault));

  static const std::array<std::uint8_t, 4> kImage{1, 2, 3, 4};
  platform::RegisterResource(platform::RT_CURSOR, "MANO", kImage);
  const HCURSOR hand = LoadCursor(0, "mano");
  ASSERT_NE(hand, 0u);
  EXPECT_EQ(LoadCursor(0, "NOSUCH"), 0u);
  Screen().SetCursors(crHandPoint, hand);
  EXPECT_EQ(Screen().Cursors(crHandPoint), hand);
  Screen().SetCursors(crHandPoint, 0);
  EXPECT_EQ(Screen().Cursors(crHandPoint), standard);
  platform::UnregisterResource(platform::RT_CURSOR, "MANO");
}

TEST_F(FormsTest, PublishedAsTheClassicFormPublishes) {
  TForm form(nullptr);
  EXPECT_EQ(GetEnumProp(form, "FormStyle"), "fsNormal");
  EXPECT_EQ(GetEnumProp(form, "WindowState"), "wsNormal");
  EXPECT_EQ(GetEnumProp(form, "AutoScroll"), "True");
  EXPECT_EQ(GetEnumProp(form, "ParentFont"), "False");
  SetStrProp(form, "Caption", "Probe");
  EXPECT_EQ(form.Caption(), "Probe");
  EXPECT_TRUE(IsStoredProp(form, FindPropInfo(form, "Font")));
}

// ---- forms built from their form resources, as the program builds its windows ----

class StoredFormsTest : public ::testing::Test {
 protected:
  StoredFormsTest() { support::RegisterSampleForms(); }
  ~StoredFormsTest() override { DoneApplication(); }
};

TEST_F(StoredFormsTest, EveryControlComesBackInItsPlace) {
  support::TControlsForm* form = nullptr;
  Application().CreateForm(form);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Name(), "ControlsForm");
  EXPECT_EQ(form->Caption(), "Controls");
  EXPECT_FALSE(form->AutoScroll());
  EXPECT_EQ(form->Menu(), form->MainMenu1);
  EXPECT_EQ(form->ComponentCount(), 18);

  // Parents as stored, every component owned by the form.
  EXPECT_EQ(form->NameLabel->Parent(), form);
  EXPECT_EQ(form->Grid->Parent(), form->Group);
  EXPECT_EQ(form->Group->Parent(), form->Bottom);
  EXPECT_EQ(form->Grid->Owner(), form);
  EXPECT_EQ(form->ControlCount(), 9);

  EXPECT_EQ(form->NameLabel->Caption(), "&Name:");
  EXPECT_EQ(form->NameLabel->Hint(), "Your name");
  EXPECT_EQ(form->NameEdit->Text(), "nobody");
  EXPECT_EQ(form->Notes->Text(), "first line\r\nsecond line\r\n");
  EXPECT_EQ(form->Colours->ItemIndex(), 1);
  EXPECT_EQ(form->Options->Items()->Count(), 2);
  EXPECT_EQ(form->Sizes->ItemIndex(), 1);
  EXPECT_EQ(form->Sizes->Text(), "Large");
  ASSERT_EQ(form->Actions->Items()->Count(), 2);
  EXPECT_EQ(form->Actions->Items()->Strings(1), "Save");
  EXPECT_EQ(form->Actions->ItemsEx()->Items(0)->ImageIndex(), 1);
  EXPECT_EQ(form->Grid->ColCount(), 3);
  EXPECT_TRUE(form->OkButton->Default());
  form->OkButton->Click();
  EXPECT_EQ(form->clicks, 1);

  // Fonts: the group has its own, the grid follows the group, the label the form.
  EXPECT_EQ(form->Group->Font()->Name(), "Arial");
  EXPECT_FALSE(form->Group->ParentFont());
  EXPECT_EQ(form->Grid->Font()->Name(), "Arial");
  EXPECT_TRUE(form->Grid->ParentFont());
  EXPECT_EQ(form->NameLabel->Font()->Name(), "MS Sans Serif");

  // Named constants, and a number where the form gives one.
  EXPECT_EQ(form->Color(), clBtnFace);
  EXPECT_EQ(form->Font()->Charset(), DEFAULT_CHARSET);
  EXPECT_EQ(form->Font()->Color(), clWindowText);
  EXPECT_EQ(form->OkButton->Cursor(), crHandPoint);
  EXPECT_EQ(form->Group->Font()->Charset(), RUSSIAN_CHARSET);
  EXPECT_EQ(form->Group->Font()->Color(), clRed);
  EXPECT_EQ(form->NameEdit->Color(), clWindow);
}

TEST_F(StoredFormsTest, MenusComeBackWithTheirHotkeys) {
  support::TControlsForm* form = nullptr;
  Application().CreateForm(form);
  TMenuItem* top = form->MainMenu1->Items();
  ASSERT_EQ(top->Count(), 2);
  EXPECT_EQ(top->Items(0), form->File1);
  EXPECT_EQ(form->File1->Count(), 2);
  EXPECT_EQ(form->Open1->Parent(), form->File1);
  EXPECT_EQ(form->File1->Caption(), "&File");
  EXPECT_EQ(form->Edit1->Caption(), "&Edit");
  EXPECT_EQ(form->Open1->Caption(), "&Open");
  EXPECT_EQ(form->Exit1->Caption(), "&Exit");
  EXPECT_EQ(form->Open1->ShortCutText(), "Ctrl+O");
  EXPECT_EQ(form->Copy1->Caption(), "Copy");  // a manual menu
  EXPECT_EQ(form->Copy1->GetParentMenu(), form->Popup1);
}

TEST_F(StoredFormsTest, WindowsAreMadeWhenTheFormShows) {
  support::TControlsForm* form = nullptr;
  Application().CreateForm(form);
  EXPECT_TRUE(form->HandleAllocated());  // the main form
  EXPECT_FALSE(form->Grid->HandleAllocated());
  form->Show();
  EXPECT_EQ(platform::GetParent(form->Grid->Handle()), form->Group->Handle());
  EXPECT_EQ(platform::GetParent(form->Bottom->Handle()), form->Handle());
  EXPECT_EQ(platform::GetWindowText(form->Handle()), "Controls");
}

TEST_F(StoredFormsTest, AStoredFormScalesAndComesBack) {
  support::TControlsForm* form = nullptr;
  Application().CreateForm(form);
  form->ScaleBy(120, 100);
  EXPECT_EQ(form->Width(), 480);
  EXPECT_EQ(form->Group->Left(), 12);
  EXPECT_EQ(form->Grid->Width(), 228);
  EXPECT_EQ(form->Group->Font()->Size(), 12);
  EXPECT_EQ(form->Grid->Font()->Size(), 12);
  form->ScaleBy(100, 120);
  EXPECT_EQ(form->Width(), 400);
  EXPECT_EQ(form->Grid->Width(), 190);
  EXPECT_EQ(form->Group->Font()->Size(), 10);
}

TEST_F(StoredFormsTest, TheApplicationsReadingDirectionReachesEveryStoredControl) {
  support::TControlsForm* form = nullptr;
  Application().CreateForm(form);
  Application().SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(form->BiDiMode(), bdRightToLeft);
  EXPECT_EQ(form->Grid->BiDiMode(), bdRightToLeft);
  EXPECT_EQ(form->NameLabel->BiDiMode(), bdRightToLeft);
}

TEST_F(StoredFormsTest, AnInheritedFormHasTheComponentsOfBoth) {
  support::TDerivedForm* form = nullptr;
  Application().CreateForm(form);
  EXPECT_EQ(form->Name(), "DerivedForm");
  EXPECT_EQ(form->Caption(), "Derived");
  EXPECT_EQ(form->NameLabel->Caption(), "&Full name:");
  EXPECT_EQ(form->NameEdit->Text(), "nobody");
  ASSERT_NE(form->HelpButton, nullptr);
  EXPECT_EQ(form->HelpButton->Parent(), form);
  EXPECT_EQ(form->File1->Caption(), "&File");
  EXPECT_EQ(form->ComponentCount(), 19);
}

TEST_F(StoredFormsTest, AStoredMDIChildOpensMaximisedInTheFrame) {
  support::TMdiFrame* frame = nullptr;
  Application().CreateForm(frame);
  frame->Show();
  support::TMdiChild* child = nullptr;
  Application().CreateForm(child);
  EXPECT_EQ(Application().MainForm(), frame);
  EXPECT_EQ(frame->MDIChildCount(), 1);
  ASSERT_EQ(frame->ActiveMDIChild(), child);
  EXPECT_EQ(child->WindowState(), wsMaximized);
  EXPECT_TRUE(platform::IsZoomed(child->Handle()));
  EXPECT_EQ(child->Width(), frame->ClientWidth());

  // What a language change does to a maximised child: placement kept around a new window.
  TCustomForm* active = frame->ActiveMDIChild();
  platform::WINDOWPLACEMENT placement;
  ASSERT_TRUE(platform::GetWindowPlacement(active->Handle(), placement));
  EXPECT_EQ(placement.rcNormalPosition, (platform::RECT{20, 30, 220, 180}));
  active->RecreateWnd();
  ASSERT_TRUE(platform::SetWindowPlacement(active->Handle(), placement));
  EXPECT_TRUE(platform::IsZoomed(active->Handle()));
  active->SetWindowState(wsNormal);
  EXPECT_EQ(child->Left(), 20);
  EXPECT_EQ(child->Width(), 200);
}

}  // namespace
}  // namespace lx::framework

#include <gtest/gtest.h>

#include <array>

#include "framework/Application.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/Published.h"
#include "framework/StdCtrls.h"
#include "framework/TypInfo.h"

namespace lx::framework {
namespace {

class TFrameForm : public TForm {
  LX_CLASS(TFrameForm, TForm)

 public:
  explicit TFrameForm(TComponent* owner) : TForm(owner) { SetFormStyle(fsMDIForm); }
};

class TChildForm : public TForm {
  LX_CLASS(TChildForm, TForm)

 public:
  explicit TChildForm(TComponent* owner) : TForm(owner) { SetFormStyle(fsMDIChild); }
};

LX_PUBLISHED(TFrameForm)
LX_PUBLISHED(TChildForm)

class FormsTest : public ::testing::Test {
 protected:
  ~FormsTest() override { DoneApplication(); }

  TFrameForm* MakeFrame() {
    TFrameForm* frame = nullptr;
    Application().CreateForm(frame);
    frame->SetBounds(0, 0, 640, 480);
    frame->Show();
    return frame;
  }

  static TCustomForm* MakeChild(const char* name) {
    TChildForm* child = nullptr;
    Application().CreateForm(child);
    child->SetName(name);
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
  TFrameForm* frame = MakeFrame();
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
  EXPECT_THROW(frame->MDIChildren(2), platform::EListError);

  delete first;
  EXPECT_EQ(frame->MDIChildCount(), 1);
  EXPECT_EQ(frame->ActiveMDIChild(), second);
  EXPECT_EQ(second->MDIChildCount(), 0);
}

TEST_F(FormsTest, AMaximisedChildKeepsItsNormalRectangleWhenRecreated) {
  TFrameForm* frame = MakeFrame();
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
  TChildForm* child = nullptr;
  try {
    Application().CreateForm(child);
    FAIL() << "no error";
  } catch (const EInvalidOperation& e) {
    EXPECT_STREQ(e.what(), "Cannot create form. No MDI forms are currently active");
  }
  EXPECT_EQ(child, nullptr);
  try {
    main->SetFormStyle(fsMDIChild);
    FAIL() << "no error";
  } catch (const EInvalidOperation&) {
  }
  EXPECT_EQ(main->FormStyle(), fsNormal);
  delete main;
}

TEST_F(FormsTest, AFrameThatGoesFirstTakesTheChildWindowsAlong) {
  TFrameForm* frame = MakeFrame();
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

TEST_F(FormsTest, AnMDIFrameClosesOnlyWhenItsChildrenAgree) {
  TFrameForm* frame = MakeFrame();
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
  EXPECT_THROW(Screen().Forms(-1), platform::EListError);

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

}  // namespace
}  // namespace lx::framework

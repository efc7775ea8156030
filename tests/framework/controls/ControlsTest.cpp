#include <gtest/gtest.h>

#include <vector>

#include "framework/controls/Controls.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/OleCtrls.h"
#include "framework/controls/StdCtrls.h"
#include "framework/rtti/TypInfo.h"
#include "framework/runtime/Application.h"
#include "platform/WindowListener.h"
#include "support/Raised.h"

namespace lx::framework {
namespace {

class ControlsTest : public ::testing::Test {
 protected:
  ControlsTest() : form(new TForm(nullptr)) { form->SetName("Form1"); }
  ~ControlsTest() override {
    delete form;
    DoneApplication();
  }

  template <typename T>
  T* Make(const char* name, TWinControl* parent) {
    auto* control = new T(form);
    control->SetName(name);
    control->SetParent(parent);
    return control;
  }

  TForm* form;
};

TEST_F(ControlsTest, ParentsHoldTheirChildrenAndFreeThem) {
  auto* panel = Make<TPanel>("Panel1", form);
  auto* label = Make<TLabel>("Label1", panel);
  auto* edit = Make<TEdit>("Edit1", panel);
  ASSERT_EQ(panel->ControlCount(), 2);
  EXPECT_EQ(panel->Controls(1), edit);
  EXPECT_EQ(label->GetParentComponent(), panel);

  label->SetParent(form);
  EXPECT_EQ(panel->ControlCount(), 1);
  EXPECT_EQ(form->ControlCount(), 2);

  // The parent frees what it holds; the owner hears that it is gone.
  edit->SetParent(panel);
  delete panel;
  EXPECT_EQ(form->ComponentCount(), 1);
  EXPECT_EQ(form->FindComponent("Edit1"), nullptr);
  EXPECT_EQ(form->Controls(0), label);

  delete label;
  EXPECT_EQ(form->ControlCount(), 0);
  EXPECT_RAISES(form->Controls(0), platform::EListError, "List index out of bounds (0)");
}

TEST_F(ControlsTest, AControlCannotLiveInsideItself) {
  auto* outer = Make<TPanel>("Outer", form);
  auto* inner = Make<TPanel>("Inner", outer);
  for (TWinControl* target : {static_cast<TWinControl*>(outer), static_cast<TWinControl*>(inner)}) {
    try {
      outer->SetParent(target);
      FAIL() << "no error";
    } catch (const EInvalidOperation& e) {
      EXPECT_STREQ(e.what(), "A control cannot have itself as its parent");
    }
  }
  EXPECT_EQ(outer->Parent(), form);
  EXPECT_EQ(inner->Parent(), outer);
}

TEST_F(ControlsTest, AWindowIsMadeInsideItsParentsWindow) {
  auto* panel = Make<TPanel>("Panel1", form);
  auto* button = Make<TButton>("Button1", panel);
  EXPECT_FALSE(form->HandleAllocated());

  const platform::HWND window = button->Handle();
  EXPECT_TRUE(form->HandleAllocated());
  EXPECT_TRUE(panel->HandleAllocated());
  EXPECT_EQ(platform::GetParent(window), panel->Handle());
  EXPECT_EQ(platform::GetParent(panel->Handle()), form->Handle());

  // Without a parent at the top there is nowhere to put the window.
  auto* loose = new TPanel(form);
  loose->SetName("Loose");
  auto* inside = Make<TEdit>("Inside", loose);
  try {
    inside->HandleNeeded();
    FAIL() << "no error";
  } catch (const EInvalidOperation& e) {
    EXPECT_STREQ(e.what(), "Control 'Loose' has no parent window");
  }
  EXPECT_FALSE(inside->HandleAllocated());
}

TEST_F(ControlsTest, RecreatingAWindowRenewsTheWindowsInside) {
  auto* panel = Make<TPanel>("Panel1", form);
  auto* edit = Make<TEdit>("Edit1", panel);
  auto* hidden = Make<TEdit>("Hidden", panel);
  const platform::HWND oldPanel = panel->Handle();
  const platform::HWND oldEdit = edit->Handle();
  EXPECT_FALSE(hidden->HandleAllocated());

  panel->RecreateWnd();
  EXPECT_FALSE(platform::IsWindow(oldPanel));
  EXPECT_FALSE(platform::IsWindow(oldEdit));
  ASSERT_TRUE(edit->HandleAllocated());
  EXPECT_NE(edit->Handle(), oldEdit);
  EXPECT_EQ(platform::GetParent(edit->Handle()), panel->Handle());
  EXPECT_FALSE(hidden->HandleAllocated());

  form->DestroyHandle();
  EXPECT_FALSE(panel->HandleAllocated());
  EXPECT_FALSE(edit->HandleAllocated());

  // Moving a control with a window to another parent moves its window too.
  auto* other = Make<TPanel>("Panel2", form);
  edit->HandleNeeded();
  other->HandleNeeded();
  edit->SetParent(other);
  EXPECT_EQ(platform::GetParent(edit->Handle()), other->Handle());
}

TEST_F(ControlsTest, TheWindowFollowsBoundsAndText) {
  auto* button = Make<TButton>("Button1", form);
  button->SetBounds(10, 20, 75, 25);
  button->SetCaption("&OK");
  const platform::HWND window = button->Handle();
  EXPECT_EQ(platform::GetWindowText(window), "&OK");

  button->SetLeft(30);
  button->SetCaption("Cancel");
  platform::RECT rect, parentRect;
  ASSERT_TRUE(platform::GetWindowRect(window, rect));
  ASSERT_TRUE(platform::GetWindowRect(form->Handle(), parentRect));
  EXPECT_EQ(rect.left - parentRect.left, 30);
  EXPECT_EQ(rect.right - rect.left, 75);
  EXPECT_EQ(platform::GetWindowText(window), "Cancel");
  EXPECT_EQ(button->ClientWidth(), 75);

  button->SetWidth(-5);
  EXPECT_EQ(button->Width(), 0);
}

TEST_F(ControlsTest, FontsFollowTheParentUntilSetDirectly) {
  form->Font()->SetName("Arial");
  auto* panel = Make<TPanel>("Panel1", form);
  auto* label = Make<TLabel>("Label1", panel);
  EXPECT_EQ(label->Font()->Name(), "Arial");
  EXPECT_TRUE(label->ParentFont());

  form->Font()->SetSize(12);
  EXPECT_EQ(label->Font()->Size(), 12);

  label->Font()->SetName("Tahoma");
  EXPECT_FALSE(label->ParentFont());
  EXPECT_TRUE(label->IsFontStored());
  form->Font()->SetSize(14);
  EXPECT_EQ(label->Font()->Size(), 12);
  EXPECT_EQ(panel->Font()->Size(), 14);

  label->SetParentFont(true);
  EXPECT_EQ(label->Font()->Name(), "Arial");
  EXPECT_EQ(label->Font()->Size(), 14);
}

TEST_F(ControlsTest, TheReadingDirectionFollowsTheParent) {
  auto* panel = Make<TPanel>("Panel1", form);
  auto* edit = Make<TEdit>("Edit1", panel);
  auto* own = Make<TEdit>("Edit2", panel);
  own->SetBiDiMode(bdLeftToRight);
  EXPECT_FALSE(own->ParentBiDiMode());
  edit->HandleNeeded();

  form->SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(panel->BiDiMode(), bdRightToLeft);
  EXPECT_EQ(edit->BiDiMode(), bdRightToLeft);
  EXPECT_TRUE(edit->ParentBiDiMode());
  EXPECT_EQ(own->BiDiMode(), bdLeftToRight);
  EXPECT_NE(platform::GetWindowLong(edit->Handle(), platform::GWL_EXSTYLE) &
                static_cast<platform::LONG>(platform::WS_EX_RTLREADING),
            0);

  // A control put into a right-to-left parent takes its direction.
  auto* late = Make<TLabel>("Label1", panel);
  EXPECT_EQ(late->BiDiMode(), bdRightToLeft);
}

TEST_F(ControlsTest, ScalingResizesEverythingInsideAndIsUndone) {
  form->SetBounds(40, 50, 300, 200);
  form->Font()->SetSize(8);
  auto* panel = Make<TPanel>("Panel1", form);
  panel->SetBounds(10, 20, 100, 50);
  auto* label = Make<TLabel>("Label1", panel);
  label->SetBounds(5, 5, 40, 13);
  auto* edit = Make<TEdit>("Edit1", panel);
  edit->SetBounds(33, 7, 65, 21);
  edit->Font()->SetSize(10);

  form->ScaleBy(120, 100);
  EXPECT_EQ(form->Left(), 40);  // the corner stays
  EXPECT_EQ(form->Top(), 50);
  EXPECT_EQ(form->Width(), 360);
  EXPECT_EQ(form->ClientHeight(), 240);
  EXPECT_EQ(panel->Left(), 12);
  EXPECT_EQ(panel->Top(), 24);
  EXPECT_EQ(panel->Width(), 120);
  EXPECT_EQ(label->Left(), 6);
  EXPECT_EQ(label->Height(), 16);
  EXPECT_EQ(edit->Left(), 40);  // 39.6
  EXPECT_EQ(form->Font()->Size(), 10);
  EXPECT_EQ(label->Font()->Size(), 10);  // follows the form's
  EXPECT_EQ(edit->Font()->Size(), 12);

  form->ScaleBy(100, 120);
  EXPECT_EQ(form->Width(), 300);
  EXPECT_EQ(panel->Left(), 10);
  EXPECT_EQ(label->Height(), 13);
  EXPECT_EQ(edit->Left(), 33);
  EXPECT_EQ(form->Font()->Size(), 8);
  EXPECT_EQ(edit->Font()->Size(), 10);

  form->ScaleBy(120, 0);
  form->ScaleBy(0, 100);
  EXPECT_EQ(form->Width(), 300);
}

TEST_F(ControlsTest, AnActiveXHostSaysItsPropertiesMayBeMissing) {
  auto* ole = Make<TOleControl>("Ole1", form);
  EXPECT_TRUE(ole->ComponentStyle().Contains(csCheckPropAvail));
  EXPECT_FALSE(form->ComponentStyle().Contains(csCheckPropAvail));
}

TEST_F(ControlsTest, CursorsAndColoursAreStoredByName) {
  const TIdentMap& cursors = CursorIdents();
  EXPECT_EQ(cursors.NameOf(crHandPoint), "crHandPoint");
  EXPECT_EQ(cursors.ValueOf("crHandPoint"), -21);
  EXPECT_EQ(cursors.NameOf(crDefault), "crDefault");
  EXPECT_EQ(cursors.NameOf(crNone), "crNone");
  EXPECT_EQ(cursors.ValueOf("crSize"), crSizeAll);
  EXPECT_EQ(cursors.NameOf(crSizeAll), "crSizeAll");
  EXPECT_EQ(cursors.NameOf(1), "");
  // Every standard cursor but -5, which no cursor takes.
  for (TCursor cursor = crSizeAll; cursor <= crDefault; ++cursor)
    EXPECT_EQ(cursors.NameOf(cursor).empty(), cursor == -5) << cursor;

  TControl control(nullptr);
  EXPECT_EQ(FindPropInfo(control, "Cursor").IdentMap(), &cursors);
  EXPECT_EQ(FindPropInfo(control, "Color").IdentMap(), &ColorIdents());
  EXPECT_EQ(control.Color(), clWindow);
  EXPECT_TRUE(IsDefaultPropValue(control, FindPropInfo(control, "Color")));
  const int repaints = control.InvalidateCount();
  control.SetColor(clBtnFace);
  EXPECT_EQ(GetOrdProp(control, "Color"), clBtnFace);
  EXPECT_EQ(control.InvalidateCount(), repaints + 1);
}

TEST_F(ControlsTest, MulDivRoundsHalfAwayFromZero) {
  EXPECT_EQ(MulDiv(5, 1, 2), 3);
  EXPECT_EQ(MulDiv(-5, 1, 2), -3);
  EXPECT_EQ(MulDiv(7, 2, -4), -4);
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
}

TEST_F(ControlsTest, RepaintsAreCounted) {
  auto* label = Make<TLabel>("Label1", form);
  const int before = label->InvalidateCount();
  label->Invalidate();
  label->Repaint();
  label->Font()->SetSize(20);  // a new font repaints too
  EXPECT_EQ(label->InvalidateCount(), before + 3);
}

// Notes which windows were asked to be drawn anew.
class RepaintRecorder : public platform::WindowListener {
 public:
  RepaintRecorder() { platform::AddWindowListener(this); }
  ~RepaintRecorder() override { platform::RemoveWindowListener(this); }
  void WindowInvalidated(platform::HWND window) override { windows.push_back(window); }
  std::vector<platform::HWND> windows;
};

TEST_F(ControlsTest, ChangesOfAControlWithoutWindowRepaintTheWindowItIsDrawnIn) {
  auto* panel = Make<TPanel>("Panel1", form);
  auto* label = Make<TLabel>("Label1", panel);
  RepaintRecorder recorder;
  label->SetCaption("Before the window");
  EXPECT_TRUE(recorder.windows.empty());

  const platform::HWND window = panel->Handle();
  label->SetCaption("Name:");
  label->SetBounds(1, 2, 3, 4);
  label->SetVisible(false);
  label->SetEnabled(false);
  label->SetBiDiMode(bdRightToLeft);
  label->Font()->SetSize(12);
  EXPECT_EQ(recorder.windows, std::vector<platform::HWND>(6, window));

  recorder.windows.clear();
  auto* button = Make<TButton>("Button1", panel);
  button->DestroyHandle();
  ASSERT_FALSE(button->HandleAllocated());
  button->Invalidate();  // windowed, but without a window of its own now
  EXPECT_EQ(recorder.windows, std::vector<platform::HWND>{window});

  recorder.windows.clear();
  auto* list = Make<TListBox>("List1", panel);
  list->HandleNeeded();
  list->Items()->Add("one");
  list->SetItemIndex(0);
  EXPECT_EQ(recorder.windows, std::vector<platform::HWND>(2, list->Handle()));
}

TEST_F(ControlsTest, StoredChildrenAreThoseOfTheRoot) {
  auto* panel = Make<TPanel>("Panel1", form);
  Make<TLabel>("Label1", panel);
  TComponent foreignOwner(nullptr);
  auto* foreign = new TLabel(&foreignOwner);
  foreign->SetParent(panel);
  std::vector<std::string> names;
  panel->GetChildren([&names](TComponent* child) { names.push_back(child->Name()); }, form);
  EXPECT_EQ(names, std::vector<std::string>{"Label1"});
  delete foreign;
}

}  // namespace
}  // namespace lx::framework

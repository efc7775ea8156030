#include <gtest/gtest.h>

#include <vector>

#include "framework/controls/Forms.h"
#include "framework/controls/StdCtrls.h"
#include "framework/rtti/TypInfo.h"
#include "framework/runtime/Application.h"

namespace lx::framework {
namespace {

constexpr int mrOkValue = 1;

class StdCtrlsTest : public ::testing::Test {
 protected:
  ~StdCtrlsTest() override {
    delete form;
    DoneApplication();
  }

  template <typename T>
  T* Make() {
    auto* control = new T(form);
    control->SetParent(form);
    return control;
  }

  static void Fill(TStrings* strings, std::initializer_list<const char*> texts) {
    for (const char* text : texts)
      strings->Add(text);
  }

  TForm* form = new TForm(nullptr);
};

TEST_F(StdCtrlsTest, AMemoTextIsItsLinesEachEndedByCrLf) {
  auto* memo = Make<TMemo>();
  Fill(memo->Lines(), {"one", "two"});
  EXPECT_EQ(memo->Text(), "one\r\ntwo\r\n");

  memo->SetText("a\nb\r\nc");
  ASSERT_EQ(memo->Lines()->Count(), 3);
  EXPECT_EQ(memo->Lines()->Strings(2), "c");

  const platform::HWND window = memo->Handle();
  memo->Lines()->Add("d");
  EXPECT_EQ(platform::GetWindowText(window), "a\r\nb\r\nc\r\nd\r\n");

  int changes = 0;
  memo->OnChange = [&changes](TObject*) { ++changes; };
  memo->SetText("x");
  EXPECT_GT(changes, 0);
}

TEST_F(StdCtrlsTest, AListBoxSelectionFollowsItsItems) {
  auto* list = Make<TListBox>();
  Fill(list->Items(), {"a", "b", "c"});
  list->SetItemIndex(1);
  list->Items()->Insert(0, "z");
  EXPECT_EQ(list->ItemIndex(), 2);
  list->Items()->Delete(0);
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_TRUE(list->Selected(1));
  list->Items()->SetStrings(1, "B");  // replaced, still the chosen one
  EXPECT_EQ(list->ItemIndex(), 1);
  list->Items()->Delete(1);
  EXPECT_EQ(list->ItemIndex(), -1);

  list->SetItemIndex(7);
  EXPECT_EQ(list->ItemIndex(), -1);
  EXPECT_EQ(list->SelCount(), -1);
  try {
    list->Selected(5);
    FAIL() << "no error";
  } catch (const platform::EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (5)");
  }
}

TEST_F(StdCtrlsTest, AMultiSelectListBoxKeepsOneFlagPerItem) {
  auto* list = Make<TListBox>();
  list->SetMultiSelect(true);
  Fill(list->Items(), {"a", "b", "c"});
  list->SetSelected(0, true);
  list->SetSelected(2, true);
  EXPECT_EQ(list->SelCount(), 2);

  list->Items()->Insert(1, "x");
  EXPECT_TRUE(list->Selected(0));
  EXPECT_FALSE(list->Selected(1));
  EXPECT_TRUE(list->Selected(3));

  // A replaced item is a new item: its selection is gone.
  list->Items()->SetStrings(3, "C");
  EXPECT_FALSE(list->Selected(3));

  list->SetMultiSelect(false);
  list->SetMultiSelect(true);
  EXPECT_EQ(list->SelCount(), 0);
}

TEST_F(StdCtrlsTest, AComboBoxShowsTheChosenItem) {
  auto* combo = Make<TComboBox>();
  Fill(combo->Items(), {"red", "green", "blue"});
  combo->SetItemIndex(2);
  EXPECT_EQ(combo->Text(), "blue");
  combo->Items()->Delete(0);
  EXPECT_EQ(combo->ItemIndex(), 1);

  combo->Items()->SetStrings(1, "azul");
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->Text(), "blue");

  combo->SetItemIndex(0);
  combo->Items()->Clear();
  EXPECT_EQ(combo->ItemIndex(), -1);
}

TEST_F(StdCtrlsTest, AButtonClickFiresOnClick) {
  auto* button = Make<TButton>();
  TObject* sender = nullptr;
  button->OnClick = [&sender](TObject* from) { sender = from; };
  button->Click();
  EXPECT_EQ(sender, button);
}

TEST_F(StdCtrlsTest, CheckBoxesToggleAndRadioButtonsUncheckTheirSiblings) {
  auto* box = Make<TCheckBox>();
  int clicks = 0;
  box->OnClick = [&clicks](TObject*) { ++clicks; };
  box->Click();
  box->SetChecked(true);
  EXPECT_TRUE(box->Checked());
  box->Click();
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(clicks, 2);

  auto* first = Make<TRadioButton>();
  auto* second = Make<TRadioButton>();
  auto* elsewhere = new TRadioButton(form);
  elsewhere->SetParent(Make<TGroupBox>());
  elsewhere->SetChecked(true);
  std::vector<TObject*> clicked;
  first->OnClick = second->OnClick = [&clicked](TObject* sender) { clicked.push_back(sender); };
  first->Click();
  second->Click();
  second->Click();
  EXPECT_FALSE(first->Checked());
  EXPECT_TRUE(second->Checked());
  EXPECT_TRUE(elsewhere->Checked());
  EXPECT_EQ(clicked, (std::vector<TObject*>{first, second}));
  EXPECT_EQ(FindPropInfo(*box, "Checked").Kind(), tkEnumeration);
  EXPECT_EQ(FindPropInfo(*second, "Caption").Kind(), tkLString);
}

TEST_F(StdCtrlsTest, AButtonWithAModalResultSetsItOnItsForm) {
  auto* group = Make<TGroupBox>();
  auto* button = new TButton(form);
  button->SetParent(group);
  int seen = -1;
  button->OnClick = [this, &seen](TObject*) { seen = form->ModalResult(); };
  button->Click();
  EXPECT_EQ(form->ModalResult(), 0);
  button->SetModalResult(mrOkValue);
  button->Click();
  EXPECT_EQ(form->ModalResult(), mrOkValue);
  EXPECT_EQ(seen, mrOkValue);
}

TEST_F(StdCtrlsTest, DisablingAWindowedControlDisablesItsWindow) {
  auto* edit = Make<TEdit>();
  edit->SetEnabled(false);
  const platform::HWND window = edit->Handle();
  EXPECT_NE(platform::GetWindowLong(window, platform::GWL_STYLE) & platform::WS_DISABLED, 0);
  edit->SetEnabled(true);
  EXPECT_EQ(platform::GetWindowLong(window, platform::GWL_STYLE) & platform::WS_DISABLED, 0);
}

TEST_F(StdCtrlsTest, PublishedAsTheClassicFrameworkPublishes) {
  TLabel label(nullptr);
  TEdit edit(nullptr);
  TMemo memo(nullptr);
  TListBox list(nullptr);
  TComboBox combo(nullptr);
  TGroupBox group(nullptr);
  EXPECT_EQ(FindPropInfo(label, "Caption").Kind(), tkLString);
  EXPECT_EQ(FindPropInfo(label, "Hint").Kind(), tkLString);
  EXPECT_EQ(FindPropInfo(group, "Font").Kind(), tkClass);
  EXPECT_EQ(FindPropInfo(edit, "Text").Kind(), tkLString);
  EXPECT_EQ(GetPropInfo(edit, "Caption"), nullptr);
  EXPECT_EQ(GetPropInfo(memo, "Text"), nullptr);
  EXPECT_EQ(GetObjectProp(memo, "Lines"), memo.Lines());
  EXPECT_EQ(GetObjectProp(list, "Items"), list.Items());
  EXPECT_EQ(GetObjectProp(combo, "Items"), combo.Items());

  SetStrProp(label, "Caption", "&Name:");
  EXPECT_EQ(label.Caption(), "&Name:");
  SetStrProp(edit, "Text", "typed");
  EXPECT_EQ(edit.Text(), "typed");

  // A font that follows the parent's is not stored.
  const TPropInfo& font = FindPropInfo(label, "Font");
  EXPECT_FALSE(IsStoredProp(label, font));
  label.Font()->SetSize(11);
  EXPECT_TRUE(IsStoredProp(label, font));
  EXPECT_EQ(GetEnumProp(label, "ParentFont"), "False");
}

}  // namespace
}  // namespace lx::framework

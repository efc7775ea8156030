#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/controls/CheckLst.h"
#include "framework/controls/ComCtrls.h"
#include "framework/controls/Grids.h"
#include "framework/controls/StdCtrls.h"
#include "screen/internal/ControlWidgets.h"

namespace lx::screen {
namespace {

using namespace framework;

// Descendants show as what they descend from; a memo is no single-line edit.
TEST(ControlWidgetsTest, EachKindOfControlHasItsWidget) {
  EXPECT_EQ(KindOf(TMemo(nullptr)), TWidgetKind::Memo);
  EXPECT_EQ(KindOf(TEdit(nullptr)), TWidgetKind::Edit);
  EXPECT_EQ(KindOf(TCheckListBox(nullptr)), TWidgetKind::ListBox);
  EXPECT_EQ(KindOf(TComboBoxEx(nullptr)), TWidgetKind::ComboBox);
  EXPECT_EQ(KindOf(TCheckBox(nullptr)), TWidgetKind::CheckBox);
  EXPECT_EQ(KindOf(TRadioButton(nullptr)), TWidgetKind::RadioButton);
  EXPECT_EQ(KindOf(TStringGrid(nullptr)), TWidgetKind::Container);
  EXPECT_EQ(KindOf(TGraphicControl(nullptr)), TWidgetKind::None);
}

class TNoInput : public TInputSink {
 public:
  void Clicked(const void*) override {}
  void TextEdited(const void*, const std::string&) override {}
  void Toggled(const void*, bool) override {}
  void ItemsChosen(const void*, const std::vector<int>&) override {}
  void MenuItemActivated(const void*) override {}
  void CloseRequested(const void*) override {}
};

std::string LabelText(GtkWidget* label) {
  return gtk_label_get_label(GTK_LABEL(label));
}

std::vector<std::string> Rows(GtkWidget* view) {
  std::vector<std::string> rows;
  GtkTreeModel* model = gtk_tree_view_get_model(GTK_TREE_VIEW(view));
  GtkTreeIter row;
  for (bool more = gtk_tree_model_get_iter_first(model, &row) != 0; more;
       more = gtk_tree_model_iter_next(model, &row) != 0) {
    gchar* text = nullptr;
    gtk_tree_model_get(model, &row, 0, &text, -1);
    rows.emplace_back(text);
    g_free(text);
  }
  return rows;
}

// Widgets are touched only when their control shows something else: what GTK holds meanwhile
// (here a text set behind the backend's back) stays until then.
TEST(ControlWidgetsTest, WidgetsOfAnUnchangedControlAreNotTouched) {
  TNoInput input;
  TFontClasses fonts;
  TControlWidgets widgets = MakeWidgets(TWidgetKind::GroupBox, nullptr, input);
  TControlState state;
  state.text = "&Open";
  EXPECT_TRUE(UpdateWidgets(widgets, state, fonts));
  EXPECT_EQ(LabelText(widgets.caption), "_Open");
  gtk_label_set_text(GTK_LABEL(widgets.caption), "elsewhere");
  EXPECT_FALSE(UpdateWidgets(widgets, state, fonts));
  EXPECT_EQ(LabelText(widgets.caption), "elsewhere");
  state.hint = "Opens a file";
  EXPECT_TRUE(UpdateWidgets(widgets, state, fonts));
  EXPECT_EQ(LabelText(widgets.caption), "_Open");
  DestroyWidgets(widgets);
}

// As many new lines as before (a language switch) are written into the same store; another
// count brings a new one. Either way the rows are the items.
TEST(ControlWidgetsTest, ListLinesChangeInPlaceWhenTheirCountStays) {
  TNoInput input;
  TFontClasses fonts;
  TControlWidgets widgets = MakeWidgets(TWidgetKind::ListBox, nullptr, input);
  TControlState state;
  state.items = {"Red", "Green", "Blue"};
  UpdateWidgets(widgets, state, fonts);
  GtkTreeModel* model = gtk_tree_view_get_model(GTK_TREE_VIEW(widgets.content));
  state.items = {"Rot", "Green", "Blau"};
  UpdateWidgets(widgets, state, fonts);
  EXPECT_EQ(gtk_tree_view_get_model(GTK_TREE_VIEW(widgets.content)), model);
  EXPECT_EQ(Rows(widgets.content), state.items);
  state.items = {"Rot"};
  UpdateWidgets(widgets, state, fonts);
  EXPECT_NE(gtk_tree_view_get_model(GTK_TREE_VIEW(widgets.content)), model);
  EXPECT_EQ(Rows(widgets.content), state.items);
  DestroyWidgets(widgets);
}

// A new direction waits in the list until it is applied, each widget of a control once; the
// widgets then read the other way, the fixed boxes of containers never.
TEST(ControlWidgetsTest, NewDirectionsWaitAndEachWidgetTurnsOnce) {
  TNoInput input;
  TFontClasses fonts;
  struct TCase {
    TWidgetKind kind;
    std::size_t changes;
  };
  for (const TCase& kase : {TCase{TWidgetKind::Memo, 2}, TCase{TWidgetKind::ListBox, 2},
                            TCase{TWidgetKind::Container, 0}}) {
    TControlWidgets widgets = MakeWidgets(kase.kind, nullptr, input);
    TControlState state;
    UpdateWidgets(widgets, state, fonts);
    state.rightToLeft = true;
    TDirectionChanges changes;
    EXPECT_TRUE(UpdateWidgets(widgets, state, fonts, &changes));
    EXPECT_EQ(changes.size(), kase.changes) << static_cast<int>(kase.kind);
    EXPECT_NE(gtk_widget_get_direction(widgets.content), GTK_TEXT_DIR_RTL);
    ApplyDirections(changes);
    for (const TDirectionChange& change : changes)
      EXPECT_EQ(gtk_widget_get_direction(change.widget), GTK_TEXT_DIR_RTL);
    DestroyWidgets(widgets);
  }
}

}  // namespace
}  // namespace lx::screen

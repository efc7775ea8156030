#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <string>
#include <utility>
#include <vector>

#include "ScreenFixture.h"
#include "framework/controls/StdCtrls.h"
#include "screen/internal/DrawnLabels.h"
#include "screen/internal/FixedBox.h"

namespace lx::screen::test {
namespace {

using namespace framework;

TEdit* PutEdit(TWinControl* parent, const char* name, TBounds bounds, const char* text) {
  auto* edit = Put<TEdit>(parent, name, bounds);
  edit->SetText(text);
  return edit;
}

class DrawnEditsTest : public ScreenTest {
 protected:
  DrawnEditsTest() {
    form_ = new TForm(nullptr);
    form_->SetName("Form");
    form_->SetBounds(0, 0, 300, 120);
    first_ = PutEdit(form_, "First", {10, 10, 120, 24}, "one");
    second_ = PutEdit(form_, "Second", {10, 40, 120, 24}, "two");
    off_ = PutEdit(form_, "Off", {10, 70, 120, 24}, "off");
    off_->SetEnabled(false);
    first_->OnChange = [this](TObject*) { ++changes_; };
    second_->OnChange = [this](TObject*) { ++changes_; };
    form_->Show();
    Refresh();
  }
  ~DrawnEditsTest() override { delete form_; }

  GtkWidget* window() const { return backend().WindowOf(*form_); }
  TBoxLabels& labels() const { return LabelsOf(backend().BoxOf(*form_)); }
  GtkEntry* entry() const { return GTK_ENTRY(labels().Entry()); }

  // The edit under the entry, by name; "" when the entry is not shown.
  std::string EditingName() const {
    const TDrawnLabel* editing = labels().Editing();
    if (editing == nullptr) return "";
    EXPECT_TRUE(gtk_widget_get_visible(labels().Entry()));
    EXPECT_TRUE(gtk_widget_is_focus(labels().Entry()));
    return static_cast<const TControl*>(editing->key)->Name();
  }

  void Key(guint keyval, guint modifiers = 0) {
    PressKey(window(), keyval, modifiers);
    Refresh();
  }

  TForm* form_;
  TEdit* first_;
  TEdit* second_;
  TEdit* off_;
  int changes_ = 0;
};

// A click puts the entry exactly over the edit with its text; another click moves it.
TEST_F(DrawnEditsTest, AClickPutsTheEntryOverTheEditWithItsText) {
  struct TCase {
    TEdit* clicked;
    const char* editing;
    const char* text;
  };
  for (const TCase& kase :
       {TCase{first_, "First", "one"}, TCase{second_, "Second", "two"}, TCase{off_, "", ""}}) {
    gtk_window_set_focus(GTK_WINDOW(window()), nullptr);
    Click(*kase.clicked);
    Refresh();
    EXPECT_EQ(EditingName(), kase.editing) << kase.clicked->Name();
    if (*kase.editing == '\0') continue;
    EXPECT_STREQ(gtk_entry_get_text(entry()), kase.text);
    EXPECT_EQ(AllocationIn(labels().Entry(), backend().BoxOf(*form_)), BoundsOf(*kase.clicked));
    EXPECT_EQ(changes_, 0) << "filling the entry is no edit";
  }
}

// The cursor goes where the click fell in the text the record showed.
TEST_F(DrawnEditsTest, AClickPutsTheCursorWhereItFell) {
  cairo_surface_destroy(Drawing(window()));
  const TDrawnLabel& drawn = Drawn(*second_);
  for (const auto& [x, position] :
       {std::pair{drawn.textPlace.x + 1, 0}, std::pair{drawn.look.place.x + 110, 3}}) {
    gtk_window_set_focus(GTK_WINDOW(window()), nullptr);
    ClickIn(drawn.box, x, drawn.look.place.y + 12);
    EXPECT_EQ(EditingName(), "Second");
    EXPECT_EQ(gtk_editable_get_position(GTK_EDITABLE(entry())), position) << x;
  }
}

// Typing reaches the control; Tab leaves the edit, which draws the new text itself, and the
// walk goes on from the edit's place, past the disabled edit, both ways.
TEST_F(DrawnEditsTest, TypingReachesTheControlAndTabLeavesTheEdit) {
  Click(*first_);
  gtk_entry_set_text(entry(), "typed");
  Refresh();
  EXPECT_EQ(first_->Text(), "typed");
  EXPECT_EQ(changes_, 1);
  struct TCase {
    guint keyval;
    guint modifiers;
    const char* editing;
  };
  for (const TCase& kase :
       {TCase{GDK_KEY_Tab, 0, "Second"}, TCase{GDK_KEY_ISO_Left_Tab, GDK_SHIFT_MASK, "First"},
        TCase{GDK_KEY_Tab, 0, "Second"}, TCase{GDK_KEY_Tab, 0, "First"}}) {
    Key(kase.keyval, kase.modifiers);
    EXPECT_EQ(EditingName(), kase.editing) << kase.keyval;
    int start = -1;
    int end = -1;
    gtk_editable_get_selection_bounds(GTK_EDITABLE(entry()), &start, &end);
    EXPECT_EQ(end - start, static_cast<int>(gtk_entry_get_text_length(entry()))) << "all chosen";
  }
  gtk_window_set_focus(GTK_WINDOW(window()), nullptr);
  EXPECT_EQ(EditingName(), "");
  EXPECT_FALSE(gtk_widget_get_visible(labels().Entry()));
  EXPECT_EQ(Drawn(*first_).text, "typed");
  EXPECT_EQ(Drawn(*second_).text, "two");
}

// The window losing the focus is not the edit losing it.
TEST_F(DrawnEditsTest, TheWindowLosingTheFocusKeepsTheEntry) {
  Click(*second_);
  GdkEvent* out = gdk_event_new(GDK_FOCUS_CHANGE);
  out->focus_change.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(window())));
  out->focus_change.in = FALSE;
  Deliver(out, gtk_widget_get_window(window()), true);
  EXPECT_EQ(EditingName(), "Second");
}

// What the program sets (text, hint) goes into the shown entry without coming back as an
// edit; an edit disabled meanwhile gives the entry up.
TEST_F(DrawnEditsTest, TheProgramsTextReachesTheShownEntry) {
  Click(*first_);
  first_->SetText("from the program");
  first_->SetHint("Your name");
  const int made = changes_;
  Refresh();
  EXPECT_STREQ(gtk_entry_get_text(entry()), "from the program");
  gchar* hint = gtk_widget_get_tooltip_text(labels().Entry());
  EXPECT_STREQ(hint, "Your name");
  g_free(hint);
  EXPECT_EQ(changes_, made);
  EXPECT_EQ(first_->Text(), "from the program");
  first_->SetEnabled(false);
  Refresh();
  EXPECT_EQ(EditingName(), "");
  EXPECT_FALSE(gtk_widget_get_visible(labels().Entry()));
}

// An edit freed while typed into gives the entry up.
TEST_F(DrawnEditsTest, AnEditGoneWhileTypedIntoGivesTheEntryUp) {
  Click(*second_);
  delete second_;
  Refresh();
  EXPECT_EQ(EditingName(), "");
  EXPECT_FALSE(gtk_widget_get_visible(labels().Entry()));
}

// A mirrored edit's text ends at its right edge, drawn and in the entry alike.
TEST_F(DrawnEditsTest, RightToLeftAlignsTheTextToTheEnd) {
  for (const bool rightToLeft : {true, false}) {
    first_->SetBiDiMode(rightToLeft ? bdRightToLeft : bdLeftToRight);
    Refresh();
    cairo_surface_destroy(Drawing(window()));
    const TDrawnLabel& drawn = Drawn(*first_);
    ASSERT_TRUE(drawn.line != nullptr || drawn.layout != nullptr);
    const PangoRectangle logical = TextLogical(drawn);
    const int end = drawn.layoutX + logical.x + logical.width;
    EXPECT_EQ(rightToLeft ? end : drawn.layoutX + logical.x,
              rightToLeft ? drawn.textPlace.width : 0);
    EXPECT_GT(drawn.textPlace.x, drawn.look.place.x) << "inside the entry's border";
    Click(*first_);
    EXPECT_EQ(gtk_entry_get_alignment(entry()), rightToLeft ? 1.0F : 0.0F);
    gtk_window_set_focus(GTK_WINDOW(window()), nullptr);
    EXPECT_EQ(EditingName(), "");
  }
}

}  // namespace
}  // namespace lx::screen::test

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "ScreenFixture.h"
#include "framework/controls/StdCtrls.h"
#include "screen/internal/DrawnLabels.h"
#include "screen/internal/FixedBox.h"

namespace lx::screen::test {
namespace {

using namespace framework;

// The window's pixels in a rectangle of the box, row by row.
std::vector<std::uint32_t> Pixels(GtkWidget* window, GtkWidget* box, GdkRectangle r) {
  cairo_surface_t* image = Drawing(window);
  int dx = 0;
  int dy = 0;
  gtk_widget_translate_coordinates(box, window, 0, 0, &dx, &dy);
  std::vector<std::uint32_t> pixels;
  for (int y = r.y; y < r.y + r.height; ++y) {
    const unsigned char* row =
        cairo_image_surface_get_data(image) + (y + dy) * cairo_image_surface_get_stride(image);
    for (int x = r.x; x < r.x + r.width; ++x)
      pixels.push_back(reinterpret_cast<const std::uint32_t*>(row)[x + dx] & 0xFFFFFF);
  }
  cairo_surface_destroy(image);
  return pixels;
}

// Pixels of the window unlike the form's background (at 2, 2) in a rectangle of the box.
int Ink(GtkWidget* window, GtkWidget* box, GdkRectangle r) {
  const std::uint32_t background = Pixels(window, box, {2, 2, 1, 1}).front();
  const std::vector<std::uint32_t> pixels = Pixels(window, box, r);
  return static_cast<int>(std::count_if(pixels.begin(), pixels.end(),
                                        [background](std::uint32_t p) { return p != background; }));
}

// The darkest grey of a rectangle of the box, 0 to 255.
int Darkest(GtkWidget* window, GtkWidget* box, GdkRectangle r) {
  int darkest = 255;
  for (const std::uint32_t p : Pixels(window, box, r))
    darkest = std::min(darkest, GreyOf(p));
  return darkest;
}

class DrawnButtonsTest : public ScreenTest {
 protected:
  DrawnButtonsTest() {
    form_ = new TForm(nullptr);
    form_->SetName("Form");
    form_->SetBounds(0, 0, 300, 160);
    help_ = Put<TButton>(form_, "Help", {10, 10, 80, 25}, "&Help");
    edit_ = Put<TEdit>(form_, "Edit", {100, 10, 100, 21});
    wrap_ = Put<TCheckBox>(form_, "Wrap", {10, 50, 120, 17}, "&Wrap");
    first_ = Put<TRadioButton>(form_, "First", {10, 80, 120, 17}, "&First");
    off_ = Put<TButton>(form_, "Off", {150, 80, 80, 25}, "&Off");
    off_->SetEnabled(false);
    help_->OnClick = Note("Help");
    off_->OnClick = Note("Off");
    wrap_->OnClick = Note("Wrap");
    first_->OnClick = Note("First");
    form_->Show();
    Refresh();
  }
  ~DrawnButtonsTest() override { delete form_; }

  TNotifyEvent Note(const char* name) {
    return [this, name](TObject*) { events_.push_back(name); };
  }

  GtkWidget* window() const { return backend().WindowOf(*form_); }
  GtkWidget* box() const { return backend().BoxOf(*form_); }

  // The control that has the window's focus: a drawn one through its box.
  std::string FocusedName() const {
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window()));
    if (focus == nullptr) return "";
    if (IsFixedBox(focus)) {
      const TDrawnLabel* drawn = LabelsOf(focus).Focused();
      return drawn != nullptr ? static_cast<const TControl*>(drawn->key)->Name() : "box";
    }
    const TDrawnLabel* editing = LabelsOf(box()).Editing();
    return focus == LabelsOf(box()).Entry() && editing != nullptr
               ? static_cast<const TControl*>(editing->key)->Name()
               : "other";
  }

  void Key(guint keyval, guint modifiers = 0) {
    PressKey(window(), keyval, modifiers);
    Refresh();
  }

  TForm* form_;
  TButton* help_;
  TEdit* edit_;
  TCheckBox* wrap_;
  TRadioButton* first_;
  TButton* off_;
  std::vector<std::string> events_;
};

// A click answers as the kind does; the framework's new state comes back into the record.
TEST_F(DrawnButtonsTest, AClickClicksOrToggles) {
  struct TCase {
    TControl* control;
    std::size_t events;
    bool checked;
  };
  // A checked radio button clicked again stays as it is.
  for (const TCase& kase :
       {TCase{help_, 1, false}, TCase{wrap_, 1, true}, TCase{wrap_, 1, false},
        TCase{first_, 1, true}, TCase{first_, 0, true}, TCase{off_, 0, false}}) {
    events_.clear();
    Click(*kase.control);
    Refresh();
    EXPECT_EQ(events_.size(), kase.events) << kase.control->Name();
    EXPECT_EQ(Drawn(*kase.control).look.checked, kase.checked) << kase.control->Name();
    EXPECT_EQ(LabelsOf(box()).Pressed(), nullptr);
  }
  // A disabled button takes neither the click nor the focus.
  EXPECT_NE(FocusedName(), "Off");
}

// A press shows pressed and takes the focus; a release elsewhere does not click.
TEST_F(DrawnButtonsTest, AReleaseOffTheButtonDoesNotClick) {
  const GdkRectangle& place = Drawn(*help_).look.place;
  GdkEvent* press = gdk_event_new(GDK_BUTTON_PRESS);
  press->button.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(box())));
  press->button.x = place.x + 5;
  press->button.y = place.y + 5;
  press->button.button = 1;
  Deliver(press, gtk_widget_get_window(box()), false);
  EXPECT_EQ(LabelsOf(box()).Pressed(), &Drawn(*help_));
  EXPECT_EQ(FocusedName(), "Help");
  ClickIn(box(), 250, 140);  // the release comes where the pointer went
  EXPECT_EQ(LabelsOf(box()).Pressed(), nullptr);
  EXPECT_TRUE(events_.empty());
}

// Tab and Shift+Tab walk the drawn buttons and the real widgets in the control order,
// passing by a disabled button, and leave the box at either end.
TEST_F(DrawnButtonsTest, TabWalksDrawnButtonsAndWidgetsInControlOrder) {
  struct TCase {
    guint modifiers;
    std::vector<std::string> way;
  };
  for (const TCase& kase : {TCase{0, {"Help", "Edit", "Wrap", "First", "Help"}},
                            TCase{GDK_SHIFT_MASK, {"First", "Wrap", "Edit", "Help", "First"}}}) {
    gtk_window_set_focus(GTK_WINDOW(window()), nullptr);
    std::vector<std::string> way;
    for (std::size_t i = 0; i < kase.way.size(); ++i) {
      Key(kase.modifiers != 0 ? GDK_KEY_ISO_Left_Tab : GDK_KEY_Tab, kase.modifiers);
      way.push_back(FocusedName());
    }
    EXPECT_EQ(way, kase.way) << kase.modifiers;
  }
}

// Space clicks the focused button or toggles the focused check box; Return clicks buttons
// only, and keys go to no button while a widget has the focus.
TEST_F(DrawnButtonsTest, SpaceAndReturnAnswerOnTheFocusedButton) {
  struct TCase {
    TControl* focused;
    guint keyval;
    std::size_t events;
  };
  for (const TCase& kase : {TCase{help_, GDK_KEY_space, 1}, TCase{help_, GDK_KEY_Return, 1},
                            TCase{wrap_, GDK_KEY_space, 1}, TCase{wrap_, GDK_KEY_Return, 0},
                            TCase{edit_, GDK_KEY_space, 0}}) {
    LabelsOf(box()).Activate(*const_cast<TDrawnLabel*>(&Drawn(*kase.focused)));
    Refresh();
    events_.clear();
    Key(kase.keyval);
    EXPECT_EQ(events_.size(), kase.events) << kase.focused->Name() << " " << kase.keyval;
  }
  EXPECT_TRUE(wrap_->Checked());  // toggled twice by Activate and Space, once back
  // A held Space answers once, when let go.
  LabelsOf(box()).Activate(*const_cast<TDrawnLabel*>(&Drawn(*help_)));
  events_.clear();
  PressKey(window(), GDK_KEY_space, 0, 3);
  EXPECT_EQ(events_.size(), 1u);
}

// Alt and the hot key (the key alone while the window shows mnemonics) answers the button
// and focuses it; a disabled button's hot key does nothing.
TEST_F(DrawnButtonsTest, AHotKeyAnswersItsButton) {
  struct TCase {
    guint keyval;
    guint modifiers;
    bool mnemonicsShown;
    std::vector<std::string> events;
  };
  for (const TCase& kase :
       {TCase{GDK_KEY_h, GDK_MOD1_MASK, false, {"Help"}},
        TCase{GDK_KEY_W, GDK_MOD1_MASK, false, {"Wrap"}}, TCase{GDK_KEY_f, 0, true, {"First"}},
        TCase{GDK_KEY_f, 0, false, {}}, TCase{GDK_KEY_o, GDK_MOD1_MASK, false, {}}}) {
    gtk_window_set_focus(GTK_WINDOW(window()), nullptr);
    gtk_window_set_mnemonics_visible(GTK_WINDOW(window()), kase.mnemonicsShown);
    events_.clear();
    Key(kase.keyval, kase.modifiers);
    EXPECT_EQ(events_, kase.events) << kase.keyval;
    if (!kase.events.empty()) {
      EXPECT_EQ(FocusedName(), kase.events[0]);
    }
  }
}

// The hint at a point is the button's there; for the keyboard, the focused button's.
TEST_F(DrawnButtonsTest, TheHintIsTheButtonsAtThePointOrWithTheFocus) {
  help_->SetHint("Opens the help");
  wrap_->SetHint("Wraps lines");
  Refresh();
  auto* tooltip = static_cast<GtkTooltip*>(g_object_new(GTK_TYPE_TOOLTIP, nullptr));
  auto asked = [&](int x, int y, bool keyboard) {
    gboolean shown = FALSE;
    g_signal_emit_by_name(box(), "query-tooltip", x, y, keyboard, tooltip, &shown);
    return shown != FALSE;
  };
  EXPECT_TRUE(asked(20, 20, false));
  EXPECT_FALSE(asked(250, 140, false));
  gtk_window_set_focus(GTK_WINDOW(window()), nullptr);
  EXPECT_FALSE(asked(0, 0, true));
  LabelsOf(box()).Activate(*const_cast<TDrawnLabel*>(&Drawn(*wrap_)));
  EXPECT_TRUE(asked(0, 0, true));
  g_object_unref(tooltip);
}

// A button draws its frame and caption within its rectangle; a check box's mark stands at
// its start, on the right when right to left.
TEST_F(DrawnButtonsTest, DrawnWithinTheirRectangles) {
  struct TCase {
    bool rightToLeft;
    GdkRectangle markRoom;
    GdkRectangle caption;  // next to the mark
    GdkRectangle captionEnd;
  };
  EXPECT_GT(Ink(window(), box(), {10, 10, 80, 25}), 200);
  EXPECT_EQ(Ink(window(), box(), {0, 0, 300, 8}), 0);
  EXPECT_EQ(Ink(window(), box(), {92, 10, 6, 25}), 0);
  // A caption taller than a low button is cut within it.
  help_->SetCaption("\xC3\x89gjpq");
  help_->SetHeight(8);
  Refresh();
  EXPECT_EQ(Ink(window(), box(), {10, 0, 80, 10}), 0);
  EXPECT_EQ(Ink(window(), box(), {10, 18, 80, 20}), 0);
  wrap_->SetCaption("W");
  for (const TCase& kase : {TCase{false, {10, 50, 22, 17}, {32, 50, 20, 17}, {106, 50, 24, 17}},
                            TCase{true, {108, 50, 22, 17}, {88, 50, 20, 17}, {10, 50, 24, 17}}}) {
    wrap_->SetBiDiMode(kase.rightToLeft ? bdRightToLeft : bdLeftToRight);
    Refresh();
    EXPECT_GT(Ink(window(), box(), kase.markRoom), 20) << kase.rightToLeft;
    EXPECT_GT(Ink(window(), box(), kase.caption), 0) << kase.rightToLeft;
    EXPECT_EQ(Ink(window(), box(), kase.captionEnd), 0) << kase.rightToLeft;
  }
  // A mark taller than a low check box is cut within it.
  wrap_->SetBiDiMode(bdLeftToRight);
  wrap_->SetBounds(10, 50, 120, 8);
  Refresh();
  EXPECT_GT(Ink(window(), box(), {10, 50, 22, 8}), 0);
  EXPECT_EQ(Ink(window(), box(), {10, 40, 22, 10}) + Ink(window(), box(), {10, 58, 22, 10}), 0);
}

// A caption takes its colour from the theme for its button's state: a disabled one is pale.
TEST_F(DrawnButtonsTest, ADisabledCaptionIsPale) {
  off_->SetCaption("Help");
  help_->SetCaption("Help");
  Refresh();
  EXPECT_GT(Darkest(window(), box(), {150, 85, 80, 15}),
            Darkest(window(), box(), {10, 15, 80, 15}) + 40);
}

// The theme's picture of a button or mark is made once per state and size: items alike look
// alike, and each state looks its own.
TEST_F(DrawnButtonsTest, ItemsAlikeLookAlikeAndEachStateItsOwn) {
  // The left ends of the two buttons of one size: frame and background, no caption.
  auto ends = [this] {
    return std::pair{Pixels(window(), box(), {10, 10, 12, 25}),
                     Pixels(window(), box(), {150, 80, 12, 25})};
  };
  auto [help, off] = ends();
  EXPECT_NE(help, off);  // the disabled one
  off_->SetEnabled(true);
  Refresh();
  std::tie(help, off) = ends();
  EXPECT_EQ(help, off);
  // A taller button gets a picture of its own height: its frame's bottom edge.
  off_->SetBounds(150, 80, 80, 40);
  Refresh();
  EXPECT_GT(Ink(window(), box(), {150, 117, 80, 3}), 60);
  const GdkRectangle mark{10, 50, 22, 17};
  const std::vector<std::uint32_t> unchecked = Pixels(window(), box(), mark);
  wrap_->SetChecked(true);
  Refresh();
  EXPECT_NE(Pixels(window(), box(), mark), unchecked);
}

}  // namespace
}  // namespace lx::screen::test

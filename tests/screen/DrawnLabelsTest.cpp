#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "ScreenFixture.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/StdCtrls.h"
#include "screen/internal/DrawnLabels.h"
#include "screen/internal/FixedBox.h"

namespace lx::screen::test {
namespace {

using namespace framework;

// Pixels of a window drawn into an image, read by the box's coordinates.
class TPicture {
 public:
  TPicture(GtkWidget* window, GtkWidget* box) : image_(Drawing(window)) {
    gtk_widget_translate_coordinates(box, window, 0, 0, &dx_, &dy_);
    background_ =
        At(gtk_widget_get_allocated_width(box) - 2, gtk_widget_get_allocated_height(box) - 2);
  }
  ~TPicture() { cairo_surface_destroy(image_); }
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;

  std::uint32_t At(int x, int y) const {
    const unsigned char* row =
        cairo_image_surface_get_data(image_) + (y + dy_) * cairo_image_surface_get_stride(image_);
    return reinterpret_cast<const std::uint32_t*>(row)[x + dx_] & 0xFFFFFF;
  }
  // Pixels other than the background in the rectangle.
  int Ink(int left, int top, int width, int height) const {
    int ink = 0;
    for (int y = top; y < top + height; ++y) {
      for (int x = left; x < left + width; ++x)
        ink += At(x, y) != background_ ? 1 : 0;
    }
    return ink;
  }
  // The darkest grey of the rectangle, 0 to 255.
  int Darkest(int left, int top, int width, int height) const {
    int darkest = 255;
    for (int y = top; y < top + height; ++y) {
      for (int x = left; x < left + width; ++x) {
        darkest = std::min(darkest, GreyOf(At(x, y)));
      }
    }
    return darkest;
  }

 private:
  cairo_surface_t* image_;
  int dx_ = 0;
  int dy_ = 0;
  std::uint32_t background_ = 0;
};

class DrawnLabelsTest : public ScreenTest {
 protected:
  DrawnLabelsTest() {
    form_ = new TForm(nullptr);
    form_->SetName("Form");
    form_->SetBounds(0, 0, 240, 120);
    label_ = Put<TLabel>(form_, "Label", {20, 20, 100, 16}, "Ab");
    form_->Show();
    Refresh();
  }
  ~DrawnLabelsTest() override { delete form_; }

  GtkWidget* window() const { return backend().WindowOf(*form_); }
  GtkWidget* box() const { return backend().BoxOf(*form_); }
  TPicture Picture() const { return TPicture(window(), box()); }

  // The area waiting to be drawn again, in the box's coordinates (the box's own window and
  // the window's around it); empty when none.
  GdkRectangle Invalid() const {
    int x = 0;
    int y = 0;
    gtk_widget_translate_coordinates(box(), window(), 0, 0, &x, &y);
    GdkRectangle all{0, 0, 0, 0};
    for (GtkWidget* widget : {box(), window()}) {
      cairo_region_t* region = gdk_window_get_update_area(gtk_widget_get_window(widget));
      if (region == nullptr) continue;
      GdkRectangle area;
      cairo_region_get_extents(region, &area);
      cairo_region_destroy(region);
      if (widget == window()) area = {area.x - x, area.y - y, area.width, area.height};
      if (all.width == 0) {
        all = area;
      } else {
        gdk_rectangle_union(&all, &area, &all);
      }
    }
    return all;
  }

  TForm* form_;
  TLabel* label_;
};

// The text starts at the label's left edge, or its right edge when right to left; a long one
// is cut within the label, and nothing is drawn outside it.
TEST_F(DrawnLabelsTest, ALabelDrawsItsTextWithinItsRectangleOnly) {
  struct TCase {
    const char* caption;
    bool rightToLeft;
    bool inkLeft;
    bool inkRight;
  };
  for (const TCase& kase :
       {TCase{"Ab", false, true, false}, TCase{"Ab", true, false, true},
        TCase{"A caption far longer than the label is wide", false, true, true},
        TCase{"A caption far longer than the label is wide", true, true, true}}) {
    label_->SetCaption(kase.caption);
    label_->SetBiDiMode(kase.rightToLeft ? bdRightToLeft : bdLeftToRight);
    Refresh();
    const TPicture picture = Picture();
    const std::string what = std::string(kase.caption) + (kase.rightToLeft ? " rtl" : " ltr");
    EXPECT_EQ(picture.Ink(20, 20, 50, 16) > 0, kase.inkLeft) << what;
    EXPECT_EQ(picture.Ink(70, 20, 50, 16) > 0, kase.inkRight) << what;
    EXPECT_EQ(picture.Ink(0, 0, 240, 20), 0) << what;
    EXPECT_EQ(picture.Ink(0, 40, 240, 40), 0) << what;
    EXPECT_EQ(picture.Ink(0, 20, 20, 16), 0) << what;
    EXPECT_EQ(picture.Ink(120, 20, 120, 16), 0) << what;
  }
}

// A text of its own direction keeps its layout when the label turns, and still moves to the
// other side; a text without one is laid out again in the new direction.
TEST_F(DrawnLabelsTest, ATurnedLabelKeepsTheLayoutOfATextWithADirection) {
  for (const auto& [caption, kept] : {std::pair{"Ab", true}, std::pair{"12", false}}) {
    label_->SetBiDiMode(bdLeftToRight);
    label_->SetCaption(caption);
    Refresh();
    const PangoFontDescription* before = TextFont(*backend().LabelOf(*label_));
    label_->SetBiDiMode(bdRightToLeft);
    Refresh();
    EXPECT_EQ(TextFont(*backend().LabelOf(*label_)) == before, kept) << caption;
    EXPECT_EQ(Picture().Ink(20, 20, 50, 16), 0) << caption;
    EXPECT_GT(Picture().Ink(70, 20, 50, 16), 0) << caption;
  }
}

// A label lower than its font still shows its descenders below its rectangle, as GTK's
// labels do; sideways it stays within its rectangle.
TEST_F(DrawnLabelsTest, ALowLabelShowsItsDescenders) {
  label_->SetCaption("gjpq gjpq gjpq gjpq gjpq gjpq gjpq");
  label_->SetHeight(6);
  Refresh();
  const TPicture picture = Picture();
  EXPECT_GT(picture.Ink(20, 26, 100, 14), 0);
  EXPECT_EQ(picture.Ink(120, 0, 120, 60), 0);
  EXPECT_EQ(picture.Ink(0, 0, 20, 60), 0);
  // Drawn again, descenders and all, when it changes.
  Refresh();
  label_->SetCaption("gjpq");
  backend().Sync();
  EXPECT_GT(Invalid().height, 6);
}

// A disabled label takes the theme's insensitive colour, a hidden one draws nothing.
TEST_F(DrawnLabelsTest, DisabledLabelsArePaleAndHiddenOnesAreNotDrawn) {
  const int enabled = Picture().Darkest(20, 20, 100, 16);
  label_->SetEnabled(false);
  Refresh();
  EXPECT_GT(Picture().Darkest(20, 20, 100, 16), enabled + 40);
  label_->SetVisible(false);
  Refresh();
  EXPECT_EQ(Picture().Ink(20, 20, 100, 16), 0);
}

// Hot keys are underlined only while the window shows mnemonics; showing them redraws.
TEST_F(DrawnLabelsTest, HotKeysAreUnderlinedWhileTheWindowShowsMnemonics) {
  label_->SetCaption("&Wide");
  gtk_window_set_mnemonics_visible(GTK_WINDOW(window()), FALSE);
  Refresh();
  const int plain = Picture().Ink(20, 20, 100, 16);
  Invalid();
  gtk_window_set_mnemonics_visible(GTK_WINDOW(window()), TRUE);
  const GdkRectangle redrawn = Invalid();
  EXPECT_EQ(redrawn.x, 20);
  EXPECT_EQ(redrawn.width, 100);
  EXPECT_GT(Picture().Ink(20, 20, 100, 16), plain);
}

// A changed label redraws its old and its new rectangle, and nothing else.
TEST_F(DrawnLabelsTest, AChangedLabelRedrawsOnlyWhereItWasAndIs) {
  struct TCase {
    const char* caption;
    int left;
    GdkRectangle redrawn;
  };
  for (const TCase& kase :
       {TCase{"Other", 20, {20, 20, 100, 16}}, TCase{"Other", 50, {20, 20, 130, 16}},
        TCase{"Other", 50, {0, 0, 0, 0}}}) {
    Invalid();
    label_->SetCaption(kase.caption);
    label_->SetLeft(kase.left);
    backend().Sync();
    const GdkRectangle redrawn = Invalid();
    EXPECT_EQ(redrawn.x, kase.redrawn.x) << kase.left;
    EXPECT_EQ(redrawn.y, kase.redrawn.y) << kase.left;
    EXPECT_EQ(redrawn.width, kase.redrawn.width) << kase.left;
    EXPECT_EQ(redrawn.height, kase.redrawn.height) << kase.left;
  }
}

// Areas to redraw wait for the outermost batch to end, many of a box as the one rectangle around
// them; a box freed meanwhile is forgotten.
TEST_F(DrawnLabelsTest, RedrawsWaitForTheBatchToEnd) {
  for (int i = 0; i < 20; ++i)
    Put<TLabel>(form_, ("Row" + std::to_string(i)).c_str(), {130, 4 * i, 100, 4}, "Row");
  Refresh();
  Invalid();
  {
    const TRedrawBatch batch;
    auto* other = new TForm(nullptr);
    Put<TLabel>(other, "Gone", {0, 0, 50, 16}, "Gone");
    other->Show();
    label_->SetCaption("Other");
    for (int i = 0; i < 20; ++i)
      static_cast<TLabel*>(form_->FindComponent("Row" + std::to_string(i)))->SetCaption("New");
    backend().Sync();
    EXPECT_EQ(Invalid().width, 0);
    delete other;
    backend().Sync();
  }
  const GdkRectangle redrawn = Invalid();
  EXPECT_EQ(redrawn.x, 20);
  EXPECT_EQ(redrawn.y, 0);
  EXPECT_EQ(redrawn.width, 210);
  EXPECT_GE(redrawn.height, 80);  // the last rows' text reaches below them
}

// The hint shown is the topmost label's at the pointer: the last in z-order.
TEST_F(DrawnLabelsTest, TheHintAtAPointIsTheTopmostLabels) {
  label_->SetHint("first");
  auto* second = Put<TLabel>(form_, "Second", {60, 20, 100, 16}, "Cd");
  second->SetHint("second");
  Refresh();
  const TBoxLabels& labels = LabelsOf(box());
  EXPECT_TRUE(gtk_widget_get_has_tooltip(box()));
  ASSERT_NE(labels.At(70, 25), nullptr);
  EXPECT_EQ(labels.At(70, 25)->key, second);
  EXPECT_EQ(labels.At(30, 25)->key, label_);
  EXPECT_EQ(labels.At(30, 60), nullptr);
  // What GTK asks the box when the pointer rests.
  auto* tooltip = static_cast<GtkTooltip*>(g_object_new(GTK_TYPE_TOOLTIP, nullptr));
  auto asked = [&](int x, int y) {
    gboolean shown = FALSE;
    g_signal_emit_by_name(box(), "query-tooltip", x, y, FALSE, tooltip, &shown);
    return shown != FALSE;
  };
  EXPECT_TRUE(asked(70, 25));
  EXPECT_FALSE(asked(30, 60));
  g_object_unref(tooltip);
  // Put on top of the other again.
  label_->SetParent(nullptr);
  label_->SetParent(form_);
  Refresh();
  EXPECT_EQ(labels.At(70, 25)->key, label_);
  second->SetVisible(false);
  label_->SetHint("");
  Refresh();
  EXPECT_FALSE(gtk_widget_get_has_tooltip(box()));
}

// A label freed leaves no record; one given to another parent is drawn by that parent's box.
TEST_F(DrawnLabelsTest, AFreedOrMovedLabelLeavesNoRecordBehind) {
  auto* panel = Put<TPanel>(form_, "Panel", {10, 50, 200, 60});
  Refresh();
  label_->SetParent(panel);
  Refresh();
  EXPECT_TRUE(LabelsOf(box()).Labels().empty());
  ASSERT_NE(backend().LabelOf(*label_), nullptr);
  EXPECT_EQ(backend().LabelOf(*label_)->box, Widgets(*panel).box);
  EXPECT_EQ(LabelsOf(Widgets(*panel).box).Labels().size(), 1u);
  // Drawn over the panel's frame, in the panel's coordinates.
  EXPECT_GT(Picture().Ink(30, 70, 50, 16), Picture().Ink(80, 70, 50, 16));
  delete label_;
  Refresh();
  EXPECT_TRUE(LabelsOf(Widgets(*panel).box).Labels().empty());
}

}  // namespace
}  // namespace lx::screen::test

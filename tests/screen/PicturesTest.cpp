#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScreenFixture.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/controls/TextRoom.h"
#include "screen/Pictures.h"

namespace lx::screen::test {
namespace {

using namespace framework;

class PicturesTest : public ScreenTest {
 protected:
  PicturesTest() {
    form_ = new TForm(nullptr);
    form_->SetName("Form");
    form_->SetBounds(0, 0, 300, 200);
    form_->SetCaption("Pictures");
    button_ = Put<TButton>(form_, "Button", {8, 8, 75, 25}, "&Help");
    check_ = Put<TCheckBox>(form_, "Check", {8, 40, 120, 17}, "&Wrap");
    list_ = Put<TListBox>(form_, "List", {8, 64, 160, 120});
    list_->Items()->Add("English");
    combo_ = Put<TComboBox>(form_, "Combo", {180, 8, 110, 22});
    combo_->Items()->Add("one");
    combo_->SetItemIndex(0);
  }
  ~PicturesTest() override { delete form_; }

  // How far the widget that draws the text lies inside the control's widgets.
  static TTextInsets InsetsOf(GtkWidget* text, GtkWidget* outer) {
    const TBounds inner = AllocationIn(text, outer);
    GtkAllocation all;
    gtk_widget_get_allocation(outer, &all);
    return {inner.left, all.width - inner.left - inner.width, inner.top,
            all.height - inner.top - inner.height, 0};
  }

  // Where a drawn control is in `window`.
  static TBounds PlaceIn(const TDrawnLabel& drawn, GtkWidget* window) {
    const GdkRectangle& at = drawn.look.place;
    int x = 0;
    int y = 0;
    gtk_widget_translate_coordinates(drawn.box, window, at.x, at.y, &x, &y);
    return {x, y, at.width, at.height};
  }

  // How far a drawn control's text room lies inside its record.
  static TTextInsets InsetsOf(const TDrawnLabel& drawn) {
    const GdkRectangle& all = drawn.look.place;
    const GdkRectangle& room = drawn.textPlace;
    return {room.x - all.x, all.x + all.width - room.x - room.width, room.y - all.y,
            all.y + all.height - room.y - room.height, 0};
  }

  TForm* form_;
  TButton* button_;
  TCheckBox* check_;
  TListBox* list_;
  TComboBox* combo_;
};

// The fit check measures texts against the table; the widgets give their texts that room.
TEST_F(PicturesTest, TheTextRoomTableIsTheRoomTheWidgetsGiveTheirTexts) {
  form_->Show();
  Refresh();
  cairo_surface_destroy(Drawing(backend().WindowOf(*form_)));  // lays the texts out
  EXPECT_EQ(InsetsOf(Drawn(*button_)), TextInsetsOf(TTextRoomKind::Button));
  EXPECT_EQ(InsetsOf(Drawn(*check_)), TextInsetsOf(TTextRoomKind::CheckBox));
  const TTextInsets combo =
      InsetsOf(gtk_bin_get_child(GTK_BIN(Widgets(*combo_).content)), Widgets(*combo_).outer);
  EXPECT_EQ(combo, TextInsetsOf(TTextRoomKind::ComboBox));

  // A list line: its text inside the cell's padding, the line's height its text's and more.
  GtkTreeView* view = GTK_TREE_VIEW(Widgets(*list_).content);
  GtkTreePath* path = gtk_tree_path_new_from_indices(0, -1);
  GtkTreeViewColumn* column = gtk_tree_view_get_column(view, 0);
  GdkRectangle cell;
  GdkRectangle line;
  gtk_tree_view_get_cell_area(view, path, column, &cell);
  gtk_tree_view_get_background_area(view, path, column, &line);
  gtk_tree_path_free(path);
  const TBounds viewPlace = AllocationIn(GTK_WIDGET(view), Widgets(*list_).outer);
  GList* renderers = gtk_cell_layout_get_cells(GTK_CELL_LAYOUT(column));
  int xpad = 0;
  int ypad = 0;
  gtk_cell_renderer_get_padding(GTK_CELL_RENDERER(renderers->data), &xpad, &ypad);
  g_list_free(renderers);
  PangoLayout* layout = gtk_widget_create_pango_layout(GTK_WIDGET(view), "English");
  int textHeight = 0;
  pango_layout_get_pixel_size(layout, nullptr, &textHeight);
  g_object_unref(layout);
  const TTextInsets list = TextInsetsOf(TTextRoomKind::ListBox);
  EXPECT_EQ(viewPlace.left + cell.x + xpad, list.left);
  EXPECT_EQ(viewPlace.top, list.top);
  EXPECT_EQ(line.height - textHeight, list.lineExtra);

  // A label's text starts at its left edge and may take its whole width.
  auto* label = Put<TLabel>(form_, "Label", {180, 40, 100, 13}, "Name");
  Refresh();
  cairo_surface_destroy(Drawing(backend().WindowOf(*form_)));
  ASSERT_NE(TextFont(Drawn(*label)), nullptr);
  const PangoRectangle logical = TextLogical(Drawn(*label));
  EXPECT_EQ(Drawn(*label).layoutX + logical.x, TextInsetsOf(TTextRoomKind::Label).left);
  EXPECT_EQ(Drawn(*label).textPlace.width, 100 - TextInsetsOf(TTextRoomKind::Label).left -
                                               TextInsetsOf(TTextRoomKind::Label).right);
}

// A picture is the window as it shows, with the marked controls outlined.
TEST_F(PicturesTest, APictureOutlinesTheMarkedControls) {
  EXPECT_TRUE(FormPicture(*form_, {}).empty());  // not shown: no window
  form_->Show();
  Refresh();
  const std::vector<std::uint8_t> png = FormPicture(*form_, {{button_, "TForm|Button"}});
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
  // Read back: the outline runs just outside the button's place in the window.
  GInputStream* stream = g_memory_input_stream_new_from_data(png.data(), png.size(), nullptr);
  GdkPixbuf* picture = gdk_pixbuf_new_from_stream(stream, nullptr, nullptr);
  g_object_unref(stream);
  ASSERT_NE(picture, nullptr);
  GtkWidget* window = backend().WindowOf(*form_);
  EXPECT_EQ(gdk_pixbuf_get_width(picture), gtk_widget_get_allocated_width(window));
  const TBounds place = PlaceIn(Drawn(*button_), window);
  const int stride = gdk_pixbuf_get_rowstride(picture);
  const int channels = gdk_pixbuf_get_n_channels(picture);
  auto red = [&](int x, int y) {
    const guchar* pixel = gdk_pixbuf_get_pixels(picture) + y * stride + x * channels;
    return pixel[0] > 180 && pixel[1] < 80 && pixel[2] < 80;
  };
  EXPECT_TRUE(red(place.left + place.width / 2, place.top - 1));
  EXPECT_TRUE(red(place.left - 1, place.top + place.height / 2));
  const TBounds checkPlace = PlaceIn(Drawn(*check_), window);
  EXPECT_FALSE(red(checkPlace.left - 1, checkPlace.top + checkPlace.height / 2));
  g_object_unref(picture);
}

// The top items of the bar are outlined like controls; the shown items of the drop-down menus
// are listed under the window with their keys and texts.
TEST_F(PicturesTest, MenuItemsAreOutlinedInTheBarAndListedUnderTheWindow) {
  auto* menu = new TMainMenu(form_);
  auto item = [&](TMenuItem* parent, const char* caption) {
    auto* made = new TMenuItem(form_);
    made->SetCaption(caption);
    parent->Add(made);
    return made;
  };
  TMenuItem* file = item(menu->Items(), "&File");
  TMenuItem* edit = item(menu->Items(), "&Edit");
  TMenuItem* line = item(file, "-");
  TMenuItem* hidden = item(file, "Hidden");
  hidden->SetVisible(false);
  TMenuItem* exit = item(file, "E&xit");
  TMenuItem* copy = item(edit, "&Copy");
  form_->SetMenu(menu);
  form_->Show();
  Refresh();
  const std::vector<TPictureMark> marks = {{nullptr, "TForm|FileItem", file},
                                           {nullptr, "TForm|LineItem", line},
                                           {nullptr, "TForm|HiddenItem", hidden},
                                           {nullptr, "TForm|CopyItem", copy},
                                           {nullptr, "TForm|ExitItem", exit}};
  EXPECT_EQ(MenuLegend(*form_, marks),
            (std::vector<std::string>{"TForm|CopyItem: Copy", "TForm|ExitItem: Exit"}));

  const std::vector<std::uint8_t> png = FormPicture(*form_, marks);
  GInputStream* stream = g_memory_input_stream_new_from_data(png.data(), png.size(), nullptr);
  GdkPixbuf* picture = gdk_pixbuf_new_from_stream(stream, nullptr, nullptr);
  g_object_unref(stream);
  ASSERT_NE(picture, nullptr);
  GtkWidget* window = backend().WindowOf(*form_);
  EXPECT_GT(gdk_pixbuf_get_height(picture), gtk_widget_get_allocated_height(window));
  GtkWidget* bar = backend().MenuBarOf(*form_);
  GList* tops = gtk_container_get_children(GTK_CONTAINER(bar));
  ASSERT_EQ(g_list_length(tops), 2u);
  const TBounds filePlace = AllocationIn(GTK_WIDGET(tops->data), window);
  const TBounds editPlace = AllocationIn(GTK_WIDGET(tops->next->data), window);
  g_list_free(tops);
  const int stride = gdk_pixbuf_get_rowstride(picture);
  const int channels = gdk_pixbuf_get_n_channels(picture);
  auto red = [&](int x, int y) {
    const guchar* pixel = gdk_pixbuf_get_pixels(picture) + y * stride + x * channels;
    return pixel[0] > 180 && pixel[1] < 80 && pixel[2] < 80;
  };
  // The item's outline runs just inside it, the keys' strip above the window moving it down.
  auto outlined = [&](const TBounds& at, int down) {
    const int middle = down + at.top + at.height / 2;
    return red(at.left, middle) && red(at.left + at.width - 1, middle) &&
           red(at.left + at.width / 2, down + at.top);
  };
  const int extra = gdk_pixbuf_get_height(picture) - gtk_widget_get_allocated_height(window);
  int down = 0;
  while (down < extra && !outlined(filePlace, down))
    ++down;
  EXPECT_GT(down, 0);
  EXPECT_LT(down, extra);
  EXPECT_FALSE(outlined(editPlace, down));
  g_object_unref(picture);
}

}  // namespace
}  // namespace lx::screen::test

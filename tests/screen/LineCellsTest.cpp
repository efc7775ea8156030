#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScreenFixture.h"
#include "screen/internal/LineCells.h"

namespace lx::screen {
namespace {

// The pixels of a list of `lines` drawn with `cell`, its second line chosen.
std::string ListDrawnWith(GtkCellRenderer* cell, const std::vector<const char*>& lines,
                          GtkTextDirection direction) {
  GtkListStore* store = gtk_list_store_new(1, G_TYPE_STRING);
  for (const char* line : lines)
    gtk_list_store_insert_with_values(store, nullptr, -1, 0, line, -1);
  GtkWidget* window = gtk_offscreen_window_new();
  GtkWidget* view = gtk_tree_view_new_with_model(GTK_TREE_MODEL(store));
  g_object_unref(store);
  gtk_widget_set_direction(view, direction);
  gtk_tree_view_set_headers_visible(GTK_TREE_VIEW(view), FALSE);
  gtk_tree_view_append_column(
      GTK_TREE_VIEW(view), gtk_tree_view_column_new_with_attributes("", cell, "text", 0, nullptr));
  GtkTreePath* second = gtk_tree_path_new_from_indices(1, -1);
  gtk_tree_selection_select_path(gtk_tree_view_get_selection(GTK_TREE_VIEW(view)), second);
  gtk_tree_path_free(second);
  gtk_widget_set_size_request(view, 90, 120);
  gtk_container_add(GTK_CONTAINER(window), view);
  gtk_widget_show_all(window);
  while (gtk_events_pending())
    gtk_main_iteration();
  cairo_surface_t* picture = test::Drawing(window);
  const auto* data = reinterpret_cast<const char*>(cairo_image_surface_get_data(picture));
  std::string pixels(data, static_cast<std::size_t>(cairo_image_surface_get_stride(picture) *
                                                    cairo_image_surface_get_height(picture)));
  cairo_surface_destroy(picture);
  gtk_widget_destroy(window);
  return pixels;
}

// A list drawn with line cells looks exactly as with GTK's text cells, its chosen line too,
// either way round: Latin, Arabic with digits, a line too long for the list, a tab.
TEST(LineCellsTest, TheyDrawAsGtksTextCells) {
  const std::vector<const char*> lines = {"Zeile 1", "Ligne 22", "\xD8\xB3\xD8\xB7\xD8\xB1 3",
                                          "A line far longer than the list is wide", "Tab\there"};
  for (const GtkTextDirection direction : {GTK_TEXT_DIR_LTR, GTK_TEXT_DIR_RTL}) {
    EXPECT_EQ(ListDrawnWith(NewLineCell(), lines, direction),
              ListDrawnWith(gtk_cell_renderer_text_new(), lines, direction))
        << (direction == GTK_TEXT_DIR_RTL ? "rtl" : "ltr");
  }
}

}  // namespace
}  // namespace lx::screen

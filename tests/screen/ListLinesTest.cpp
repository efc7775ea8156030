#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screen/internal/ListLines.h"

namespace lx::screen {
namespace {

std::vector<std::string> Numbered(const char* word, int count) {
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i)
    lines.push_back(word + std::to_string(i));
  return lines;
}

void CountRow(GtkTreeModel*, GtkTreePath* path, GtkTreeIter*, gpointer rows) {
  static_cast<std::vector<int>*>(rows)->push_back(gtk_tree_path_get_indices(path)[0]);
}

std::string TextAt(GtkTreeModel* model, int row) {
  GtkTreeIter iter;
  if (!gtk_tree_model_iter_nth_child(model, &iter, nullptr, row)) return "(none)";
  gchar* text = nullptr;
  gtk_tree_model_get(model, &iter, 0, &text, -1);
  std::string result = text != nullptr ? text : "";
  g_free(text);
  return result;
}

// A list of rows without children, walked either way.
TEST(ListLinesTest, TheRowsAreTheLines) {
  GtkTreeModel* model = NewListLines({"Red", "Green"});
  EXPECT_EQ(gtk_tree_model_iter_n_children(model, nullptr), 2);
  EXPECT_EQ(TextAt(model, 1), "Green");
  EXPECT_EQ(TextAt(model, 2), "(none)");
  GtkTreeIter iter;
  ASSERT_TRUE(gtk_tree_model_iter_nth_child(model, &iter, nullptr, 1));
  EXPECT_FALSE(gtk_tree_model_iter_has_child(model, &iter));
  EXPECT_FALSE(gtk_tree_model_iter_next(model, &iter));
  ASSERT_TRUE(gtk_tree_model_iter_nth_child(model, &iter, nullptr, 1));
  ASSERT_TRUE(gtk_tree_model_iter_previous(model, &iter));
  GtkTreePath* path = gtk_tree_model_get_path(model, &iter);
  EXPECT_EQ(gtk_tree_path_get_indices(path)[0], 0);
  gtk_tree_path_free(path);
  g_object_unref(model);
}

// New lines are all read, but only those the view shows are announced to it.
TEST(ListLinesTest, OnlyTheChangedLinesInViewAreAnnounced) {
  GtkWidget* window = gtk_offscreen_window_new();
  GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_widget_set_size_request(scrolled, 100, 80);
  GtkTreeModel* model = NewListLines(Numbered("Line ", 100));
  GtkWidget* view = gtk_tree_view_new_with_model(model);
  gtk_tree_view_append_column(GTK_TREE_VIEW(view),
                              gtk_tree_view_column_new_with_attributes(
                                  "", gtk_cell_renderer_text_new(), "text", 0, nullptr));
  gtk_container_add(GTK_CONTAINER(scrolled), view);
  gtk_container_add(GTK_CONTAINER(window), scrolled);
  gtk_widget_show_all(window);
  while (gtk_events_pending())
    gtk_main_iteration();
  std::vector<int> announced;
  g_signal_connect(model, "row-changed", G_CALLBACK(CountRow), &announced);
  std::vector<std::string> lines = Numbered("Zeile ", 100);
  lines[1] = "Line 1";  // unchanged
  ReplaceLines(GTK_TREE_MODEL(model), lines, GTK_TREE_VIEW(view));
  ASSERT_GE(announced.size(), 2u);
  EXPECT_LT(announced.size(), 20u);
  EXPECT_EQ(announced.front(), 0);
  EXPECT_EQ(announced[1], 2);
  EXPECT_EQ(TextAt(model, 99), "Zeile 99");
  EXPECT_EQ(LinesOf(model), lines);
  gtk_widget_destroy(window);
  g_object_unref(model);
}

}  // namespace
}  // namespace lx::screen

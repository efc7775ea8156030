#include <gtest/gtest.h>

#include <string>

#include "screen/internal/FontClasses.h"

namespace lx::screen {
namespace {

bool HasClass(GtkWidget* widget, const char* name) {
  return gtk_style_context_has_class(gtk_widget_get_style_context(widget), name) != 0;
}

std::string Family(GtkWidget* widget) {
  PangoFontDescription* font = nullptr;
  gtk_style_context_get(gtk_widget_get_style_context(widget), GTK_STATE_FLAG_NORMAL, "font", &font,
                        nullptr);
  std::string family = pango_font_description_get_family(font);
  pango_font_description_free(font);
  return family;
}

// Widgets of one font share one class; a new font moves a widget to another class.
TEST(FontClassesTest, WidgetsOfOneFontShareTheirClass) {
  const std::string serif = "* { font-family: \"DejaVu Serif\"; }";
  const std::string sans = "* { font-family: \"DejaVu Sans\"; }";
  GtkWidget* first = g_object_ref_sink(gtk_label_new("first"));
  GtkWidget* second = g_object_ref_sink(gtk_label_new("second"));
  {
    TFontClasses fonts;
    std::string firstFont;
    std::string secondFont;
    fonts.Apply(first, firstFont, serif);
    fonts.Apply(second, secondFont, serif);
    EXPECT_TRUE(HasClass(first, "lx-font-0"));
    EXPECT_TRUE(HasClass(second, "lx-font-0"));
    EXPECT_EQ(Family(second), "DejaVu Serif");
    fonts.Apply(second, secondFont, sans);
    EXPECT_FALSE(HasClass(second, "lx-font-0"));
    EXPECT_TRUE(HasClass(second, "lx-font-1"));
    EXPECT_EQ(secondFont, sans);
    EXPECT_EQ(Family(second), "DejaVu Sans");
    EXPECT_EQ(Family(first), "DejaVu Serif");
  }
  // Gone with the classes: the style sheets are off the screen.
  EXPECT_NE(Family(first), "DejaVu Serif");
  gtk_widget_destroy(first);
  gtk_widget_destroy(second);
  g_object_unref(first);
  g_object_unref(second);
}

}  // namespace
}  // namespace lx::screen

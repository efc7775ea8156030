#include "screen/internal/FontClasses.h"

namespace lx::screen {

TFontClasses::~TFontClasses() {
  GdkScreen* screen = gdk_screen_get_default();
  for (auto& [css, font] : classes_) {
    if (screen != nullptr)
      gtk_style_context_remove_provider_for_screen(screen, GTK_STYLE_PROVIDER(font.provider));
    g_object_unref(font.provider);
  }
}

const std::string& TFontClasses::ClassOf(const std::string& css) {
  const auto found = classes_.find(css);
  if (found != classes_.end()) return found->second.name;
  TFontClass font;
  font.name = "lx-font-" + std::to_string(classes_.size());
  // FontCss selects every node ("* {"); here it selects the widgets of the class.
  const std::string sheet = "." + font.name + css.substr(css.find('{') - 1);
  font.provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(font.provider, sheet.c_str(), -1, nullptr);
  gtk_style_context_add_provider_for_screen(gdk_screen_get_default(),
                                            GTK_STYLE_PROVIDER(font.provider),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  return classes_.emplace(css, std::move(font)).first->second.name;
}

void TFontClasses::Apply(GtkWidget* widget, std::string& current, const std::string& css) {
  if (css == current) return;
  GtkStyleContext* style = gtk_widget_get_style_context(widget);
  if (!current.empty()) gtk_style_context_remove_class(style, ClassOf(current).c_str());
  if (!css.empty()) gtk_style_context_add_class(style, ClassOf(css).c_str());
  current = css;
}

}  // namespace lx::screen

// Fonts given to widgets through style classes: one style sheet on the screen for each font in
// use, so that widgets of one font share their style instead of each holding a sheet of its own.
#pragma once

#include <gtk/gtk.h>

#include <map>
#include <string>

// Kept inside a shared library: only the layer's own units use it.
#pragma GCC visibility push(hidden)

namespace lx::screen {

class TFontClasses {
 public:
  TFontClasses() = default;
  /// Takes every style sheet it added off the screen.
  ~TFontClasses();
  TFontClasses(const TFontClasses&) = delete;
  TFontClasses& operator=(const TFontClasses&) = delete;

  /// Gives `widget` the font `css` (see FontCss) in place of `current`, and notes it there;
  /// nothing when `current` holds `css` already.
  void Apply(GtkWidget* widget, std::string& current, const std::string& css);

 private:
  struct TFontClass {
    std::string name;
    GtkCssProvider* provider = nullptr;
  };
  const std::string& ClassOf(const std::string& css);

  std::map<std::string, TFontClass> classes_;
};

}  // namespace lx::screen
#pragma GCC visibility pop

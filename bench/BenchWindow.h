// The window of bench/screen_form.py (1,000 controls, a list of 1,000 lines, a menu of 100
// items) as the Lx benchmarks show it through the GTK backend, and the wait for the frame that
// shows a state of it.
#pragma once

#include <gtk/gtk.h>

#include <string>

#include "dict/LxBinDic.h"
#include "framework/controls/Forms.h"
#include "framework/rtti/Published.h"

namespace lx::bench {

/// The window's form class, as its compiled form names it.
class TBenchForm : public framework::TForm {
  LX_CLASS(TBenchForm, framework::TForm)

 public:
  explicit TBenchForm(framework::TComponent* owner) : TForm(owner) {}
};

/// Registers the classes the window's form is made of, the translator's included.
void RegisterBenchClasses();

/// Opens `dictionary` (file and language set) for texts only, as the Qt program loads its
/// translations: no thread locale following the language, no check of the system's code pages
/// (the window is shown in UTF-8 whatever they are). Then creates the window's form, opens its
/// translator and shows it, its texts read in the language's code page.
TBenchForm& ShowBenchForm(dict::TLxBinaryDictionary& dictionary);

/// Ends the program with `why` on standard error.
[[noreturn]] void Fail(const std::string& why);

/// The window whose frames are waited for: the first the backend shows.
struct TFrameWatch {
  GtkWidget* window = nullptr;
  std::string title;  // what the awaited frame's window is titled
  bool drawn = false;
  bool painted = false;
};

/// Runs the application's loop, as a program runs it, until the window has drawn a frame
/// titled `title` after the backend brought its widgets up to date (the frame clock's
/// after-paint of a frame in which the window drew), then waits for the X server to carry it
/// out. Fails after 20 s.
void WaitForFrame(TFrameWatch& watch, const std::string& title);

}  // namespace lx::bench

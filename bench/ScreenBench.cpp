// The Lx half of the screen benchmark (`make bench-screen`): the window of bench/screen_form.py
// (1,000 controls, a list of 1,000 lines, a menu of 100 items) from its compiled form, translated
// by its translator from a dictionary file and shown through the GTK backend.
//
//   screen_bench_lx DICTIONARY.pld
//
// Each time runs from the call that starts the work until the window has drawn the frame that
// shows it: the frame clock's after-paint of a frame in which the window drew, after the
// backend brought its widgets up to date, followed by a round trip to the X server, so that
// the server has carried out the drawing too. Prints one JSON line (bench/ScreenReport.h).
#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ScreenReport.h"
#include "dict/LxBinDic.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/rtti/ClassRegistry.h"
#include "framework/rtti/Published.h"
#include "framework/runtime/Application.h"
#include "screen/Screen.h"
#include "screen/internal/GtkBackend.h"
#include "translator/LxPoly.h"
// Last: Xlib's macros would clash with the names of the headers above.
#include <gdk/gdkx.h>

namespace lx::bench {

class TBenchForm : public framework::TForm {
  LX_CLASS(TBenchForm, framework::TForm)

 public:
  explicit TBenchForm(framework::TComponent* owner) : TForm(owner) {}
};

LX_PUBLISHED(TBenchForm)

namespace {

enum TLanguage { kEnglish, kGerman, kFrench, kArabic };

// The window title in each language, as bench/screen_form.py writes it.
const char* const kTitles[] = {"Screen benchmark", "Bildschirmtest", "Banc d'essai",
                               "\xD8\xA7\xD8\xAE\xD8\xAA\xD8\xA8\xD8\xA7\xD8\xB1"};

[[noreturn]] void Fail(const std::string& why) {
  std::fprintf(stderr, "screen_bench_lx: %s\n", why.c_str());
  std::exit(1);
}

struct TFrameWatch {
  GtkWidget* window = nullptr;
  bool drawn = false;
  bool painted = false;
};

gboolean OnDraw(GtkWidget*, cairo_t*, gpointer data) {
  auto& watch = *static_cast<TFrameWatch*>(data);
  // A frame drawn before the backend caught up shows the old state.
  if (!screen::Backend()->Dirty()) watch.drawn = true;
  return FALSE;
}

void OnAfterPaint(GdkFrameClock*, gpointer data) {
  auto& watch = *static_cast<TFrameWatch*>(data);
  if (watch.drawn) watch.painted = true;
}

gboolean GiveUp(gpointer) {
  Fail("no frame was drawn within 20 s");
}

// Runs the loop until the window has drawn a frame of the framework's state and the X server
// has carried it out.
void WaitForFrame(TFrameWatch& watch) {
  watch.drawn = watch.painted = false;
  const guint timeout = g_timeout_add_seconds(20, GiveUp, nullptr);
  while (!watch.painted) {
    gtk_main_iteration_do(TRUE);
    const std::vector<GtkWidget*> windows = screen::Backend()->Windows();
    if (watch.window == nullptr && !windows.empty() && gtk_widget_get_realized(windows.front())) {
      watch.window = windows.front();
      g_signal_connect_after(watch.window, "draw", G_CALLBACK(OnDraw), &watch);
      g_signal_connect(gtk_widget_get_frame_clock(watch.window), "after-paint",
                       G_CALLBACK(OnAfterPaint), &watch);
    }
  }
  g_source_remove(timeout);
  gdk_display_sync(gdk_display_get_default());
}

void Expect(const TFrameWatch& watch, TLanguage language) {
  const char* title = gtk_window_get_title(GTK_WINDOW(watch.window));
  if (title == nullptr || std::string(title) != kTitles[language])
    Fail(std::string("the window shows \"") + (title ? title : "") + "\" instead of \"" +
         kTitles[language] + "\"");
}

void RegisterBenchClasses() {
  using namespace framework;
  RegisterClasses({&TLabel::StaticClassInfo(), &TButton::StaticClassInfo(),
                   &TEdit::StaticClassInfo(), &TCheckBox::StaticClassInfo(),
                   &TListBox::StaticClassInfo(), &TMainMenu::StaticClassInfo(),
                   &TMenuItem::StaticClassInfo(), &TBenchForm::StaticClassInfo()});
  translator::RegisterTranslatorClasses();
}

gboolean EndPause(gpointer over) {
  *static_cast<bool*>(over) = true;
  return G_SOURCE_REMOVE;
}

// The user's pause before a choice: the loop runs with nothing to do.
void Pause() {
  bool over = false;
  g_timeout_add(kPauseMs, EndPause, &over);
  while (!over)
    gtk_main_iteration_do(TRUE);
}

double Switch(dict::TLxBinaryDictionary& dictionary, TFrameWatch& watch, TLanguage language) {
  Pause();
  const double start = NowMs();
  dictionary.SetLanguage(language);
  WaitForFrame(watch);
  const double time = NowMs() - start;
  Expect(watch, language);
  return time;
}

int Run(const char* dictionaryFile) {
  RegisterBenchClasses();
  TScreenReport report;
  report.program = "lx";
  TFrameWatch watch;
  const double start = NowMs();
  dict::TLxBinaryDictionary dictionary(nullptr);
  dictionary.SetFileName(dictionaryFile);
  // The same work as the Qt program: texts only, no thread locale following the language, and
  // no check of the system's code pages (the window is shown in UTF-8 whatever they are).
  dictionary.SetBinding(lang::lxbiNone);
  dictionary.SetCheckLevel(lang::lxclNone);
  dictionary.SetLanguage(kGerman);
  dictionary.Open();
  TBenchForm* form = nullptr;
  framework::Application().CreateForm(form);
  auto* translator = dynamic_cast<translator::TLxTranslator*>(form->FindComponent("Translator"));
  if (translator == nullptr) Fail("the form has no translator");
  if (!translator->Active()) translator->Open();
  // The window's texts are in the code page of the language it shows.
  screen::SetTextCodePage([&dictionary](const framework::TControl&) {
    return static_cast<unsigned>(dictionary.CurrentLanguage().CodePage);
  });
  form->Show();
  WaitForFrame(watch);
  report.firstShow = NowMs() - start;
  Expect(watch, kGerman);
  for (int round = 0; round < kRounds; ++round) {
    report.ltr.push_back(Switch(dictionary, watch, kFrench));
    report.rtl.push_back(Switch(dictionary, watch, kArabic));
    report.back.push_back(Switch(dictionary, watch, kGerman));
  }
  report.residentMegabytes = ResidentMegabytes();
  report.pixmapMegabytes =
      PixmapMegabytes(gdk_x11_window_get_xid(gtk_widget_get_window(watch.window)));
  Print(report);
  return 0;
}

}  // namespace
}  // namespace lx::bench

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: screen_bench_lx DICTIONARY.pld\n");
    return 2;
  }
  if (!lx::screen::Install(argc, argv)) {
    std::fprintf(stderr, "screen_bench_lx: no display\n");
    return 1;
  }
  const int result = lx::bench::Run(argv[1]);
  lx::framework::DoneApplication();
  lx::screen::Uninstall();
  return result;
}

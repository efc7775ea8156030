// The Lx half of the screen benchmark (`make bench-screen`): the window of bench/screen_form.py
// (1,000 controls, a list of 1,000 lines, a menu of 100 items) from its compiled form, translated
// by its translator from a dictionary file and shown through the GTK backend.
//
//   screen_bench_lx DICTIONARY.pld
//
// Each time runs from the call that starts the work until the window has drawn the frame that
// shows it, followed by a round trip to the X server, so that the server has carried out the
// drawing too (bench/BenchWindow.h). Prints one JSON line (bench/ScreenReport.h).
#include <gtk/gtk.h>

#include <cstdio>
#include <string>

#include "BenchWindow.h"
#include "ScreenReport.h"
#include "framework/runtime/Application.h"
#include "screen/Screen.h"
// Last: Xlib's macros would clash with the names of the headers above.
#include <gdk/gdkx.h>

namespace lx::bench {
namespace {

enum TLanguage { kEnglish, kGerman, kFrench, kArabic };

// The window title in each language, as bench/screen_form.py writes it.
const char* const kTitles[] = {"Screen benchmark", "Bildschirmtest", "Banc d'essai",
                               "\xD8\xA7\xD8\xAE\xD8\xAA\xD8\xA8\xD8\xA7\xD8\xB1"};

gboolean EndPause(gpointer over) {
  *static_cast<bool*>(over) = true;
  return G_SOURCE_REMOVE;
}

// The user's pause before a choice: the loop runs with nothing to do.
void Pause() {
  bool over = false;
  g_timeout_add(kPauseMs, EndPause, &over);
  while (!over)
    framework::Application().HandleMessage();
}

double Switch(dict::TLxBinaryDictionary& dictionary, TFrameWatch& watch, TLanguage language) {
  const double start = NowMs();
  dictionary.SetLanguage(language);
  WaitForFrame(watch, kTitles[language]);
  return NowMs() - start;
}

// Each step a function of its own, which a profiler can be told to count alone, without the
// pause before it (valgrind --tool=callgrind --collect-atstart=no
// --toggle-collect=...SwitchToArabic*).
__attribute__((noinline)) double SwitchToFrench(dict::TLxBinaryDictionary& d, TFrameWatch& w) {
  return Switch(d, w, kFrench);
}
__attribute__((noinline)) double SwitchToArabic(dict::TLxBinaryDictionary& d, TFrameWatch& w) {
  return Switch(d, w, kArabic);
}
__attribute__((noinline)) double SwitchToGerman(dict::TLxBinaryDictionary& d, TFrameWatch& w) {
  return Switch(d, w, kGerman);
}

int Run(const char* dictionaryFile) {
  RegisterBenchClasses();
  TScreenReport report;
  report.program = "lx";
  TFrameWatch watch;
  const double start = NowMs();
  dict::TLxBinaryDictionary dictionary(nullptr);
  dictionary.SetFileName(dictionaryFile);
  dictionary.SetLanguage(kGerman);
  ShowBenchForm(dictionary);
  WaitForFrame(watch, kTitles[kGerman]);
  report.firstShow = NowMs() - start;
  for (int round = 0; round < kRounds; ++round) {
    Pause();
    report.ltr.push_back(SwitchToFrench(dictionary, watch));
    Pause();
    report.rtl.push_back(SwitchToArabic(dictionary, watch));
    Pause();
    report.back.push_back(SwitchToGerman(dictionary, watch));
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

// The live loop's wait (`make bench-follow`): how long from a dictionary file replaced by a
// rename, as lxpld and lxpo replace it, to the window's first frame that shows the new texts.
//
//   follow_bench probe|screen LIVE.pld A.pld B.pld TITLE_A TITLE_B [ROUNDS]
//
// `probe` is probe's main window (its form, data module and translator), `screen` the window of
// 1,000 controls of bench/screen_form.py. The window follows LIVE.pld, which starts as a copy
// of A.pld; each round renames a fresh copy of the other file over it and runs the loop until
// the window, titled TITLE_A or TITLE_B by that file, has drawn a frame of the new state and
// the X server has carried it out. Prints one JSON line: every round's time in ms and the
// median.
#include <gtk/gtk.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchWindow.h"
#include "ScreenReport.h"
#include "app/ProbeForm.h"
#include "dict/LxBinDic.h"
#include "frame/dmLanguages.h"
#include "framework/runtime/Application.h"
#include "screen/Screen.h"

namespace lx::bench {
namespace {

// probe's window on its data module's dictionary, as `probe --follow` shows it.
dict::TLxBinaryDictionary& ShowProbe(const std::string& live) {
  app::RegisterProbeClasses();
  frame::LanguageSetup(live);
  if (frame::dmlg == nullptr || frame::dmlg->Dictionary == nullptr) Fail("no dictionary");
  frame::OpenDictionaryById(frame::dmlg, live, 1);  // German, whatever probe.ini says
  frame::dmlg->Dictionary->SetFollow(true);
  app::TProbeForm* form = nullptr;
  framework::Application().CreateForm(form);
  screen::SetTextCodePage(
      [form](const framework::TControl&) { return static_cast<unsigned>(form->TextCodePage()); });
  form->StartUp();
  return *frame::dmlg->Dictionary;
}

// The 1,000-control window on a dictionary of its own, as bench/ScreenBench.cpp shows it.
dict::TLxBinaryDictionary& ShowScreenForm(const std::string& live) {
  RegisterBenchClasses();
  static dict::TLxBinaryDictionary dictionary(nullptr);
  dictionary.SetFileName(live);
  dictionary.SetLanguage(1);
  dictionary.SetFollow(true);
  ShowBenchForm(dictionary);
  return dictionary;
}

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

int Run(const std::string& mode, const std::string& live, const std::string (&files)[2],
        const std::string (&titles)[2], int rounds) {
  std::filesystem::copy_file(files[0], live, std::filesystem::copy_options::overwrite_existing);
  dict::TLxBinaryDictionary& dictionary = mode == "probe" ? ShowProbe(live) : ShowScreenForm(live);
  dictionary.OnReloadError = [](framework::TObject*, const std::string& message) { Fail(message); };
  TFrameWatch watch;
  WaitForFrame(watch, titles[0]);
  std::vector<double> times;
  for (int round = 1; round <= rounds; ++round) {
    const int next = round % 2;
    const std::string fresh = live + ".next";
    std::filesystem::copy_file(files[next], fresh,
                               std::filesystem::copy_options::overwrite_existing);
    const double start = NowMs();
    std::filesystem::rename(fresh, live);
    WaitForFrame(watch, titles[next]);
    times.push_back(NowMs() - start);
  }
  std::printf("{\"program\": \"%s\", \"median\": %.2f, \"rounds\": [", mode.c_str(), Median(times));
  for (std::size_t i = 0; i < times.size(); ++i)
    std::printf("%s%.2f", i == 0 ? "" : ", ", times[i]);
  std::printf("]}\n");
  return 0;
}

}  // namespace
}  // namespace lx::bench

int main(int argc, char** argv) {
  if (argc < 7 || argc > 8) {
    std::fprintf(
        stderr, "usage: follow_bench probe|screen LIVE.pld A.pld B.pld TITLE_A TITLE_B [ROUNDS]\n");
    return 2;
  }
  const std::string mode = argv[1];
  if (mode != "probe" && mode != "screen") {
    std::fprintf(stderr, "follow_bench: unknown window '%s'\n", argv[1]);
    return 2;
  }
  const int rounds = argc == 8 ? std::atoi(argv[7]) : 21;
  if (rounds < 1) return 2;
  if (!lx::screen::Install(argc, argv)) {
    std::fprintf(stderr, "follow_bench: no display\n");
    return 1;
  }
  const int result = lx::bench::Run(mode, argv[2], {argv[3], argv[4]}, {argv[5], argv[6]}, rounds);
  lx::framework::DoneApplication();
  lx::screen::Uninstall();
  return result;
}

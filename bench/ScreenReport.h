// What both programs of the screen benchmark report, in the same form: one JSON line with the
// times of the first show and of every switch, and the process's memory at the end.
#pragma once

#include <string>
#include <vector>

namespace lx::bench {

struct TScreenReport {
  std::string program;
  double firstShow = 0;          // ms, from nothing to the translated window drawn
  std::vector<double> ltr;       // ms, a switch to another left-to-right language
  std::vector<double> rtl;       // ms, a switch to the right-to-left language
  std::vector<double> back;      // ms, the switch back to left to right
  double residentMegabytes = 0;  // VmRSS at the end
  double pixmapMegabytes = 0;    // what the X server holds in pixmaps for the program, at the end
};

/// A steady clock in milliseconds.
double NowMs();
/// The process's resident memory (VmRSS) in MB.
double ResidentMegabytes();
/// The bytes, in MB, of the pixmaps the X server holds for the client that made `window`, as
/// the server's resource extension counts them: a program that draws in the server keeps its
/// pixels there instead of in its own memory.
double PixmapMegabytes(unsigned long window);
/// Prints the report as one JSON line on standard output.
void Print(const TScreenReport& report);
/// After the first show, each program runs this many rounds of a left-to-right switch, a
/// right-to-left switch and the switch back.
inline constexpr int kRounds = 3;
/// Before each switch both programs run their loop this long with nothing to do, as a user
/// takes time to choose: a switch never starts within a frame of the last one, where GDK
/// would hold its next frame back to keep 60 frames a second.
inline constexpr int kPauseMs = 100;

}  // namespace lx::bench

#include "ScreenReport.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace lx::bench {

namespace {

std::string List(const std::vector<double>& values) {
  std::ostringstream out;
  out << "[";
  for (std::size_t i = 0; i < values.size(); ++i)
    out << (i == 0 ? "" : ", ") << values[i];
  out << "]";
  return out.str();
}

}  // namespace

double NowMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double ResidentMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}

void Print(const TScreenReport& report) {
  std::ostringstream out;
  out << "{\"program\": \"" << report.program << "\", \"first_show\": " << report.firstShow
      << ", \"ltr\": " << List(report.ltr) << ", \"rtl\": " << List(report.rtl)
      << ", \"back\": " << List(report.back) << ", \"rss_mb\": " << report.residentMegabytes
      << "}\n";
  std::fputs(out.str().c_str(), stdout);
  std::fflush(stdout);
}

}  // namespace lx::bench

#include "ScreenReport.h"

#include <xcb/res.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

double PixmapMegabytes(unsigned long window) {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  double megabytes = -1;
  if (xcb_connection_has_error(connection) == 0) {
    const auto cookie =
        xcb_res_query_client_pixmap_bytes(connection, static_cast<std::uint32_t>(window));
    if (auto* reply = xcb_res_query_client_pixmap_bytes_reply(connection, cookie, nullptr)) {
      megabytes =
          (static_cast<double>(reply->bytes_overflow) * 4294967296.0 + reply->bytes) / 1048576.0;
      free(reply);
    }
  }
  xcb_disconnect(connection);
  return megabytes;
}

void Print(const TScreenReport& report) {
  std::ostringstream out;
  out << "{\"program\": \"" << report.program << "\", \"first_show\": " << report.firstShow
      << ", \"ltr\": " << List(report.ltr) << ", \"rtl\": " << List(report.rtl)
      << ", \"back\": " << List(report.back) << ", \"rss_mb\": " << report.residentMegabytes
      << ", \"pixmap_mb\": " << report.pixmapMegabytes << "}\n";
  std::fputs(out.str().c_str(), stdout);
  std::fflush(stdout);
}

}  // namespace lx::bench

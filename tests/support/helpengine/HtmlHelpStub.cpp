// A stand-in for the compiled-HTML help engine, built as the library
// "hhctrl.ocx" beside the test programs. It remembers the last call and
// answers with a window that the test chooses.
#include <cstdint>
#include <string>

namespace {

struct Calls {
  int count = 0;
  std::uintptr_t window = 0;
  std::string file;
  unsigned command = 0;
  std::uintptr_t data = 0;
  std::uintptr_t answer = 1;
};

Calls& State() {
  static Calls calls;
  return calls;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) std::uintptr_t HtmlHelpA(std::uintptr_t window,
                                                                const char* file, unsigned command,
                                                                std::uintptr_t data) {
  Calls& calls = State();
  ++calls.count;
  calls.window = window;
  calls.file = file == nullptr ? std::string() : std::string(file);
  calls.command = command;
  calls.data = data;
  return calls.answer;
}

__attribute__((visibility("default"))) int HelpStubCallCount() {
  return State().count;
}

__attribute__((visibility("default"))) const char* HelpStubLastFile() {
  return State().file.c_str();
}

__attribute__((visibility("default"))) unsigned HelpStubLastCommand() {
  return State().command;
}

__attribute__((visibility("default"))) std::uintptr_t HelpStubLastData() {
  return State().data;
}

/// The window that later calls answer with; 0 makes them fail.
__attribute__((visibility("default"))) void HelpStubSetAnswer(std::uintptr_t window) {
  State().answer = window;
}

}  // extern "C"

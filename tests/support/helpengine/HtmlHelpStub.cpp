// A stand-in for the compiled-HTML help engine, built as the library
// "hhctrl.ocx" beside the test programs. It records every call it receives
// (a keyword look-up with the fields of its link record) and answers with a
// window that the test chooses, call by call or for all calls.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace {

constexpr unsigned kKeywordLookup = 13;

// The keyword look-up record, as the engine's callers fill it.
struct Link {
  std::int32_t size;
  std::int32_t reserved;
  const char* keywords;
  const char* url;
  const char* messageText;
  const char* messageTitle;
  const char* window;
  std::int32_t indexOnFail;
};

struct Call {
  std::uintptr_t window = 0;
  std::string file;
  unsigned command = 0;
  std::uintptr_t data = 0;
  // Of a keyword look-up.
  std::string keywords;
  int linkSize = 0;
  int indexOnFail = 0;
  bool linkRestEmpty = false;
};

struct Calls {
  std::vector<Call> log;
  std::deque<std::uintptr_t> nextAnswers;
  std::uintptr_t answer = 1;
};

Calls& State() {
  static Calls calls;
  return calls;
}

const Call* At(int index) {
  const std::vector<Call>& log = State().log;
  if (index < 0 || static_cast<std::size_t>(index) >= log.size()) return nullptr;
  return &log[static_cast<std::size_t>(index)];
}

const Call& Last() {
  static const Call none;
  return State().log.empty() ? none : State().log.back();
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) std::uintptr_t HtmlHelpA(std::uintptr_t window,
                                                                const char* file, unsigned command,
                                                                std::uintptr_t data) {
  Calls& calls = State();
  Call call;
  call.window = window;
  call.file = file == nullptr ? std::string() : std::string(file);
  call.command = command;
  call.data = data;
  if (command == kKeywordLookup && data != 0) {
    const auto* link = reinterpret_cast<const Link*>(data);
    call.keywords = link->keywords == nullptr ? "" : link->keywords;
    call.linkSize = link->size;
    call.indexOnFail = link->indexOnFail;
    call.linkRestEmpty = link->reserved == 0 && link->url == nullptr &&
                         link->messageText == nullptr && link->messageTitle == nullptr &&
                         link->window == nullptr;
  }
  calls.log.push_back(call);
  if (!calls.nextAnswers.empty()) {
    const std::uintptr_t answer = calls.nextAnswers.front();
    calls.nextAnswers.pop_front();
    return answer;
  }
  return calls.answer;
}

__attribute__((visibility("default"))) int HelpStubCallCount() {
  return static_cast<int>(State().log.size());
}

__attribute__((visibility("default"))) const char* HelpStubLastFile() {
  return Last().file.c_str();
}

__attribute__((visibility("default"))) unsigned HelpStubLastCommand() {
  return Last().command;
}

__attribute__((visibility("default"))) std::uintptr_t HelpStubLastData() {
  return Last().data;
}

/// The window that later calls answer with; 0 makes them fail.
__attribute__((visibility("default"))) void HelpStubSetAnswer(std::uintptr_t window) {
  State().answer = window;
}

/// The answer of the next call only, before the general one; queued in order.
__attribute__((visibility("default"))) void HelpStubQueueAnswer(std::uintptr_t window) {
  State().nextAnswers.push_back(window);
}

/// Forgets the calls and the queued answers; calls answer 1 again.
__attribute__((visibility("default"))) void HelpStubReset() {
  State() = Calls{};
}

// The call at `index` (0 the first since the last reset); empty values past the end.
__attribute__((visibility("default"))) std::uintptr_t HelpStubWindowAt(int index) {
  return At(index) == nullptr ? 0 : At(index)->window;
}

__attribute__((visibility("default"))) const char* HelpStubFileAt(int index) {
  return At(index) == nullptr ? "" : At(index)->file.c_str();
}

__attribute__((visibility("default"))) int HelpStubCommandAt(int index) {
  return At(index) == nullptr ? -1 : static_cast<int>(At(index)->command);
}

__attribute__((visibility("default"))) std::uintptr_t HelpStubDataAt(int index) {
  return At(index) == nullptr ? 0 : At(index)->data;
}

__attribute__((visibility("default"))) const char* HelpStubKeywordsAt(int index) {
  return At(index) == nullptr ? "" : At(index)->keywords.c_str();
}

__attribute__((visibility("default"))) int HelpStubLinkSizeAt(int index) {
  return At(index) == nullptr ? 0 : At(index)->linkSize;
}

__attribute__((visibility("default"))) int HelpStubIndexOnFailAt(int index) {
  return At(index) == nullptr ? 0 : At(index)->indexOnFail;
}

__attribute__((visibility("default"))) int HelpStubLinkRestEmptyAt(int index) {
  return At(index) != nullptr && At(index)->linkRestEmpty ? 1 : 0;
}

}  // extern "C"

#include "frame/lbHelp.h"

#include "frame/lbPaths.h"
#include "framework/runtime/Application.h"
#include "platform/FileSystem.h"
#include "platform/Libraries.h"

namespace lx::frame {

namespace {

struct THelpState {
  platform::HMODULE library = 0;
  THtmlHelpProc entryPoint = nullptr;
  std::shared_ptr<THTMLHelpViewer> viewer;
};

THelpState& State() {
  static THelpState state;
  return state;
}

bool HasExtension(std::string_view fileName, std::string_view extension) {
  const std::string found = platform::ExtractFileExt(fileName, platform::kNativePathStyle);
  if (found.size() != extension.size()) return false;
  for (std::size_t i = 0; i < found.size(); ++i) {
    const char c = found[i] >= 'A' && found[i] <= 'Z' ? static_cast<char>(found[i] + 32) : found[i];
    if (c != extension[i]) return false;
  }
  return true;
}

platform::HWND CallHtmlHelp(platform::HWND window, const std::string& file, platform::UINT command,
                            std::uintptr_t data) {
  const THtmlHelpProc entry = State().entryPoint;
  if (entry == nullptr) return 0;
  return entry(window, file.empty() ? nullptr : file.c_str(), command, data);
}

void CloseAll() {
  CallHtmlHelp(0, "", HH_CLOSE_ALL, 0);
}

std::string TopicSuffix(const std::string& topic) {
  if (topic.empty()) return {};
  return topic.front() == '/' ? "::" + topic : "::/" + topic;
}

void RegisterHtmlHelpViewer() {
  THelpState& state = State();
  if (state.entryPoint == nullptr || state.viewer) return;
  state.viewer = std::make_shared<THTMLHelpViewer>();
  state.viewer->SetHelpManager(framework::RegisterViewer(state.viewer));
  framework::SetWinHelpTester(std::make_shared<TWinHelpMakeBehave>());
}

}  // namespace

THelpFileChoice FindHelpFile(std::string_view path, std::string_view name) {
  const std::string base = PathWithoutExtension(path);
  const std::string stem = name.empty() ? base : base + "_" + std::string(name);
  for (const THelpFileChoice& candidate :
       {THelpFileChoice{stem + ".chm", true}, THelpFileChoice{stem + ".hlp", false},
        THelpFileChoice{base + ".chm", true}, THelpFileChoice{base + ".hlp", false}}) {
    if (platform::FileExists(candidate.fileName)) return candidate;
  }
  return {};
}

void SelectHelpFile(std::string_view path, std::string_view name) {
  try {
    framework::TApplication& application = framework::Application();
    THelpFileChoice choice;
    if (!path.empty()) choice = FindHelpFile(path, name);
    if (choice.fileName.empty()) choice = FindHelpFile(application.ExeName(), name);
    application.SetHelpFile(choice.fileName);
    if (!choice.compiledHtml) return;
    LoadHtmlHelp();
    RegisterHtmlHelpViewer();
  } catch (...) {
  }
}

void LoadHtmlHelp() {
  THelpState& state = State();
  if (state.library != 0) return;
  try {
    state.library = platform::LoadLibrary("hhctrl.ocx");
    if (state.library != 0) {
      state.entryPoint =
          reinterpret_cast<THtmlHelpProc>(platform::GetProcAddress(state.library, "HtmlHelpA"));
    }
  } catch (...) {
  }
}

void UnloadHtmlHelp() {
  THelpState& state = State();
  if (state.library == 0) return;
  try {
    if (!platform::FreeLibrary(state.library)) return;
    state.library = 0;
    state.entryPoint = nullptr;
  } catch (...) {
  }
}

THtmlHelpProc HtmlHelpEntryPoint() {
  return State().entryPoint;
}

std::shared_ptr<THTMLHelpViewer> HtmlHelpViewer() {
  return State().viewer;
}

bool IsHtmlHelpFile(const THTMLHelpViewer& viewer) {
  if (State().entryPoint == nullptr || viewer.HelpManager() == nullptr) return false;
  return HasExtension(viewer.HelpManager()->GetHelpFile(), ".chm");
}

void InitializeHelp() {
  THelpState& state = State();
  state.library = 0;
  state.entryPoint = nullptr;
  state.viewer.reset();
  framework::SetWinHelpTester(nullptr);
  SelectHelpFile("", "");
}

void FinalizeHelp() {
  UnloadHtmlHelp();
}

// ---- THTMLHelpViewer

platform::HWND THTMLHelpViewer::ManagerWindow() const {
  return helpManager_ == nullptr ? 0 : helpManager_->GetHandle();
}

std::string THTMLHelpViewer::ManagerFile() const {
  return helpManager_ == nullptr ? std::string() : helpManager_->GetHelpFile();
}

std::string THTMLHelpViewer::GetViewerName() {
  return "Help Viewer " + framework::Application().Title();
}

int THTMLHelpViewer::UnderstandsKeyword(const std::string&) {
  return IsHtmlHelpFile(*this) ? 1 : 0;
}

std::unique_ptr<framework::TStringList> THTMLHelpViewer::GetHelpStrings(
    const std::string& helpString) {
  auto list = std::make_unique<framework::TStringList>();
  if (IsHtmlHelpFile(*this)) list->Add(helpString);
  return list;
}

bool THTMLHelpViewer::CanShowTableOfContents() {
  return IsHtmlHelpFile(*this);
}

void THTMLHelpViewer::ShowTableOfContents() {
  if (CallHtmlHelp(ManagerWindow(), ManagerFile(), HH_DISPLAY_TOC, 0) != 0) return;
  framework::TApplication& application = framework::Application();
  CallHtmlHelp(application.Handle(), application.HelpFile(), HH_DISPLAY_TOC, 0);
}

void THTMLHelpViewer::ShowHelp(const std::string& helpString) {
  HH_AKLINK link;
  link.pszKeywords = helpString.c_str();
  link.fIndexOnFail = -1;
  CallHtmlHelp(ManagerWindow(), ManagerFile(), HH_KEYWORD_LOOKUP,
               reinterpret_cast<std::uintptr_t>(&link));
}

void THTMLHelpViewer::SoftShutDown() {
  if (State().entryPoint != nullptr) CloseAll();
}

void THTMLHelpViewer::ShutDown() {
  if (State().entryPoint == nullptr) return;
  CloseAll();
  helpManager_ = nullptr;
}

bool THTMLHelpViewer::UnderstandsTopic(const std::string&) {
  return IsHtmlHelpFile(*this);
}

void THTMLHelpViewer::DisplayTopic(const std::string& topic) {
  CallHtmlHelp(ManagerWindow(), ManagerFile() + TopicSuffix(topic), HH_DISPLAY_TOPIC, 0);
}

bool THTMLHelpViewer::UnderstandsContext(int, const std::string&) {
  return IsHtmlHelpFile(*this);
}

void THTMLHelpViewer::DisplayHelpByContext(int contextID, const std::string& helpFileName) {
  const auto context = static_cast<std::uintptr_t>(static_cast<std::uint32_t>(contextID));
  if (CallHtmlHelp(ManagerWindow(), helpFileName, HH_HELP_CONTEXT, context) != 0) return;
  ShowTableOfContents();
}

// ---- TWinHelpMakeBehave

bool TWinHelpMakeBehave::CanShowALink(const std::string&, const std::string& fileName) {
  return HasExtension(fileName, ".hlp");
}

bool TWinHelpMakeBehave::CanShowTopic(const std::string&, const std::string& fileName) {
  return HasExtension(fileName, ".hlp");
}

bool TWinHelpMakeBehave::CanShowContext(int, const std::string& fileName) {
  return HasExtension(fileName, ".hlp");
}

std::unique_ptr<framework::TStringList> TWinHelpMakeBehave::GetHelpStrings(const std::string&) {
  return std::make_unique<framework::TStringList>();
}

}  // namespace lx::frame

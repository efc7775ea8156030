#include "framework/runtime/WinHelpViewer.h"

namespace lx::framework {

namespace {

std::shared_ptr<IWinHelpTester>& TesterSlot() {
  static auto* slot = new std::shared_ptr<IWinHelpTester>();
  return *slot;
}

bool NoEngine(const TWinHelpCall&) {
  return true;
}

TWinHelpEngine& InstalledEngine() {
  static auto* engine = new TWinHelpEngine(NoEngine);
  return *engine;
}

}  // namespace

void SetWinHelpTester(std::shared_ptr<IWinHelpTester> tester) {
  TesterSlot() = std::move(tester);
}

std::shared_ptr<IWinHelpTester> WinHelpTester() {
  return TesterSlot();
}

TWinHelpEngine SetWinHelpEngine(TWinHelpEngine engine) {
  TWinHelpEngine previous = InstalledEngine();
  InstalledEngine() = engine ? std::move(engine) : TWinHelpEngine(NoEngine);
  return previous;
}

std::string TWinHelpViewer::HelpFile() const {
  return manager_ != nullptr ? manager_->GetHelpFile() : std::string();
}

void TWinHelpViewer::Call(platform::UINT command, std::uintptr_t data, const std::string& text,
                          const std::string& file) const {
  TWinHelpCall call;
  call.window = manager_ != nullptr ? manager_->GetHandle() : 0;
  call.file = file;
  call.command = command;
  call.data = data;
  call.text = text;
  InstalledEngine()(call);
}

std::string TWinHelpViewer::GetViewerName() {
  return "WinHelp";
}

int TWinHelpViewer::UnderstandsKeyword(const std::string& helpString) {
  const auto tester = WinHelpTester();
  if (!tester) return 1;
  return tester->CanShowALink(helpString, HelpFile()) ? 1 : 0;
}

std::unique_ptr<TStringList> TWinHelpViewer::GetHelpStrings(const std::string& helpString) {
  if (const auto tester = WinHelpTester()) return tester->GetHelpStrings(helpString);
  auto strings = std::make_unique<TStringList>();
  strings->Add(helpString);
  return strings;
}

bool TWinHelpViewer::CanShowTableOfContents() {
  const auto tester = WinHelpTester();
  return !tester || tester->CanShowTopic(std::string(), HelpFile());
}

void TWinHelpViewer::ShowTableOfContents() {
  Call(HELP_FINDER, 0, std::string(), HelpFile());
}

void TWinHelpViewer::ShowHelp(const std::string& helpString) {
  Call(HELP_KEY, 0, helpString, HelpFile());
}

void TWinHelpViewer::ShutDown() {
  if (manager_ == nullptr) return;
  Call(HELP_QUIT, 0, std::string(), std::string());
  manager_ = nullptr;
}

bool TWinHelpViewer::UnderstandsTopic(const std::string& topic) {
  const auto tester = WinHelpTester();
  return !tester || tester->CanShowTopic(topic, HelpFile());
}

void TWinHelpViewer::DisplayTopic(const std::string& topic) {
  Call(HELP_COMMAND, 0, "JumpID(\"\",\"" + topic + "\")", HelpFile());
}

bool TWinHelpViewer::UnderstandsContext(int contextID, const std::string& helpFileName) {
  const auto tester = WinHelpTester();
  return !tester || tester->CanShowContext(contextID, helpFileName);
}

void TWinHelpViewer::DisplayHelpByContext(int contextID, const std::string& helpFileName) {
  Call(HELP_CONTEXT, static_cast<std::uintptr_t>(contextID), std::string(), helpFileName);
}

}  // namespace lx::framework

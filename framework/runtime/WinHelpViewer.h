// The classic help viewer: shows ".hlp" files through the classic help engine.
//
// It takes every request unless a tester is installed in its tester slot, in which case the
// tester decides, from the request and the help manager's current help file, what the viewer
// takes. The tester has no question of its own for the table of contents; the viewer asks it
// about a topic without name instead.
//
// No classic help engine exists here: the calls go to a replaceable engine function, which by
// default does nothing and reports success.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "framework/runtime/HelpIntfs.h"

namespace lx::framework {

/// Decides what the classic viewer takes.
class IWinHelpTester {
 public:
  virtual ~IWinHelpTester() = default;

  virtual bool CanShowALink(const std::string& aLink, const std::string& fileName) = 0;
  virtual bool CanShowTopic(const std::string& topic, const std::string& fileName) = 0;
  virtual bool CanShowContext(int context, const std::string& fileName) = 0;
  /// A new list, the caller's, of the entries for `aLink`.
  virtual std::unique_ptr<TStringList> GetHelpStrings(const std::string& aLink) = 0;
  virtual std::string GetHelpPath() = 0;
  virtual std::string GetDefaultHelpFile() = 0;
};

/// The tester slot; empty by default. Installing one replaces the previous.
void SetWinHelpTester(std::shared_ptr<IWinHelpTester> tester);
std::shared_ptr<IWinHelpTester> WinHelpTester();

// Commands of the classic help engine.
inline constexpr platform::UINT HELP_CONTEXT = 0x0001;
inline constexpr platform::UINT HELP_QUIT = 0x0002;
inline constexpr platform::UINT HELP_FINDER = 0x000B;
inline constexpr platform::UINT HELP_KEY = 0x0101;
inline constexpr platform::UINT HELP_COMMAND = 0x0102;

/// One call of the classic help engine: a context number as `data`, a keyword or a macro as
/// `text`.
struct TWinHelpCall {
  platform::HWND window = 0;
  std::string file;
  platform::UINT command = 0;
  std::uintptr_t data = 0;
  std::string text;
};
using TWinHelpEngine = std::function<bool(const TWinHelpCall& call)>;
/// Installs the engine and returns the previous one; an empty one puts the default back.
TWinHelpEngine SetWinHelpEngine(TWinHelpEngine engine);

class TWinHelpViewer : public IExtendedHelpViewer {
 public:
  /// "WinHelp".
  std::string GetViewerName() override;
  int UnderstandsKeyword(const std::string& helpString) override;
  std::unique_ptr<TStringList> GetHelpStrings(const std::string& helpString) override;
  bool CanShowTableOfContents() override;
  void ShowTableOfContents() override;
  void ShowHelp(const std::string& helpString) override;
  void NotifyID(int viewerID) override { viewerID_ = viewerID; }
  void SoftShutDown() override {}
  /// Quits the engine and lets the manager go.
  void ShutDown() override;
  bool UnderstandsTopic(const std::string& topic) override;
  void DisplayTopic(const std::string& topic) override;
  bool UnderstandsContext(int contextID, const std::string& helpFileName) override;
  void DisplayHelpByContext(int contextID, const std::string& helpFileName) override;

  int ViewerID() const { return viewerID_; }
  void SetManager(IHelpManager* manager) { manager_ = manager; }
  IHelpManager* Manager() const { return manager_; }

 private:
  std::string HelpFile() const;
  void Call(platform::UINT command, std::uintptr_t data, const std::string& text,
            const std::string& file) const;

  int viewerID_ = -1;
  IHelpManager* manager_ = nullptr;
};

}  // namespace lx::framework

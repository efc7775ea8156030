// Help files: the one of the executable or of the selected language, and the
// compiled-HTML help engine behind the framework's help system.
//
// A help file lies beside the dictionary file or the executable, per language
// (probe_German.chm) or general (probe.chm); compiled HTML (".chm") wins over
// classic help (".hlp"). The first ".chm" selected loads the engine
// "hhctrl.ocx" (entry point "HtmlHelpA", looked for beside the executable),
// registers `THTMLHelpViewer` with the help manager and makes the classic
// viewer take ".hlp" files only. Nothing here raises or reports.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "framework/runtime/HelpIntfs.h"
#include "framework/runtime/WinHelpViewer.h"
#include "platform/Windows.h"

namespace lx::frame {

// Commands of the compiled-HTML help engine.
inline constexpr platform::UINT HH_DISPLAY_TOPIC = 0;
inline constexpr platform::UINT HH_DISPLAY_TOC = 1;
inline constexpr platform::UINT HH_KEYWORD_LOOKUP = 13;
inline constexpr platform::UINT HH_HELP_CONTEXT = 15;
inline constexpr platform::UINT HH_CLOSE_ALL = 18;

/// A keyword look-up, as the engine reads it.
struct HH_AKLINK {
  std::int32_t cbStruct = 32;
  std::int32_t fReserved = 0;
  const char* pszKeywords = nullptr;
  const char* pszUrl = nullptr;
  const char* pszMsgText = nullptr;
  const char* pszMsgTitle = nullptr;
  const char* pszWindow = nullptr;
  std::int32_t fIndexOnFail = 0;
};

/// The engine's entry point: window, file, command, data -> window (0: failed).
using THtmlHelpProc = platform::HWND (*)(platform::HWND, const char*, platform::UINT,
                                         std::uintptr_t);

struct THelpFileChoice {
  std::string fileName;  // empty when none exists
  bool compiledHtml = false;
};

/// The first existing of stem.chm, stem.hlp, base.chm, base.hlp, where base is
/// `path` without extension and stem is base + "_" + `name` (base for no name).
THelpFileChoice FindHelpFile(std::string_view path, std::string_view name);
/// Stores the help file for `path` (or the executable when none is found
/// there, or `path` is empty) and `name` as the application's `HelpFile`; a
/// ".chm" makes the engine and the viewer ready.
void SelectHelpFile(std::string_view path, std::string_view name);
/// Loads the engine once; a library without the entry point leaves it unavailable.
void LoadHtmlHelp();
/// Frees the engine and forgets the entry point.
void UnloadHtmlHelp();
/// The entry point, or null while none is loaded.
THtmlHelpProc HtmlHelpEntryPoint();

class THTMLHelpViewer;
/// True when the engine is there and the help manager's current file is a ".chm".
bool IsHtmlHelpFile(const THTMLHelpViewer& viewer);
/// The viewer, once registered; null before.
std::shared_ptr<THTMLHelpViewer> HtmlHelpViewer();

/// Start-up: forgets engine, viewer and tester, then selects the executable's help file.
void InitializeHelp();
/// Exit: unloads the engine.
void FinalizeHelp();

class THTMLHelpViewer : public framework::IExtendedHelpViewer {
 public:
  /// "Help Viewer " + the application's title.
  std::string GetViewerName() override;
  int UnderstandsKeyword(const std::string& helpString) override;
  std::unique_ptr<framework::TStringList> GetHelpStrings(const std::string& helpString) override;
  bool CanShowTableOfContents() override;
  /// On the manager's window and file; failing that on the application's.
  void ShowTableOfContents() override;
  void ShowHelp(const std::string& helpString) override;
  void NotifyID(int viewerID) override { viewerID_ = viewerID; }
  void SoftShutDown() override;
  void ShutDown() override;
  bool UnderstandsTopic(const std::string& topic) override;
  /// The current file followed by "::/topic" ("::topic" when it begins with "/").
  void DisplayTopic(const std::string& topic) override;
  bool UnderstandsContext(int contextID, const std::string& helpFileName) override;
  /// The table of contents when the engine refuses the context.
  void DisplayHelpByContext(int contextID, const std::string& helpFileName) override;

  int ViewerID() const { return viewerID_; }
  framework::IHelpManager* HelpManager() const { return helpManager_; }
  void SetHelpManager(framework::IHelpManager* manager) { helpManager_ = manager; }

 private:
  platform::HWND ManagerWindow() const;
  std::string ManagerFile() const;

  int viewerID_ = 0;
  framework::IHelpManager* helpManager_ = nullptr;
};

/// Makes the classic viewer take ".hlp" files and nothing else.
class TWinHelpMakeBehave : public framework::IWinHelpTester {
 public:
  bool CanShowALink(const std::string& aLink, const std::string& fileName) override;
  bool CanShowTopic(const std::string& topic, const std::string& fileName) override;
  bool CanShowContext(int context, const std::string& fileName) override;
  std::unique_ptr<framework::TStringList> GetHelpStrings(const std::string& aLink) override;
  std::string GetHelpPath() override { return {}; }
  std::string GetDefaultHelpFile() override { return {}; }
};

}  // namespace lx::frame

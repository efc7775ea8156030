// The help manager and the interfaces of help viewers.
//
// Viewers register with the process's help manager, which hands each its id (NotifyID) and
// gives help requests (by keyword, topic, context number or for the table of contents) to the
// first registered viewer that says it can take them. Topic and context requests go only to
// viewers that also implement IExtendedHelpViewer.
//
// Ownership: viewers are shared (std::shared_ptr) between whoever made them and the manager,
// which keeps them until it shuts down or the viewer is released; this stands in for the
// reference counting of the classic interfaces. The manager itself lives as long as the
// process (or until DoneHelpManager): the IHelpManager pointer a viewer gets back stays good
// until the viewer's ShutDown, after which the viewer must not use it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/core/Strings.h"
#include "platform/Windows.h"

namespace lx::framework {

/// A help request that no viewer takes ("No help found for <keyword>", ...).
class EHelpSystemException : public platform::Exception {
 public:
  using Exception::Exception;
};

class ICustomHelpViewer {
 public:
  virtual ~ICustomHelpViewer() = default;

  virtual std::string GetViewerName() = 0;
  /// How many help entries the viewer has for `helpString`; 0 when it cannot show it.
  virtual int UnderstandsKeyword(const std::string& helpString) = 0;
  /// A new list, the caller's, of the entries for `helpString`.
  virtual std::unique_ptr<TStringList> GetHelpStrings(const std::string& helpString) = 0;
  virtual bool CanShowTableOfContents() = 0;
  virtual void ShowTableOfContents() = 0;
  virtual void ShowHelp(const std::string& helpString) = 0;
  /// The id the manager gave the viewer on registration.
  virtual void NotifyID(int viewerID) = 0;
  /// Closes what the viewer shows, keeping it registered.
  virtual void SoftShutDown() = 0;
  /// The manager is going: the viewer closes what it shows and lets the manager go.
  virtual void ShutDown() = 0;
};

class IExtendedHelpViewer : public ICustomHelpViewer {
 public:
  virtual bool UnderstandsTopic(const std::string& topic) = 0;
  virtual void DisplayTopic(const std::string& topic) = 0;
  virtual bool UnderstandsContext(int contextID, const std::string& helpFileName) = 0;
  virtual void DisplayHelpByContext(int contextID, const std::string& helpFileName) = 0;
};

class IHelpManager {
 public:
  virtual ~IHelpManager() = default;

  /// The window that help is shown for: the application's.
  virtual platform::HWND GetHandle() = 0;
  /// The help file of the request being dispatched (or of the last one).
  virtual std::string GetHelpFile() = 0;
  /// Forgets the viewer with this id.
  virtual void Release(int viewerID) = 0;
};

class THelpManager : public IHelpManager {
 public:
  THelpManager() = default;
  /// Shuts down every viewer still registered.
  ~THelpManager() override;
  THelpManager(const THelpManager&) = delete;
  THelpManager& operator=(const THelpManager&) = delete;

  /// Adds the viewer at the end and tells it its id (0, 1, ... in order of registration).
  int RegisterViewer(std::shared_ptr<ICustomHelpViewer> viewer);
  int ViewerCount() const { return static_cast<int>(viewers_.size()); }
  ICustomHelpViewer* Viewers(int index) const;

  platform::HWND GetHandle() override { return handle_; }
  void SetHandle(platform::HWND value) { handle_ = value; }
  std::string GetHelpFile() override { return helpFile_; }
  void SetHelpFile(const std::string& value) { helpFile_ = value; }
  void Release(int viewerID) override;

  /// Requests; each first makes `helpFileName` the current help file. They raise
  /// EHelpSystemException: "No help found for <keyword>" / "<topic>", "No context-sensitive
  /// help installed" (no extended viewer), "No help found for context", "No topic-based help
  /// system installed", "Unable to find a Table of Contents".
  void ShowHelp(const std::string& keyword, const std::string& helpFileName);
  void ShowTopicHelp(const std::string& topic, const std::string& helpFileName);
  void ShowContextHelp(int contextID, const std::string& helpFileName);
  void ShowTableOfContents();

  /// Tells every viewer to close what it shows.
  void SoftShutDown();
  /// Tells every viewer to shut down and forgets them all.
  void ShutDown();

 private:
  struct TViewerNode {
    int id;
    std::shared_ptr<ICustomHelpViewer> viewer;
  };

  std::vector<TViewerNode> Snapshot() const { return viewers_; }

  std::vector<TViewerNode> viewers_;
  int nextID_ = 0;
  platform::HWND handle_ = 0;
  std::string helpFile_;
};

/// The help manager of the process, made on first use with the classic help viewer
/// (framework/runtime/WinHelpViewer.h) registered first.
THelpManager& HelpManager();
/// Registers `viewer` with the help manager and gives the manager back.
IHelpManager* RegisterViewer(std::shared_ptr<ICustomHelpViewer> viewer);
/// Shuts the help manager down and frees it; the next HelpManager() makes a new one.
void DoneHelpManager();

}  // namespace lx::framework

#include "framework/runtime/HelpIntfs.h"

#include "framework/runtime/FrameworkStrings.h"
#include "framework/runtime/WinHelpViewer.h"

namespace lx::framework {

THelpManager::~THelpManager() {
  ShutDown();
}

int THelpManager::RegisterViewer(std::shared_ptr<ICustomHelpViewer> viewer) {
  const int id = nextID_++;
  viewers_.push_back({id, viewer});
  viewer->NotifyID(id);
  return id;
}

ICustomHelpViewer* THelpManager::Viewers(int index) const {
  if (index < 0 || index >= ViewerCount()) {
    throw platform::EListError("List index out of bounds (" + std::to_string(index) + ")");
  }
  return viewers_[static_cast<std::size_t>(index)].viewer.get();
}

void THelpManager::Release(int viewerID) {
  std::erase_if(viewers_, [viewerID](const TViewerNode& node) { return node.id == viewerID; });
}

void THelpManager::ShowHelp(const std::string& keyword, const std::string& helpFileName) {
  helpFile_ = helpFileName;
  for (const TViewerNode& node : Snapshot()) {
    if (node.viewer->UnderstandsKeyword(keyword) > 0) {
      node.viewer->ShowHelp(keyword);
      return;
    }
  }
  throw EHelpSystemException(LoadResStringWith(hNothingFound, keyword));
}

void THelpManager::ShowTopicHelp(const std::string& topic, const std::string& helpFileName) {
  helpFile_ = helpFileName;
  bool anyExtended = false;
  for (const TViewerNode& node : Snapshot()) {
    auto* viewer = dynamic_cast<IExtendedHelpViewer*>(node.viewer.get());
    if (viewer == nullptr) continue;
    anyExtended = true;
    if (viewer->UnderstandsTopic(topic)) {
      viewer->DisplayTopic(topic);
      return;
    }
  }
  if (!anyExtended) throw EHelpSystemException(LoadResString(hNoTopics));
  throw EHelpSystemException(LoadResStringWith(hNothingFound, topic));
}

void THelpManager::ShowContextHelp(int contextID, const std::string& helpFileName) {
  helpFile_ = helpFileName;
  bool anyExtended = false;
  for (const TViewerNode& node : Snapshot()) {
    auto* viewer = dynamic_cast<IExtendedHelpViewer*>(node.viewer.get());
    if (viewer == nullptr) continue;
    anyExtended = true;
    if (viewer->UnderstandsContext(contextID, helpFileName)) {
      viewer->DisplayHelpByContext(contextID, helpFileName);
      return;
    }
  }
  if (!anyExtended) throw EHelpSystemException(LoadResString(hNoContext));
  throw EHelpSystemException(LoadResString(hNoContextFound));
}

void THelpManager::ShowTableOfContents() {
  for (const TViewerNode& node : Snapshot()) {
    if (node.viewer->CanShowTableOfContents()) {
      node.viewer->ShowTableOfContents();
      return;
    }
  }
  throw EHelpSystemException(LoadResString(hNoTableOfContents));
}

void THelpManager::SoftShutDown() {
  for (const TViewerNode& node : Snapshot())
    node.viewer->SoftShutDown();
}

// A viewer may release itself while it shuts down; the list is taken first.
void THelpManager::ShutDown() {
  std::vector<TViewerNode> viewers;
  viewers.swap(viewers_);
  for (const TViewerNode& node : viewers)
    node.viewer->ShutDown();
}

namespace {

std::unique_ptr<THelpManager>& Manager() {
  static auto* manager = new std::unique_ptr<THelpManager>();
  return *manager;
}

}  // namespace

THelpManager& HelpManager() {
  std::unique_ptr<THelpManager>& manager = Manager();
  if (!manager) {
    manager = std::make_unique<THelpManager>();
    auto classic = std::make_shared<TWinHelpViewer>();
    classic->SetManager(manager.get());
    manager->RegisterViewer(classic);
  }
  return *manager;
}

IHelpManager* RegisterViewer(std::shared_ptr<ICustomHelpViewer> viewer) {
  THelpManager& manager = HelpManager();
  manager.RegisterViewer(std::move(viewer));
  return &manager;
}

void DoneHelpManager() {
  Manager().reset();
}

}  // namespace lx::framework

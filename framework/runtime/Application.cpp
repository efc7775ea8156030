#include "framework/runtime/Application.h"

#include <algorithm>

#include "framework/controls/Dialogs.h"
#include "framework/rtti/Published.h"
#include "framework/runtime/HelpIntfs.h"
#include "framework/runtime/MessageLoop.h"
#include "platform/FileSystem.h"

namespace lx::framework {

LX_PUBLISHED(TApplication)

TApplication::TApplication(TComponent* owner)
    : TComponent(owner), exeName_(platform::ExecutablePath()) {}

// The forms and data modules go while the application is still whole, so that they can
// report to it.
TApplication::~TApplication() {
  DestroyComponents();
  released_.clear();
  if (handle_ != 0) platform::DestroyWindow(handle_);
}

std::string TApplication::Title() const {
  if (!title_.empty()) return title_;
  // Either style of path: a host may hand over a Windows path.
  const std::size_t folder = exeName_.find_last_of("/\\");
  const std::string name = folder == std::string::npos ? exeName_ : exeName_.substr(folder + 1);
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

platform::HWND TApplication::Handle() {
  if (handle_ == 0) {
    handle_ =
        platform::CreateWindowEx(0, "TApplication", Title(), platform::WS_POPUP, 0, 0, 0, 0, 0);
  }
  return handle_;
}

TComponent* TApplication::CreateForm(const TClassInfo& instanceClass,
                                     const std::function<void(TComponent*)>& setReference) {
  TComponent* instance = instanceClass.CreateComponent(this);
  try {
    if (setReference) setReference(instance);
    LoadFormResource(*instance);
    if (auto* form = dynamic_cast<TCustomForm*>(instance)) {
      form->DoCreate();
      if (mainForm_ == nullptr && form->FormStyle() != fsMDIChild) {
        form->HandleNeeded();
        mainForm_ = form;
      }
    } else if (auto* dataModule = dynamic_cast<TDataModule*>(instance)) {
      dataModule->DoCreate();
    }
  } catch (...) {
    if (setReference) setReference(nullptr);
    delete instance;
    throw;
  }
  return instance;
}

bool TApplication::AnyFormShowing() const {
  const TScreen& screen = Screen();
  for (int i = 0; i < screen.FormCount(); ++i) {
    if (screen.Forms(i)->Visible()) return true;
  }
  return false;
}

void TApplication::Run() {
  if (terminated_) return;
  if (mainForm_ != nullptr && showMainForm_) mainForm_->Show();
  if (MessageLoop() == nullptr) {
    do {
      ProcessMessages();
    } while (!terminated_ && AnyFormShowing() && !posted_.empty());
    return;
  }
  ProcessMessages();
  while (!terminated_ && AnyFormShowing())
    HandleMessage();
}

bool TApplication::HandleMessage() {
  const bool hadPosted = !posted_.empty();
  ProcessMessages();
  TMessageLoop* loop = MessageLoop();
  if (loop == nullptr) return hadPosted;
  if (!terminated_ && posted_.empty()) loop->HandleMessage();
  return true;
}

void TApplication::Post(std::function<void()> action) {
  posted_.push_back(std::move(action));
  if (TMessageLoop* loop = MessageLoop()) loop->Wake();
}

void TApplication::ProcessMessages() {
  const std::size_t count = posted_.size();
  for (std::size_t i = 0; i < count && !posted_.empty() && !terminated_; ++i) {
    std::function<void()> action = std::move(posted_.front());
    posted_.pop_front();
    try {
      action();
    } catch (...) {
      HandleException(this);
    }
  }
  FreeReleasedForms();
}

void TApplication::ReleaseForm(TCustomForm* form) {
  if (std::find(released_.begin(), released_.end(), form) == released_.end()) {
    released_.push_back(form);
  }
}

// A form released while it runs modally is freed once its modal loop is over.
void TApplication::FreeReleasedForms() {
  std::vector<TCustomForm*> kept;
  while (!released_.empty()) {
    TCustomForm* form = released_.back();
    released_.pop_back();
    if (form->IsModal()) {
      kept.push_back(form);
    } else {
      delete form;
    }
  }
  released_.insert(released_.end(), kept.begin(), kept.end());
}

void TApplication::FormDestroyed(TCustomForm* form) {
  if (mainForm_ == form) mainForm_ = nullptr;
  std::erase(released_, form);
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == mainForm_) mainForm_ = nullptr;
}

void TApplication::HandleException(TObject* sender) {
  const std::exception_ptr current = std::current_exception();
  if (!current) return;
  try {
    std::rethrow_exception(current);
  } catch (platform::Exception& e) {
    DispatchException(sender, e);
  } catch (const std::exception& e) {
    platform::Exception wrapped(e.what());
    DispatchException(sender, wrapped);
  } catch (...) {
    platform::Exception wrapped("Unknown exception");
    DispatchException(sender, wrapped);
  }
}

void TApplication::DispatchException(TObject* sender, platform::Exception& e) {
  if (OnException) {
    OnException(sender, e);
  } else {
    ShowException(e);
  }
}

void TApplication::ShowException(const platform::Exception& e) {
  std::string message = e.Message();
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') message += '.';
  MessageBox(message, Title(), MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption,
                             platform::UINT flags) {
  return framework::MessageBox(text, caption, flags);
}

void TApplication::SetBiDiMode(TBiDiMode value) {
  if (value == biDiMode_) return;
  biDiMode_ = value;
  const TScreen& screen = Screen();
  for (int i = 0; i < screen.FormCount(); ++i)
    screen.Forms(i)->ParentBiDiModeChanged();
}

namespace {

THelpManager& HelpManagerFor(TApplication& application) {
  THelpManager& manager = HelpManager();
  manager.SetHandle(application.Handle());
  manager.SetHelpFile(application.HelpFile());
  return manager;
}

}  // namespace

bool TApplication::HelpKeyword(const std::string& keyword) {
  HelpManagerFor(*this).ShowHelp(keyword, helpFile_);
  return true;
}

bool TApplication::HelpContext(int context) {
  HelpManagerFor(*this).ShowContextHelp(context, helpFile_);
  return true;
}

bool TApplication::HelpJump(const std::string& topic) {
  HelpManagerFor(*this).ShowTopicHelp(topic, helpFile_);
  return true;
}

bool TApplication::HelpShowTableOfContents() {
  THelpManager& manager = HelpManagerFor(*this);
  manager.ShowTableOfContents();
  return true;
}

namespace {

TApplication*& Instance() {
  static TApplication* instance = nullptr;
  return instance;
}

}  // namespace

TApplication& Application() {
  TApplication*& instance = Instance();
  if (instance == nullptr) instance = new TApplication(nullptr);
  return *instance;
}

TApplication* ApplicationIfAny() {
  return Instance();
}

void DoneApplication() {
  TApplication*& instance = Instance();
  delete instance;
  instance = nullptr;
}

}  // namespace lx::framework

#include "framework/controls/Forms.h"

#include <algorithm>

#include "framework/controls/Dialogs.h"
#include "framework/controls/Menus.h"
#include "framework/core/ScopeExit.h"
#include "framework/rtti/Published.h"
#include "framework/runtime/Application.h"
#include "framework/runtime/FrameworkStrings.h"
#include "framework/streaming/FormResources.h"

namespace lx::framework {

LX_PUBLISHED(TCustomForm)

LX_PUBLISHED(
    TForm, Property("AutoScroll", &TCustomForm::AutoScroll, &TCustomForm::SetAutoScroll, true),
    Property("BiDiMode", &TControl::BiDiMode, &TControl::SetBiDiMode, bdLeftToRight)
        .Stored(&TControl::IsBiDiModeStored),
    Property("Caption", &TControl::Caption, &TControl::SetCaption),
    Property("ClientHeight", &TControl::ClientHeight, &TControl::SetClientHeight),
    Property("ClientWidth", &TControl::ClientWidth, &TControl::SetClientWidth),
    Property("Enabled", &TControl::Enabled, &TControl::SetEnabled, true),
    Property("Font", &TControl::Font, &TControl::SetFont).Stored(&TControl::IsFontStored),
    Property("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle, fsNormal),
    Property("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu),
    Property("ParentBiDiMode", &TControl::ParentBiDiMode, &TControl::SetParentBiDiMode, true),
    Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, false),
    Property("Visible", &TControl::Visible, &TControl::SetVisible, false),
    Property("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState, wsNormal),
    Event("OnClose", &TCustomForm::OnClose), Event("OnCloseQuery", &TCustomForm::OnCloseQuery),
    Event("OnCreate", &TCustomForm::OnCreate), Event("OnDestroy", &TCustomForm::OnDestroy),
    Event("OnHide", &TCustomForm::OnHide), Event("OnShow", &TCustomForm::OnShow))

LX_PUBLISHED(TDataModule, Event("OnCreate", &TDataModule::OnCreate),
             Event("OnDestroy", &TDataModule::OnDestroy))

namespace {

[[noreturn]] void IndexError(int index) {
  throw platform::EListError("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace

// ---- TCustomForm ----

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  SetVisible(false);
  SetParentFont(false);
  SetBounds(0, 0, 320, 240);
  ParentBiDiModeChanged();
  Screen().AddForm(this);
}

TCustomForm::~TCustomForm() {
  if (OnDestroy) OnDestroy(this);
  for (TCustomForm* child : mdiChildren_) {
    child->mdiParent_ = nullptr;
    child->DestroyHandle();  // its window goes with this one
  }
  mdiChildren_.clear();
  DetachFromMDIParent();
  Screen().RemoveForm(this);
  if (TApplication* application = ApplicationIfAny()) application->FormDestroyed(this);
}

void TCustomForm::SetFormStyle(TFormStyle value) {
  if (value == formStyle_) return;
  const TFormStyle previous = formStyle_;
  formStyle_ = value;
  if (ComponentState().Contains(csLoading)) return;
  if (previous == fsMDIChild) {
    DetachFromMDIParent();
    DestroyHandle();
  }
  if (value == fsMDIChild) {
    try {
      AttachToMDIParent();
    } catch (...) {
      formStyle_ = previous;
      throw;
    }
  } else if (HandleAllocated()) {
    RecreateWnd();
  }
}

void TCustomForm::AttachToMDIParent() {
  TCustomForm* frame = Application().MainForm();
  if (frame == nullptr || frame == this || frame->formStyle_ != fsMDIForm) {
    throw EInvalidOperation(LoadResString(SNoMDIForm));
  }
  DestroyHandle();
  mdiParent_ = frame;
  frame->mdiChildren_.insert(frame->mdiChildren_.begin(), this);
  Show();
}

void TCustomForm::DetachFromMDIParent() {
  if (mdiParent_ == nullptr) return;
  std::erase(mdiParent_->mdiChildren_, this);
  mdiParent_ = nullptr;
}

void TCustomForm::BringToFront() {
  if (mdiParent_ != nullptr) {
    auto& siblings = mdiParent_->mdiChildren_;
    std::erase(siblings, this);
    siblings.insert(siblings.begin(), this);
  }
  if (HandleAllocated()) {
    platform::SetWindowPos(Handle(), platform::HWND_TOP, 0, 0, 0, 0,
                           platform::SWP_NOMOVE | platform::SWP_NOSIZE);
  }
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
  if (formStyle_ != fsMDIForm || mdiChildren_.empty()) return nullptr;
  return mdiChildren_.front();
}

int TCustomForm::MDIChildCount() const {
  return formStyle_ == fsMDIForm ? static_cast<int>(mdiChildren_.size()) : 0;
}

TCustomForm* TCustomForm::MDIChildren(int index) const {
  if (index < 0 || index >= MDIChildCount()) IndexError(index);
  return mdiChildren_[static_cast<std::size_t>(index)];
}

void TCustomForm::SetWindowState(TWindowState value) {
  if (value == windowState_) return;
  windowState_ = value;
  if (HandleAllocated() && Visible()) ApplyWindowState();
}

void TCustomForm::ApplyWindowState() {
  static constexpr platform::UINT kShowCommands[] = {
      platform::SW_SHOWNORMAL, platform::SW_SHOWMINIMIZED, platform::SW_SHOWMAXIMIZED};
  const platform::HWND window = Handle();
  platform::ShowWindow(window, kShowCommands[windowState_]);
  if (windowState_ != wsMinimized) ReadBoundsFromWindow();
}

// The window moved or resized by itself (maximised, restored): the bounds follow it.
void TCustomForm::ReadBoundsFromWindow() {
  platform::RECT rect;
  const platform::HWND window = Handle();
  if (!platform::GetWindowRect(window, rect)) return;
  platform::RECT parentRect;
  if (const platform::HWND parent = platform::GetParent(window);
      parent != 0 && platform::GetWindowRect(parent, parentRect)) {
    rect.left -= parentRect.left;
    rect.right -= parentRect.left;
    rect.top -= parentRect.top;
    rect.bottom -= parentRect.top;
  }
  UpdateBoundsFromWindow(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

void TCustomForm::SetMenu(TMainMenu* value) {
  if (value == menu_) return;
  if (menu_ != nullptr) menu_->RemoveFreeNotification(this);
  menu_ = value;
  if (value != nullptr) value->FreeNotification(this);
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == menu_) menu_ = nullptr;
}

void TCustomForm::Show() {
  SetVisible(true);
  BringToFront();
}

void TCustomForm::VisibleChanged() {
  if (ComponentState().Contains(csLoading)) return;
  if (Visible()) {
    HandleNeeded();
    CreateChildHandles(*this);
    ApplyWindowState();
    if (OnShow) OnShow(this);
  } else if (HandleAllocated()) {
    platform::ShowWindow(Handle(), platform::SW_HIDE);
    if (OnHide) OnHide(this);
  }
}

// Showing a form makes the windows of everything visible inside it.
void TCustomForm::CreateChildHandles(TWinControl& control) {
  for (int i = 0; i < control.ControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(control.Controls(i));
    if (child == nullptr || !child->Visible()) continue;
    child->HandleNeeded();
    CreateChildHandles(*child);
  }
}

bool TCustomForm::CloseQuery() {
  if (formStyle_ == fsMDIForm) {
    const std::vector<TCustomForm*> children = mdiChildren_;
    for (TCustomForm* child : children) {
      if (!child->CloseQuery()) return false;
    }
  }
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (!CloseQuery()) return;
  TCloseAction action = formStyle_ == fsMDIChild ? caMinimize : caHide;
  if (OnClose) OnClose(this, action);
  if (action == caNone) return;
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  if (Application().MainForm() == this) {
    Application().Terminate();
    return;
  }
  switch (action) {
    case caHide:
      Hide();
      break;
    case caMinimize:
      SetWindowState(wsMinimized);
      break;
    case caFree:
      Release();
      break;
    case caNone:
      break;
  }
}

void TCustomForm::Release() {
  Application().ReleaseForm(this);
}

int TCustomForm::ShowModal() {
  if (Visible() || modal_) throw EInvalidOperation(LoadResString(SCannotShowModal));
  modal_ = true;
  const TScopeExit leave([this] { modal_ = false; });
  modalResult_ = mrNone;
  Show();
  while (modalResult_ == mrNone) {
    if (Application().Terminated() || !Visible() || !Application().HandleMessage())
      modalResult_ = mrCancel;
  }
  Hide();
  return modalResult_;
}

void TCustomForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TCustomForm::Loaded() {
  TWinControl::Loaded();
  if (formStyle_ == fsMDIChild) {
    AttachToMDIParent();
  } else if (Visible()) {
    VisibleChanged();
  }
}

bool TCustomForm::InheritedBiDiMode(TBiDiMode& mode) const {
  if (Parent() != nullptr) return TWinControl::InheritedBiDiMode(mode);
  mode = Application().BiDiMode();
  return true;
}

platform::HWND TCustomForm::ParentWindow() {
  if (mdiParent_ != nullptr) return mdiParent_->Handle();
  return TWinControl::ParentWindow();
}

platform::DWORD TCustomForm::WindowStyle() const {
  platform::DWORD style = TWinControl::WindowStyle() | platform::WS_OVERLAPPEDWINDOW;
  if (windowState_ == wsMaximized) style |= platform::WS_MAXIMIZE;
  if (windowState_ == wsMinimized) style |= platform::WS_MINIMIZE;
  return style;
}

platform::DWORD TCustomForm::WindowExStyle() const {
  platform::DWORD exStyle = TWinControl::WindowExStyle();
  if (formStyle_ == fsMDIChild) exStyle |= platform::WS_EX_MDICHILD;
  if (formStyle_ == fsStayOnTop) exStyle |= platform::WS_EX_TOPMOST;
  return exStyle;
}

void TCustomForm::WindowCreated() {
  if (windowState_ == wsMaximized) ReadBoundsFromWindow();
}

void TCustomForm::GetChildren(const TGetChildProc& proc, TComponent* root) {
  TWinControl::GetChildren(proc, root);
  if (root != this) return;
  for (int i = 0; i < ComponentCount(); ++i) {
    TComponent* component = Components(i);
    if (!component->HasParent()) proc(component);
  }
}

// ---- TDataModule ----

TDataModule::TDataModule(TComponent* owner) : TComponent(owner) {
  Screen().AddDataModule(this);
}

TDataModule::~TDataModule() {
  if (OnDestroy) OnDestroy(this);
  Screen().RemoveDataModule(this);
}

void TDataModule::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TDataModule::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (int i = 0; i < ComponentCount(); ++i) {
    TComponent* component = Components(i);
    if (!component->HasParent() && component->Owner() == root) proc(component);
  }
}

TCustomForm* GetParentForm(TControl* control) {
  while (control != nullptr && dynamic_cast<TCustomForm*>(control) == nullptr)
    control = control->Parent();
  return static_cast<TCustomForm*>(control);
}

void LoadFormResource(TComponent& instance) {
  const TClassInfo* root = nullptr;
  if (dynamic_cast<TCustomForm*>(&instance) != nullptr) {
    root = &TForm::StaticClassInfo();
  } else if (dynamic_cast<TDataModule*>(&instance) != nullptr) {
    root = &TDataModule::StaticClassInfo();
  } else {
    return;
  }
  if (InitInheritedComponent(instance, *root)) return;
  if (root->InheritsFrom(instance.ClassInfo())) return;
  throw platform::EResNotFound("Resource " + instance.ClassName() + " not found");
}

// ---- cursors and the screen ----

namespace {

// Handles of the standard cursors: one per index from crDefault down to crSizeAll.
constexpr HCURSOR kStandardCursorBase = 0x7F00;
constexpr TCursor kLowestStandardCursor = crSizeAll;

bool IsStandardCursor(TCursor index) {
  return index <= crDefault && index >= kLowestStandardCursor;
}

HCURSOR StandardCursor(TCursor index) {
  return kStandardCursorBase + static_cast<HCURSOR>(-index);
}

HCURSOR& LastLoadedCursor() {
  static HCURSOR last = 0x10000;
  return last;
}

}  // namespace

HCURSOR LoadCursor(platform::HMODULE module, std::string_view name) {
  const platform::HMODULE owner = module == 0 ? platform::MainModule() : module;
  if (!platform::FindResource(owner, platform::RT_CURSOR, name)) return 0;
  return ++LastLoadedCursor();
}

TScreen::TScreen() {
  for (TCursor index = crDefault; index >= kLowestStandardCursor; --index)
    cursors_.push_back({index, StandardCursor(index)});
}

TCustomForm* TScreen::Forms(int index) const {
  if (index < 0 || index >= FormCount()) IndexError(index);
  return forms_[static_cast<std::size_t>(index)];
}

TDataModule* TScreen::DataModules(int index) const {
  if (index < 0 || index >= DataModuleCount()) IndexError(index);
  return dataModules_[static_cast<std::size_t>(index)];
}

HCURSOR TScreen::Cursors(TCursor index) const {
  for (const TCursorEntry& entry : cursors_) {
    if (entry.index == index) return entry.cursor;
  }
  return Cursors(crDefault);
}

void TScreen::SetCursors(TCursor index, HCURSOR cursor) {
  std::erase_if(cursors_, [index](const TCursorEntry& entry) { return entry.index == index; });
  if (cursor == 0 && IsStandardCursor(index)) cursor = StandardCursor(index);
  if (cursor != 0) cursors_.push_back({index, cursor});
}

void TScreen::AddForm(TCustomForm* form) {
  forms_.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
  std::erase(forms_, form);
}

void TScreen::AddDataModule(TDataModule* dataModule) {
  dataModules_.push_back(dataModule);
}

void TScreen::RemoveDataModule(TDataModule* dataModule) {
  std::erase(dataModules_, dataModule);
}

TScreen& Screen() {
  // Kept for the whole run: forms made or freed at any time report to it.
  static TScreen* screen = new TScreen();
  return *screen;
}

}  // namespace lx::framework

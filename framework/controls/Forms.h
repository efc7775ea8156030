// Forms, data modules and the screen.
//
// A form is a top-level window (or, with FormStyle fsMDIChild, a window inside the
// application's MDI frame, its main form). Forms start hidden; Show makes the window and the
// windows of everything visible inside it. Every form and data module is listed by the screen
// while it exists. A form's reading direction follows the application's while ParentBiDiMode
// is set.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "framework/controls/Controls.h"
#include "platform/Resources.h"

namespace lx::framework {

class TMainMenu;

LX_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)
LX_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized)
LX_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize)

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

class TCustomForm : public TWinControl {
  LX_CLASS(TCustomForm, TWinControl)
  friend class TApplication;

 public:
  /// An empty hidden form with its own font (ParentFont off).
  explicit TCustomForm(TComponent* owner);
  /// Fires OnDestroy, leaves the screen and the MDI frame; MDI children lose their windows.
  ~TCustomForm() override;

  /// Scrolls its content instead of clipping it; forms that are scaled have it off.
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool value) { autoScroll_ = value; }
  /// Becoming fsMDIChild (outside loading; after loading otherwise) puts the form into the
  /// application's main form and shows it; raises EInvalidOperation "Cannot create form. No MDI
  /// forms are currently active" when the main form is no MDI frame.
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle value);
  /// The state the window is shown in; a shown window changes at once, its bounds following.
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState value);
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* value);

  /// Makes the form visible (an MDI child also becomes the active child).
  void Show();
  void Hide() { SetVisible(false); }
  /// Asks OnCloseQuery (an MDI frame asks its children first), then OnClose with caHide
  /// (caMinimize for an MDI child); closing the main form ends the application, otherwise the
  /// action is carried out: hide, minimise or Release.
  void Close();
  bool CloseQuery();
  /// Frees the form once the application next processes its messages.
  void Release();

  /// Shows the form and waits, handling the application's messages, until ModalResult is set
  /// (a button with a ModalResult, Close, code), then hides it and returns the result; mrCancel
  /// when the form was hidden, the application terminated or, headless, nothing was left to
  /// do. Raises EInvalidOperation "Cannot make a visible window modal" for a visible form.
  int ShowModal();
  bool IsModal() const { return modal_; }
  /// Setting it on a modal form ends ShowModal with that result.
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int value) { modalResult_ = value; }

  /// The active child of an MDI frame; null for other forms or without children.
  TCustomForm* ActiveMDIChild() const;
  int MDIChildCount() const;
  /// The MDI children, the active one first; raises EListError "List index out of bounds
  /// (<index>)".
  TCustomForm* MDIChildren(int index) const;
  /// The frame an MDI child lives in; null for other forms.
  TCustomForm* MDIParent() const { return mdiParent_; }

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  /// Fires OnCreate; the application calls it once the form is whole.
  void DoCreate();

  /// The controls, and for the form itself the other components it owns without a parent.
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;

 protected:
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  bool InheritedBiDiMode(TBiDiMode& mode) const override;
  void VisibleChanged() override;
  platform::HWND ParentWindow() override;
  bool NeedsParentWindow() const override { return false; }
  platform::DWORD WindowStyle() const override;
  platform::DWORD WindowExStyle() const override;
  void WindowCreated() override;

 private:
  void AttachToMDIParent();
  void DetachFromMDIParent();
  void BringToFront();
  void CreateChildHandles(TWinControl& control);
  void ApplyWindowState();
  void ReadBoundsFromWindow();

  bool autoScroll_ = true;
  TFormStyle formStyle_ = fsNormal;
  TWindowState windowState_ = wsNormal;
  TMainMenu* menu_ = nullptr;
  TCustomForm* mdiParent_ = nullptr;
  bool modal_ = false;
  int modalResult_ = 0;
  std::vector<TCustomForm*> mdiChildren_;  // the active child first
};

class TForm : public TCustomForm {
  LX_CLASS(TForm, TCustomForm)

 public:
  explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

/// A form without a window, for non-visual components.
class TDataModule : public TComponent {
  LX_CLASS(TDataModule, TComponent)

 public:
  explicit TDataModule(TComponent* owner);
  /// Fires OnDestroy and leaves the screen.
  ~TDataModule() override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  void DoCreate();

  /// Every owned component that has no parent of its own.
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
};

/// The form that `control` lies in (itself for a form), or null.
TCustomForm* GetParentForm(TControl* control);

/// Reads the form resources of a form's or data module's class into `instance`, its
/// ancestors' first (inherited forms), as creating it through the application does. TForm and
/// TDataModule themselves need none; any other class without one raises EResNotFound
/// "Resource <class name> not found". Other components are left alone.
void LoadFormResource(TComponent& instance);

/// A mouse cursor; 0 is none.
using HCURSOR = std::uintptr_t;

/// A cursor made from the cursor resource `name` of `module` (0: the program); 0 when there is
/// no such resource.
HCURSOR LoadCursor(platform::HMODULE module, std::string_view name);

/// The screen: the forms and data modules that exist, and the cursor table.
class TScreen {
 public:
  TScreen();
  TScreen(const TScreen&) = delete;
  TScreen& operator=(const TScreen&) = delete;

  /// The forms, in the order they were made.
  int FormCount() const { return static_cast<int>(forms_.size()); }
  /// Raises EListError "List index out of bounds (<index>)".
  TCustomForm* Forms(int index) const;
  int DataModuleCount() const { return static_cast<int>(dataModules_.size()); }
  TDataModule* DataModules(int index) const;

  /// The cursor at `index` (crHandPoint, crDefault, ... or an index of the program's own);
  /// the default cursor for an index without one.
  HCURSOR Cursors(TCursor index) const;
  /// Puts `cursor` at `index`; 0 takes the entry away (a standard index gets its own back).
  void SetCursors(TCursor index, HCURSOR cursor);

  // Kept up to date by the forms and data modules themselves.
  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);
  void AddDataModule(TDataModule* dataModule);
  void RemoveDataModule(TDataModule* dataModule);

 private:
  struct TCursorEntry {
    TCursor index;
    HCURSOR cursor;
  };

  std::vector<TCustomForm*> forms_;
  std::vector<TDataModule*> dataModules_;
  std::vector<TCursorEntry> cursors_;
};

/// The screen of the program, made on first use and kept for the life of the process.
TScreen& Screen();

}  // namespace lx::framework

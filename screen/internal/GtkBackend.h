// The GTK 3 backend: one GtkWindow per showing form, the form's controls as widgets inside
// it, the user's input handed back to the framework as its events.
//
// The windows layer stays the one record of every window (text, place, visibility, enabled
// state, reading direction); labels and other controls without a window, fonts, hints, list
// items and menus are read from the framework's controls. Labels get no widget: the box of
// their parent draws them. Any change the windows layer
// reports, any input handed to a control and any posted action marks the backend out of
// date, and it brings every widget up to date at the next idle moment of the GTK loop
// (Refresh does it at once), touching only the widgets whose control shows something new. Widgets
// only ever hold a control as a key: it is looked up among the live forms before it is used, so a
// control freed meanwhile is simply not found.
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <map>
#include <memory>

#include "framework/controls/Forms.h"
#include "framework/runtime/MessageLoop.h"
#include "platform/WindowListener.h"
#include "screen/internal/ControlWidgets.h"
#include "screen/internal/FontClasses.h"
#include "screen/internal/InputSources.h"
#include "screen/internal/MenuBar.h"

// Kept inside a shared library: only the layer's own units use it.
#pragma GCC visibility push(hidden)

namespace lx::screen {

/// The code page that a control's 8-bit texts are written in.
using TTextCodePage = std::function<unsigned(const framework::TControl& control)>;

class TGtkBackend final : public platform::WindowListener,
                          public framework::TMessageLoop,
                          public TInputSink {
 public:
  /// GTK must be initialised already.
  TGtkBackend();
  /// Destroys every window it made.
  ~TGtkBackend() override;
  TGtkBackend(const TGtkBackend&) = delete;
  TGtkBackend& operator=(const TGtkBackend&) = delete;

  /// Brings every window and widget up to the framework's state now.
  void Sync();
  /// Marks the widgets out of date; they are brought up to date when GTK is next idle.
  void MarkDirty();
  /// Whether the widgets are out of date, waiting for the next idle moment.
  bool Dirty() const { return dirty_; }
  /// Lays out every window now instead of at the next frame.
  void LayOut();
  /// The windows shown, one per showing form.
  std::vector<GtkWidget*> Windows() const;

  /// Without one, a control's texts are read in the code page of its font's character set.
  void SetTextCodePage(TTextCodePage codePage);
  void SetMenuTextCodePage(TMenuTextCodePage codePage);

  /// The widgets of a showing form and of its controls; null when not shown.
  GtkWidget* WindowOf(const framework::TCustomForm& form) const;
  GtkWidget* BoxOf(const framework::TCustomForm& form) const;
  GtkWidget* MenuBarOf(const framework::TCustomForm& form) const;
  const TControlWidgets* WidgetsOf(const framework::TControl& control) const;
  /// The record of a showing label, button, check box, radio button or edit in its parent's box
  /// (what it shows, where, its state); null when the control is not drawn so or not shown.
  const TDrawnLabel* LabelOf(const framework::TControl& control) const;

  // platform::WindowListener: every change makes the widgets out of date.
  void WindowCreated(platform::HWND) override { MarkDirty(); }
  void WindowDestroying(platform::HWND) override { MarkDirty(); }
  void WindowMoved(platform::HWND) override { MarkDirty(); }
  void WindowTextChanged(platform::HWND) override { MarkDirty(); }
  void WindowShown(platform::HWND, bool) override { MarkDirty(); }
  void WindowStyleChanged(platform::HWND, int) override { MarkDirty(); }
  void WindowInvalidated(platform::HWND) override { MarkDirty(); }
  void MenuChanged(platform::HMENU) override { MarkDirty(); }

  // framework::TMessageLoop
  void HandleMessage() override;
  void Wake() override;
  void InputWatched(int fd, bool watched) override { inputs_.Watch(fd, watched); }

  // TInputSink
  void Clicked(const void* key) override;
  void TextEdited(const void* key, const std::string& utf8) override;
  void Toggled(const void* key, bool active) override;
  void ItemsChosen(const void* key, const std::vector<int>& chosen) override;
  void MenuItemActivated(const void* key) override;
  void CloseRequested(const void* key) override;

 private:
  struct TFormView;

  TFormView& ViewOf(framework::TCustomForm& form);
  void SyncForm(framework::TCustomForm& form, TFormView& view);
  void SyncWindow(framework::TCustomForm& form, TFormView& view);
  void SyncMenu(framework::TCustomForm& form, TFormView& view);
  void SyncControls(framework::TWinControl& parent, GtkWidget* box, TFormView& view);
  TControlState StateOf(const framework::TControl& control, TWidgetKind kind) const;
  unsigned CodePageOf(const framework::TControl& control) const;
  void DropForm(platform::HWND handle);
  /// Runs an input's effect on the framework; exceptions go to the application.
  void Dispatch(const std::function<void()>& effect);
  static gboolean OnIdle(gpointer self);
  /// After input, the widgets of `key` may show what the framework did not take: the next
  /// update brings them back to the control's state even when that did not change.
  void ForgetShown(const void* key);

  TFontClasses fonts_;  // outlives every widget it styles
  std::map<platform::HWND, std::unique_ptr<TFormView>> forms_;
  TTextCodePage codePage_;
  TMenuTextCodePage menuCodePage_;
  bool dirty_ = false;
  guint idleSource_ = 0;
  bool syncing_ = false;
  TInputSources inputs_;
};

/// The installed backend (see screen/Screen.h), or null.
TGtkBackend* Backend();

}  // namespace lx::screen
#pragma GCC visibility pop

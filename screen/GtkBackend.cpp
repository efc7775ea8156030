#include "screen/internal/GtkBackend.h"

#include <algorithm>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/core/ScopeExit.h"
#include "framework/runtime/Application.h"
#include "screen/internal/FixedBox.h"
#include "screen/internal/MenuBar.h"
#include "screen/internal/ScreenTexts.h"

namespace lx::screen {

using framework::TControl;
using framework::TCustomForm;
using framework::TWinControl;

struct TGtkBackend::TFormView {
  GtkWidget* window = nullptr;
  GtkWidget* column = nullptr;
  GtkWidget* menuBar = nullptr;
  GtkWidget* box = nullptr;
  GtkAccelGroup* accelerators = nullptr;
  std::string fontCss;
  std::string menuSignature;
  std::string menuShape;
  TMenuBarParts menuParts;
  std::string title;
  platform::RECT place{-1, -1, -1, -1};
  // Looked up for every control in every update.
  std::unordered_map<const TControl*, TControlWidgets> controls;
  std::unordered_set<const TControl*> seen;
  TDirectionChanges directions;  // of this pass, given at its end
};

namespace {

TGtkBackend*& InstalledBackend() {
  static TGtkBackend* backend = nullptr;
  return backend;
}

bool HasRightToLeftLayout(platform::HWND window) {
  const auto exStyle =
      static_cast<platform::DWORD>(platform::GetWindowLong(window, platform::GWL_EXSTYLE));
  return (exStyle & (platform::WS_EX_RTLREADING | platform::WS_EX_LAYOUTRTL)) != 0;
}

// A child window's rectangle relative to its parent's client area.
platform::RECT PlaceInParent(platform::HWND window) {
  platform::RECT rect;
  platform::GetWindowRect(window, rect);
  platform::RECT parent;
  if (platform::GetWindowRect(platform::GetParent(window), parent)) {
    rect.left -= parent.left;
    rect.right -= parent.left;
    rect.top -= parent.top;
    rect.bottom -= parent.top;
  }
  return rect;
}

// Windows end memo lines with CR LF; GTK with LF.
std::string WithoutCarriageReturns(std::string text) {
  std::erase(text, '\r');
  return text;
}

const TControl* FindIn(const TWinControl& parent, const void* key) {
  if (&parent == key) return &parent;
  for (int i = 0; i < parent.ControlCount(); ++i) {
    const TControl* child = parent.Controls(i);
    if (child == key) return child;
    if (const auto* windowed = dynamic_cast<const TWinControl*>(child)) {
      if (const TControl* found = FindIn(*windowed, key)) return found;
    }
  }
  return nullptr;
}

// The live control that `key` stands for, or null when it is gone.
TControl* FindControl(const void* key) {
  const framework::TScreen& screen = framework::Screen();
  for (int i = 0; i < screen.FormCount(); ++i) {
    if (const TControl* found = FindIn(*screen.Forms(i), key)) return const_cast<TControl*>(found);
  }
  return nullptr;
}

framework::TMenuItem* FindItemIn(framework::TMenuItem& parent, const void* key) {
  for (int i = 0; i < parent.Count(); ++i) {
    framework::TMenuItem* item = parent.Items(i);
    if (item == key) return item;
    if (framework::TMenuItem* found = FindItemIn(*item, key)) return found;
  }
  return nullptr;
}

framework::TMenuItem* FindMenuItem(const void* key) {
  const framework::TScreen& screen = framework::Screen();
  for (int i = 0; i < screen.FormCount(); ++i) {
    framework::TMainMenu* menu = screen.Forms(i)->Menu();
    if (menu == nullptr) continue;
    if (framework::TMenuItem* found = FindItemIn(*menu->Items(), key)) return found;
  }
  return nullptr;
}

gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
  const auto& target = *static_cast<TInputTarget*>(data);
  target.sink->CloseRequested(target.key);
  return TRUE;  // the form decides whether its window goes
}

void ReadItems(const TControl& control, TWidgetKind kind, unsigned codePage, TControlState& state) {
  // The kind says the class already: no cast needs to look.
  if (kind == TWidgetKind::ListBox) {
    const auto& list = static_cast<const framework::TCustomListBox&>(control);
    state.multiSelect = list.MultiSelect();
    state.items.reserve(static_cast<std::size_t>(list.Items()->Count()));
    for (int i = 0; i < list.Items()->Count(); ++i) {
      state.items.push_back(ToUtf8(list.Items()->Strings(i), codePage));
      if (list.Selected(i)) state.chosen.push_back(i);
    }
  } else if (kind == TWidgetKind::ComboBox) {
    const auto& combo = static_cast<const framework::TCustomComboBox&>(control);
    for (int i = 0; i < combo.Items()->Count(); ++i)
      state.items.push_back(ToUtf8(combo.Items()->Strings(i), codePage));
    if (combo.ItemIndex() >= 0) state.chosen.push_back(combo.ItemIndex());
  } else if (kind == TWidgetKind::CheckBox) {
    state.checked = static_cast<const framework::TCheckBox&>(control).Checked();
  } else if (kind == TWidgetKind::RadioButton) {
    state.checked = static_cast<const framework::TRadioButton&>(control).Checked();
  }
}

}  // namespace

TGtkBackend* Backend() {
  return InstalledBackend();
}

TGtkBackend::TGtkBackend() {
  InstalledBackend() = this;
}

TGtkBackend::~TGtkBackend() {
  if (idleSource_ != 0) g_source_remove(idleSource_);
  while (!forms_.empty())
    DropForm(forms_.begin()->first);
  if (InstalledBackend() == this) InstalledBackend() = nullptr;
}

void TGtkBackend::SetTextCodePage(TTextCodePage codePage) {
  codePage_ = std::move(codePage);
  MarkDirty();
}

void TGtkBackend::SetMenuTextCodePage(TMenuTextCodePage codePage) {
  menuCodePage_ = std::move(codePage);
  MarkDirty();
}

unsigned TGtkBackend::CodePageOf(const TControl& control) const {
  if (codePage_) return codePage_(control);
  return CharsetCodePage(control.Font()->Charset());
}

void TGtkBackend::MarkDirty() {
  dirty_ = true;
  if (idleSource_ == 0) {
    idleSource_ = g_idle_add_full(G_PRIORITY_HIGH_IDLE, OnIdle, this, nullptr);
  }
}

gboolean TGtkBackend::OnIdle(gpointer self) {
  auto* backend = static_cast<TGtkBackend*>(self);
  backend->idleSource_ = 0;
  backend->Sync();
  return G_SOURCE_REMOVE;
}

void TGtkBackend::LayOut() {
  for (const auto& [handle, view] : forms_)
    gtk_container_check_resize(GTK_CONTAINER(view->window));
}

std::vector<GtkWidget*> TGtkBackend::Windows() const {
  std::vector<GtkWidget*> windows;
  for (const auto& [handle, view] : forms_)
    windows.push_back(view->window);
  return windows;
}

void TGtkBackend::HandleMessage() {
  if (dirty_) Sync();
  gtk_main_iteration_do(TRUE);
}

void TGtkBackend::Wake() {
  MarkDirty();
  g_main_context_wakeup(nullptr);
}

void TGtkBackend::Sync() {
  if (syncing_) return;
  // Brought up to date now, the widgets need no second pass when GTK is next idle.
  if (idleSource_ != 0) {
    g_source_remove(idleSource_);
    idleSource_ = 0;
  }
  syncing_ = true;
  const framework::TScopeExit done([this] { syncing_ = false; });
  const TRedrawBatch redraws;
  dirty_ = false;
  std::set<platform::HWND> showing;
  const framework::TScreen& screen = framework::Screen();
  for (int i = 0; i < screen.FormCount(); ++i) {
    TCustomForm& form = *screen.Forms(i);
    if (!form.HandleAllocated()) continue;
    const platform::HWND handle = form.Handle();
    // MDI children live inside their frame's window; they are not shown on their own.
    if (!platform::IsWindowVisible(handle) || platform::GetParent(handle) != 0) continue;
    showing.insert(handle);
    SyncForm(form, ViewOf(form));
  }
  std::vector<platform::HWND> gone;
  for (const auto& [handle, view] : forms_) {
    if (showing.count(handle) == 0) gone.push_back(handle);
  }
  for (const platform::HWND handle : gone)
    DropForm(handle);
}

TGtkBackend::TFormView& TGtkBackend::ViewOf(TCustomForm& form) {
  std::unique_ptr<TFormView>& slot = forms_[form.Handle()];
  if (slot) return *slot;
  slot = std::make_unique<TFormView>();
  TFormView& view = *slot;
  view.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  g_object_ref(view.window);
  // The framework's sizes are the window's; a user's resize would have to go back to it.
  gtk_window_set_resizable(GTK_WINDOW(view.window), FALSE);
  view.accelerators = gtk_accel_group_new();
  gtk_window_add_accel_group(GTK_WINDOW(view.window), view.accelerators);
  view.column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  gtk_container_add(GTK_CONTAINER(view.window), view.column);
  // Held until its first controls are in (SyncForm), then packed.
  view.box = GTK_WIDGET(g_object_ref_sink(NewFixedBox()));
  gtk_widget_show(view.box);
  gtk_widget_show(view.column);
  ConnectInput(view.window, "delete-event", G_CALLBACK(OnDelete), *this, &form);
  return view;
}

void TGtkBackend::DropForm(platform::HWND handle) {
  const auto found = forms_.find(handle);
  if (found == forms_.end()) return;
  TFormView& view = *found->second;
  for (auto& [control, widgets] : view.controls)
    DestroyWidgets(widgets);
  if (gtk_widget_get_parent(view.box) == nullptr) {
    gtk_widget_destroy(view.box);
    g_object_unref(view.box);
  }
  gtk_widget_destroy(view.window);
  g_object_unref(view.window);
  g_object_unref(view.accelerators);
  forms_.erase(found);
}

void TGtkBackend::SyncForm(TCustomForm& form, TFormView& view) {
  view.directions.clear();
  SyncWindow(form, view);
  SyncMenu(form, view);
  view.seen.clear();
  SyncControls(form, view.box, view);
  // A new window's controls go into a box that is not in the window yet: GTK would otherwise
  // work out the window's hierarchy and styles anew for each widget put in.
  if (gtk_widget_get_parent(view.box) == nullptr) {
    gtk_box_pack_end(GTK_BOX(view.column), view.box, TRUE, TRUE, 0);
    g_object_unref(view.box);
  }
  ApplyDirections(view.directions);
  view.directions.clear();
  for (auto it = view.controls.begin(); it != view.controls.end();) {
    if (view.seen.count(it->first) != 0) {
      ++it;
      continue;
    }
    DestroyWidgets(it->second);
    it = view.controls.erase(it);
  }
  if (!gtk_widget_get_visible(view.window)) gtk_widget_show(view.window);
}

void TGtkBackend::SyncWindow(TCustomForm& form, TFormView& view) {
  const platform::HWND handle = form.Handle();
  GtkWindow* window = GTK_WINDOW(view.window);
  const std::string title = ToUtf8(platform::GetWindowText(handle), CodePageOf(form));
  if (title != view.title) {
    gtk_window_set_title(window, title.c_str());
    view.title = title;
  }
  platform::RECT place;
  platform::GetWindowRect(handle, place);
  if (!(place == view.place)) {
    gtk_window_move(window, place.left, place.top);
    gtk_widget_set_size_request(view.box, place.right - place.left, place.bottom - place.top);
    view.place = place;
  }
  fonts_.Apply(view.window, view.fontCss, FontCss(*form.Font()));
  const auto style =
      static_cast<platform::DWORD>(platform::GetWindowLong(handle, platform::GWL_STYLE));
  gtk_widget_set_sensitive(view.window, (style & platform::WS_DISABLED) == 0);
  gtk_window_set_modal(window, form.IsModal());
  TCustomForm* main = framework::ApplicationIfAny() != nullptr
                          ? framework::ApplicationIfAny()->MainForm()
                          : nullptr;
  GtkWidget* owner = main != nullptr && main != &form ? WindowOf(*main) : nullptr;
  gtk_window_set_transient_for(window, owner != nullptr ? GTK_WINDOW(owner) : nullptr);
}

void TGtkBackend::SyncMenu(TCustomForm& form, TFormView& view) {
  framework::TMainMenu* menu = form.Menu();
  const unsigned codePage = CodePageOf(form);
  const bool rightToLeft = HasRightToLeftLayout(form.Handle());
  const std::string signature =
      menu == nullptr ? std::string() : MenuSignature(*menu, codePage, rightToLeft, menuCodePage_);
  if (signature == view.menuSignature) return;
  view.menuSignature = signature;
  const std::string shape = menu == nullptr ? std::string() : MenuShape(*menu);
  // A new language: the same items with new texts, perhaps the other way round.
  if (view.menuBar != nullptr && menu != nullptr && shape == view.menuShape) {
    UpdateMenuBar(view.menuParts, *menu, codePage, rightToLeft, menuCodePage_);
    return;
  }
  view.menuShape = shape;
  view.menuParts = TMenuBarParts{};
  if (view.menuBar != nullptr) {
    gtk_widget_destroy(view.menuBar);
    view.menuBar = nullptr;
  }
  if (menu == nullptr) return;
  view.menuBar = gtk_menu_bar_new();
  BuildMenuBar(view.menuBar, view.accelerators, *menu, codePage, rightToLeft, *this, menuCodePage_,
               &view.menuParts);
  gtk_box_pack_start(GTK_BOX(view.column), view.menuBar, FALSE, FALSE, 0);
  gtk_widget_show(view.menuBar);
}

void TGtkBackend::SyncControls(TWinControl& parent, GtkWidget* box, TFormView& view) {
  std::size_t labels = 0;  // of `box` so far, in z-order
  for (int i = 0; i < parent.ControlCount(); ++i) {
    TControl& control = *parent.Controls(i);
    auto found = view.controls.find(&control);
    // A freed control's address may come back as another control, or a control may move.
    if (found != view.controls.end() &&
        (found->second.className != control.ClassName() || found->second.parentBox != box)) {
      DestroyWidgets(found->second);
      view.controls.erase(found);
      found = view.controls.end();
    }
    const TWidgetKind kind = found != view.controls.end() ? found->second.kind : KindOf(control);
    if (kind == TWidgetKind::None) continue;
    if (found == view.controls.end()) {
      TControlWidgets made = MakeWidgets(kind, &control, *this, box);
      made.className = control.ClassName();
      found = view.controls.emplace(&control, std::move(made)).first;
    }
    view.seen.insert(&control);
    TControlWidgets& widgets = found->second;
    // The focus goes through the box's buttons and widgets in the parent's control order.
    if (widgets.drawn != nullptr) {
      KeepDrawnLabelAt(*widgets.drawn, labels++);
      widgets.drawn->tabOrder = i;
    } else if (widgets.outer != nullptr) {
      SetTabOrder(widgets.outer, i);
    }
    const TControlState state = StateOf(control, kind);
    // Widgets whose control did not change are left alone.
    if (UpdateWidgets(widgets, state, fonts_, &view.directions) && widgets.outer != nullptr)
      PlaceInFixedBox(box, widgets.outer, state.left, state.top, state.width, state.height);
    if (widgets.box != nullptr) SyncControls(static_cast<TWinControl&>(control), widgets.box, view);
  }
}

TControlState TGtkBackend::StateOf(const TControl& control, TWidgetKind kind) const {
  TControlState state;
  const unsigned codePage = CodePageOf(control);
  const auto* windowed = dynamic_cast<const TWinControl*>(&control);
  if (windowed != nullptr && windowed->HandleAllocated()) {
    const platform::HWND handle = const_cast<TWinControl*>(windowed)->Handle();
    const auto style =
        static_cast<platform::DWORD>(platform::GetWindowLong(handle, platform::GWL_STYLE));
    state.visible = (style & platform::WS_VISIBLE) != 0;
    state.enabled = (style & platform::WS_DISABLED) == 0;
    state.rightToLeft = HasRightToLeftLayout(handle);
    state.text = ToUtf8(platform::GetWindowText(handle), codePage);
    const platform::RECT rect = PlaceInParent(handle);
    state.left = rect.left;
    state.top = rect.top;
    state.width = rect.right - rect.left;
    state.height = rect.bottom - rect.top;
  } else {
    // A windowed control without its window is not showing.
    state.visible = control.Visible() && windowed == nullptr;
    state.enabled = control.Enabled();
    state.rightToLeft = control.UseRightToLeftReading();
    state.text = ToUtf8(control.Text(), codePage);
    state.left = control.Left();
    state.top = control.Top();
    state.width = control.Width();
    state.height = control.Height();
  }
  if (kind == TWidgetKind::Memo) state.text = WithoutCarriageReturns(state.text);
  state.hint = ToUtf8(control.Hint(), codePage);
  // Drawn controls take the face; widgets take their font from a style sheet.
  if (IsDrawn(kind)) {
    state.face = FaceOf(*control.Font());
  } else {
    state.fontCss = FontCss(*control.Font());
  }
  ReadItems(control, kind, codePage, state);
  return state;
}

GtkWidget* TGtkBackend::WindowOf(const TCustomForm& form) const {
  if (!form.HandleAllocated()) return nullptr;
  const auto found = forms_.find(const_cast<TCustomForm&>(form).Handle());
  return found == forms_.end() ? nullptr : found->second->window;
}

GtkWidget* TGtkBackend::BoxOf(const TCustomForm& form) const {
  if (!form.HandleAllocated()) return nullptr;
  const auto found = forms_.find(const_cast<TCustomForm&>(form).Handle());
  return found == forms_.end() ? nullptr : found->second->box;
}

GtkWidget* TGtkBackend::MenuBarOf(const TCustomForm& form) const {
  if (!form.HandleAllocated()) return nullptr;
  const auto found = forms_.find(const_cast<TCustomForm&>(form).Handle());
  return found == forms_.end() ? nullptr : found->second->menuBar;
}

const TControlWidgets* TGtkBackend::WidgetsOf(const TControl& control) const {
  for (const auto& [handle, view] : forms_) {
    const auto found = view->controls.find(&control);
    if (found != view->controls.end()) return &found->second;
  }
  return nullptr;
}

const TDrawnLabel* TGtkBackend::LabelOf(const TControl& control) const {
  const TControlWidgets* widgets = WidgetsOf(control);
  return widgets != nullptr ? widgets->drawn : nullptr;
}

// ---- input ----

void TGtkBackend::ForgetShown(const void* key) {
  for (auto& [handle, view] : forms_) {
    const auto found = view->controls.find(static_cast<const TControl*>(key));
    if (found != view->controls.end()) found->second.updated = false;
  }
}

void TGtkBackend::Dispatch(const std::function<void()>& effect) {
  try {
    effect();
  } catch (...) {
    framework::Application().HandleException(nullptr);
  }
  MarkDirty();
}

void TGtkBackend::Clicked(const void* key) {
  if (syncing_) return;
  auto* button = dynamic_cast<framework::TButton*>(FindControl(key));
  if (button == nullptr || !button->Enabled()) return;
  Dispatch([button] { button->Click(); });
}

void TGtkBackend::TextEdited(const void* key, const std::string& utf8) {
  if (syncing_) return;
  ForgetShown(key);
  TControl* control = FindControl(key);
  if (control == nullptr) return;
  const std::string text = FromUtf8(utf8, CodePageOf(*control));
  Dispatch([control, &text] { control->SetText(text); });
}

void TGtkBackend::Toggled(const void* key, bool active) {
  if (syncing_) return;
  ForgetShown(key);
  TControl* control = FindControl(key);
  if (auto* box = dynamic_cast<framework::TCheckBox*>(control)) {
    if (box->Checked() != active) Dispatch([box, active] { box->SetChecked(active); });
  } else if (auto* radio = dynamic_cast<framework::TRadioButton*>(control)) {
    // Only the button that becomes checked counts; its partners follow the framework.
    if (active && !radio->Checked()) Dispatch([radio] { radio->Click(); });
  }
}

void TGtkBackend::ItemsChosen(const void* key, const std::vector<int>& chosen) {
  if (syncing_) return;
  ForgetShown(key);
  TControl* control = FindControl(key);
  const int first = chosen.empty() ? -1 : chosen.front();
  if (auto* list = dynamic_cast<framework::TCustomListBox*>(control)) {
    Dispatch([list, &chosen, first] {
      if (!list->MultiSelect()) {
        list->SetItemIndex(first);
        return;
      }
      for (int i = 0; i < list->Items()->Count(); ++i)
        list->SetSelected(i, std::find(chosen.begin(), chosen.end(), i) != chosen.end());
      list->SetItemIndex(first);
    });
  } else if (auto* combo = dynamic_cast<framework::TCustomComboBox*>(control)) {
    if (combo->ItemIndex() == first) return;
    Dispatch([combo, first] {
      combo->SetItemIndex(first);
      if (combo->OnChange) combo->OnChange(combo);
    });
  }
}

void TGtkBackend::MenuItemActivated(const void* key) {
  if (syncing_) return;
  framework::TMenuItem* item = FindMenuItem(key);
  if (item == nullptr || !item->Enabled()) return;
  Dispatch([item] { item->Click(); });
}

void TGtkBackend::CloseRequested(const void* key) {
  auto* form = dynamic_cast<TCustomForm*>(FindControl(key));
  if (form == nullptr) return;
  Dispatch([form] { form->Close(); });
}

}  // namespace lx::screen

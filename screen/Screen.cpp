#include "screen/Screen.h"

#include <glib-unix.h>
#include <gtk/gtk.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/controls/TextRoom.h"
#include "screen/EditMode.h"
#include "screen/internal/GtkBackend.h"

namespace lx::screen {

namespace {

struct TInstallation {
  std::unique_ptr<TGtkBackend> backend;
  framework::TMessageLoop* previousLoop = nullptr;
  GtkCssProvider* style = nullptr;
  guint wakeSource = 0;
};

std::unique_ptr<TInstallation>& Current() {
  static std::unique_ptr<TInstallation> installation;
  return installation;
}

bool DisplayNamed() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

// Forms never draw with OpenGL, and GDK's probe of it at start loads the whole GL driver (with
// llvmpipe, about 50 MB of resident memory). A user's own choice stays.
bool InitGtk(int* argc, char*** argv) {
  g_setenv("GDK_GL", "disable", FALSE);
  return gtk_init_check(argc, argv) != 0;
}

// The framework's controls are as small as classic forms make them: GTK's paddings and
// minimum heights would not fit into them. The room left for texts is framework::TextInsetsOf.
std::string CompactStyle() {
  const std::string padding = std::to_string(framework::kButtonPaddingX) + "px";
  return "button, entry, combobox button, spinbutton { min-height: 0; padding-top: 0;"
         " padding-bottom: 0; }"
         "button { min-width: 0; padding-left: " +
         padding + "; padding-right: " + padding +
         "; }"
         "entry { min-width: 0; }"
         "checkbutton, radiobutton { padding: 0; }"
         // A resting button's soft shadow is blurred anew for each button in every frame: two
         // thirds of what a window of many buttons takes to draw, for a shade that is hardly
         // seen. Pressed and checked buttons keep theirs.
         "button:not(:active):not(:checked) { box-shadow: none; }"
         // Nor does a caption get the theme's emboss (a white line under dark text, hardly
         // seen on a light button): it drew each button's caption twice, and without it a
         // caption is drawn as a label's is.
         "button, checkbutton, radiobutton, entry { text-shadow: none; }"
         // A list box never shows its column's header, but GTK measures it all the same, and
         // its bold face would be loaded for that alone: half a megabyte.
         "treeview.view header button { font-weight: normal; }";
}

GtkCssProvider* InstallCompactStyle() {
  GtkCssProvider* style = gtk_css_provider_new();
  gtk_css_provider_load_from_data(style, CompactStyle().c_str(), -1, nullptr);
  gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(style),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  return style;
}

void CountPaint(GdkFrameClock*, gpointer painted) {
  ++*static_cast<int*>(painted);
}

gboolean GiveUp(gpointer expired) {
  *static_cast<bool*>(expired) = true;
  return G_SOURCE_REMOVE;
}

// Lets every mapped window draw one frame, so that what it shows is on the screen; gives up
// after a quarter of a second (a window the server has not mapped yet draws nothing).
void WaitForPaint(const std::vector<GtkWidget*>& windows) {
  int painted = 0;
  std::vector<std::pair<GdkFrameClock*, gulong>> handlers;
  for (GtkWidget* window : windows) {
    GdkFrameClock* clock = gtk_widget_get_frame_clock(window);
    if (clock == nullptr || !gtk_widget_get_mapped(window)) continue;
    handlers.emplace_back(clock,
                          g_signal_connect(clock, "after-paint", G_CALLBACK(CountPaint), &painted));
    gtk_widget_queue_draw(window);
  }
  if (handlers.empty()) return;
  bool expired = false;
  const guint timeout = g_timeout_add(250, GiveUp, &expired);
  while (painted < static_cast<int>(handlers.size()) && !expired)
    g_main_context_iteration(nullptr, TRUE);
  if (!expired) g_source_remove(timeout);
  for (const auto& [clock, handler] : handlers)
    g_signal_handler_disconnect(clock, handler);
}

// The wait has ended by now; the program reads the descriptor itself, and a descriptor left
// readable must not keep the loop from waiting ever again.
gboolean Woken(gint, GIOCondition, gpointer) {
  if (Current()) Current()->wakeSource = 0;
  return G_SOURCE_REMOVE;
}

void StopWatching(TInstallation& installation) {
  if (installation.wakeSource != 0) g_source_remove(installation.wakeSource);
  installation.wakeSource = 0;
}

}  // namespace

bool DisplayAvailable() {
  return DisplayNamed() && InitGtk(nullptr, nullptr);
}

bool Install(int& argc, char**& argv) {
  if (Current()) return true;
  if (!DisplayNamed() || !InitGtk(&argc, &argv)) return false;
  auto installation = std::make_unique<TInstallation>();
  installation->style = InstallCompactStyle();
  installation->backend = std::make_unique<TGtkBackend>();
  platform::AddWindowListener(installation->backend.get());
  installation->previousLoop = framework::SetMessageLoop(installation->backend.get());
  installation->backend->MarkDirty();
  Current() = std::move(installation);
  return true;
}

void Uninstall() {
  if (!Current()) return;
  SetTextEditor({});
  std::unique_ptr<TInstallation> installation = std::move(Current());
  StopWatching(*installation);
  framework::SetMessageLoop(installation->previousLoop);
  platform::RemoveWindowListener(installation->backend.get());
  installation->backend.reset();
  gtk_style_context_remove_provider_for_screen(gdk_screen_get_default(),
                                               GTK_STYLE_PROVIDER(installation->style));
  g_object_unref(installation->style);
  ProcessPending();
}

bool Installed() {
  return Current() != nullptr;
}

void SetTextCodePage(std::function<unsigned(const framework::TControl& control)> codePage) {
  if (Current()) Current()->backend->SetTextCodePage(std::move(codePage));
}

void SetMenuTextCodePage(
    std::function<unsigned(const framework::TMenuItem& item, unsigned windowCodePage)> codePage) {
  if (Current()) Current()->backend->SetMenuTextCodePage(std::move(codePage));
}

void WakeOnReadable(int fd) {
  if (!Current()) return;
  StopWatching(*Current());
  if (fd >= 0) Current()->wakeSource = g_unix_fd_add(fd, G_IO_IN, Woken, nullptr);
}

void Refresh() {
  if (!Current()) return;
  TGtkBackend& backend = *Current()->backend;
  backend.Sync();
  backend.LayOut();
  ProcessPending();
  WaitForPaint(backend.Windows());
}

void ProcessPending() {
  if (!Current() && gdk_display_get_default() == nullptr) return;
  while (gtk_events_pending() != 0)
    gtk_main_iteration_do(FALSE);
}

}  // namespace lx::screen

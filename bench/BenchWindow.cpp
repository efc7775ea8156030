#include "BenchWindow.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "framework/controls/Menus.h"
#include "framework/controls/StdCtrls.h"
#include "framework/rtti/ClassRegistry.h"
#include "framework/runtime/Application.h"
#include "screen/Screen.h"
#include "screen/internal/GtkBackend.h"
#include "translator/LxPoly.h"

namespace lx::bench {

LX_PUBLISHED(TBenchForm)

namespace {

bool ShowsTitle(const TFrameWatch& watch) {
  const char* title = gtk_window_get_title(GTK_WINDOW(watch.window));
  return title != nullptr && watch.title == title;
}

gboolean OnDraw(GtkWidget*, cairo_t*, gpointer data) {
  auto& watch = *static_cast<TFrameWatch*>(data);
  // A frame drawn before the backend caught up shows the old state.
  if (!screen::Backend()->Dirty() && ShowsTitle(watch)) watch.drawn = true;
  return FALSE;
}

void OnAfterPaint(GdkFrameClock*, gpointer data) {
  auto& watch = *static_cast<TFrameWatch*>(data);
  if (watch.drawn) watch.painted = true;
}

gboolean GiveUp(gpointer data) {
  const auto& watch = *static_cast<TFrameWatch*>(data);
  const char* title = watch.window != nullptr ? gtk_window_get_title(GTK_WINDOW(watch.window)) : "";
  Fail("no frame showing \"" + watch.title + "\" was drawn within 20 s (the window shows \"" +
       (title != nullptr ? title : "") + "\")");
}

void Watch(TFrameWatch& watch) {
  const std::vector<GtkWidget*> windows = screen::Backend()->Windows();
  if (watch.window != nullptr || windows.empty() || !gtk_widget_get_realized(windows.front()))
    return;
  watch.window = windows.front();
  g_signal_connect_after(watch.window, "draw", G_CALLBACK(OnDraw), &watch);
  g_signal_connect(gtk_widget_get_frame_clock(watch.window), "after-paint",
                   G_CALLBACK(OnAfterPaint), &watch);
}

}  // namespace

void RegisterBenchClasses() {
  using namespace framework;
  RegisterClasses({&TLabel::StaticClassInfo(), &TButton::StaticClassInfo(),
                   &TEdit::StaticClassInfo(), &TCheckBox::StaticClassInfo(),
                   &TListBox::StaticClassInfo(), &TMainMenu::StaticClassInfo(),
                   &TMenuItem::StaticClassInfo(), &TBenchForm::StaticClassInfo()});
  translator::RegisterTranslatorClasses();
}

TBenchForm& ShowBenchForm(dict::TLxBinaryDictionary& dictionary) {
  dictionary.SetBinding(lang::lxbiNone);
  dictionary.SetCheckLevel(lang::lxclNone);
  dictionary.Open();
  TBenchForm* form = nullptr;
  framework::Application().CreateForm(form);
  auto* translator = dynamic_cast<translator::TLxTranslator*>(form->FindComponent("Translator"));
  if (translator == nullptr) Fail("the form has no translator");
  if (!translator->Active()) translator->Open();
  screen::SetTextCodePage([&dictionary](const framework::TControl&) {
    return static_cast<unsigned>(dictionary.CurrentLanguage().CodePage);
  });
  form->Show();
  return *form;
}

void Fail(const std::string& why) {
  std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, why.c_str());
  std::exit(1);
}

void WaitForFrame(TFrameWatch& watch, const std::string& title) {
  watch.title = title;
  watch.drawn = watch.painted = false;
  const guint timeout = g_timeout_add_seconds(20, GiveUp, &watch);
  while (!watch.painted) {
    framework::Application().HandleMessage();
    Watch(watch);
  }
  g_source_remove(timeout);
  gdk_display_sync(gdk_display_get_default());
}

}  // namespace lx::bench

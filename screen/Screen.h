// Showing the framework's windows on the screen.
//
// A program that wants real windows calls Install before it shows its first form; from then
// on every form that shows appears as a GTK 3 window, TApplication::Run waits in the GTK main
// loop, and clicks, menu choices, edits, list choices and closed windows reach the controls'
// OnClick and OnChange and the forms' Close. Without Install (or without a display)
// everything stays headless, as tests and tools run.
//
//   int main(int argc, char** argv) {
//     const bool onScreen = lx::screen::Install(argc, argv);
//     ... create the forms ...
//     Application().Run();
//     lx::screen::Uninstall();
//   }
#pragma once

#include <functional>

#include "framework/controls/Controls.h"
#include "framework/controls/Menus.h"

namespace lx::screen {

/// Whether windows can be shown: $DISPLAY or $WAYLAND_DISPLAY is set and GTK can open it.
bool DisplayAvailable();

/// Opens the display and installs the backend: the windows layer's listener and the
/// application's message loop. False, with nothing changed, when no display can be opened.
/// GTK takes its own options out of `argc` and `argv`. Installing twice does nothing more.
bool Install(int& argc, char**& argv);
/// Closes every window the backend made and goes back to headless.
void Uninstall();
bool Installed();

/// Which code page a control's 8-bit texts are in; by default the code page of its font's
/// character set (the system's ANSI code page for DEFAULT_CHARSET). A program whose texts
/// follow its dictionary's language hands over that language's code page here. Null
/// restores the default. Only while installed.
void SetTextCodePage(std::function<unsigned(const framework::TControl& control)> codePage);

/// Which code page a menu item's caption is in, given its window's code page (see
/// SetTextCodePage); for menus that list names each in its own script. Null: the window's
/// for every item. Only while installed.
void SetMenuTextCodePage(
    std::function<unsigned(const framework::TMenuItem& item, unsigned windowCodePage)> codePage);

/// Makes the loop's wait end once `fd` can be read, as when a program's signal handler writes
/// to its own pipe; the descriptor is never read here, and watching ends with that wake. -1
/// stops watching. Only while installed; Uninstall stops it too.
void WakeOnReadable(int fd);

/// Brings every window up to the framework's state at once and lets GTK lay it out and draw
/// it; for programs that change forms outside of user input, for screenshots and tests.
void Refresh();
/// Lets GTK handle everything it has pending, without waiting.
void ProcessPending();

}  // namespace lx::screen

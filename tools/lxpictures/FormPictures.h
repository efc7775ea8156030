// lxpictures: every form of a program in every language of its dictionary, as the screen
// shows it, to PNG pictures for translators.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace lx::tools {

/// Runs lxpictures with `args` (without the program name): "DICT.pld FORM|FOLDER... -d FOLDER"
/// writes one picture per form and language (FormPictureName) into FOLDER, each translated
/// control and menu item outlined or listed with its key ("TMainForm|OpenButton"). Needs a display
/// (xvfb-run). The exit code: 0 done, 1 a form or the dictionary failed, 2 bad usage.
int RunLxpictures(int& argc, char**& argv, std::ostream& out, std::ostream& err);

}  // namespace lx::tools

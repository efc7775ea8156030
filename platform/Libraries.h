// Libraries loaded while the program runs: load one by name, find an entry
// point in it, free it.
#pragma once

#include <string_view>

#include "platform/Resources.h"

namespace lx::platform {

/// An entry point of a library, to be cast to its real type before the call.
using FARPROC = void (*)();

/// Loads a library and returns its handle, or 0 when it cannot be loaded.
/// A name with a folder is taken as it is; a bare name is looked for beside
/// the executable first, as Windows does, then where the system keeps its
/// libraries. Loading the same library again gives the same handle and must
/// be matched by one more FreeLibrary.
HMODULE LoadLibrary(std::string_view fileName);

/// The exported function `name` of a loaded library; null when the library
/// exports no such name or `module` is not a loaded library.
FARPROC GetProcAddress(HMODULE module, std::string_view name);

/// Gives back one load of the library, unloading it with the last one; false
/// when `module` is not a loaded library.
bool FreeLibrary(HMODULE module);

}  // namespace lx::platform

// Resource strings: texts that a program names by a record and loads from
// its string tables at run time, so that they can be replaced without
// touching the code that uses them.
//
// String tables are written as text and linked in at build time with the
// CMake function `lx_add_string_table` (cmake/LxStringTables.cmake), which
// also declares one record per string. All loading goes through a hook that
// can be replaced while the program runs, so that a translation can take over
// every resource string at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Resources.h"

namespace lx::framework {

/// Identifiers up to this name an entry of a module's string table.
inline constexpr std::uintptr_t kMaxStringTableIdentifier = 0xFFFF;
/// A string-table entry is loaded with at most this many characters.
inline constexpr std::size_t kMaxResStringLength = 1024;

/// Names one resource string.
struct TResStringRec {
  /// The module whose string table holds the text; 0 is the program itself.
  platform::HMODULE Module = 0;
  /// Up to 0xFFFF: the identifier of a string-table entry. Above: the address
  /// of the zero-terminated text itself (see `DirectResString`).
  std::uintptr_t Identifier = 0;
};

/// A record that carries `text` itself; the text must outlive the record.
TResStringRec DirectResString(const char* text);

/// The string-table entry `identifier` of `module` (0: the program), cut to
/// kMaxResStringLength characters; empty when there is none. A string table
/// is stored as resources of type RT_STRING named by the identifier in decimal.
std::string LoadStr(platform::HMODULE module, unsigned identifier);

/// The type of the resources that hold the plural of a string-table entry that declares
/// one (a table line with two texts), under the entry's identifier.
inline constexpr std::string_view RT_STRINGPLURAL = "STRINGPLURAL";

/// The native plural of string-table entry `identifier` of `module` (0: the program); empty
/// when the entry declares none. Texts with a count are chosen by the engine's
/// `LoadResPlural`.
std::string LoadPluralStr(platform::HMODULE module, unsigned identifier);

/// The loader that is installed unless a hook replaces it: the direct text
/// for an identifier above 0xFFFF, else the string-table entry.
std::string DefaultLoadResString(const TResStringRec& record);

/// A loader of resource strings.
using TLoadResStringFunc = std::string (*)(const TResStringRec& record);

/// Installs `loader` for every later `LoadResString` and returns the loader it
/// replaces, so that the caller can put it back; nullptr installs the default.
TLoadResStringFunc SetLoadResStringHook(TLoadResStringFunc loader);

/// The text of a resource string, through the installed loader.
std::string LoadResString(const TResStringRec& record);

/// The text of a resource string with its first "%s" or "%d" replaced by
/// `argument`; a text without either comes back as it is.
std::string LoadResStringWith(const TResStringRec& record, std::string_view argument);

}  // namespace lx::framework

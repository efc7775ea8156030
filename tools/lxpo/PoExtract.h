// The texts a program's translators translate, as the entries of a PO template.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "PoFile.h"
#include "formtools/ToolForm.h"

namespace lx::tools {

struct ExtractSources {
  /// Text or binary forms, in order.
  std::vector<std::string> forms;
  /// The program's string tables (the lx_add_string_table format), in order.
  std::vector<std::string> stringTables;
  /// The framework's own resource strings, the system-menu texts and the shortcut key names.
  bool framework = true;
  /// The code page of the program's texts (form strings and string tables hold 8-bit texts);
  /// the template is UTF-8. Use the dictionary's text code page (1252 unless its manifest
  /// says otherwise), so that the build writes the keys back as the program holds them.
  int codePage = 1252;
  /// Forms that inherited forms derive from (TFormOptions::ancestors).
  std::vector<std::string> ancestors;
  /// When given, a form found in a folder that cannot be read adds its one-line reason here
  /// and the others go on; a form named itself, or any form without, raises.
  std::vector<std::string>* failures = nullptr;
};

/// The template's entries in the order the sources give them: each form's texts as its
/// translator's pass meets them (keyed by the form's class and the component's name; a form
/// without a translator or without "TargetsData" takes the default targets of
/// TLxTargetProperties::AddDefaults, as lxform --translate does); a folder among the forms is
/// walked for the forms in it (FormFilesOf), each named by its path below the folder; then
/// the string tables' texts (keyed by their identifier), the framework's, the system-menu
/// texts and the shortcut key names (keyed by the text alone). An entry met again with the
/// same key keeps its place and gains the reference. Raises the errors of the form reader
/// and PoError "<table>:<line>: <what>" for a string table that does not parse.
std::vector<PoEntry> ExtractTemplate(const ExtractSources& sources);

/// The entries of one form, read as the tools read forms (TToolForm), for `ExtractTemplate`;
/// `reference` names the form in references.
std::vector<PoEntry> ExtractForm(const std::vector<std::uint8_t>& form,
                                 const std::string& reference, int codePage = 1252,
                                 const TFormOptions& options = {});

/// The entries of a string table's text; `reference` names it. With `keyNamesByText` (the
/// framework's table) the shortcut key names ("Smkc...") are keyed by their text alone.
std::vector<PoEntry> ExtractStringTable(const std::string& text, const std::string& reference,
                                        int codePage = 1252, bool keyNamesByText = false);

}  // namespace lx::tools

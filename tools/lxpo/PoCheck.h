// Checks of translated PO entries: what would show wrong or fail in the program.
#pragma once

#include <string>
#include <vector>

#include "PoFile.h"

namespace lx::tools {

/// One thing wrong with an entry.
struct CheckFinding {
  /// "<file>:<line>".
  std::string where;
  bool error = false;
  /// The key and what is wrong: "msgctxt \"TMainForm|OpenButton\" msgid \"&Open\": ...".
  std::string message;
};

/// What `CheckEntries` found in one file.
struct CheckResult {
  std::vector<CheckFinding> findings;
  int errors = 0;
  int warnings = 0;
};

/// Checks the entries of the PO file `path` (read with fuzzy entries kept). Errors: the
/// placeholders of the format routine differ in number, argument or type; no hot key or more
/// than one where the native text has one; a character that code page `codePage` cannot
/// carry (0: not checked). Warnings: a hot key where the native text has none; different
/// leading or trailing white space or line breaks; two items of one menu level or two sibling
/// controls (by the component path "Form.Parent.Name.Caption" among the extracted comments)
/// with the same hot key. Fuzzy and untranslated entries show their native text: they count
/// in clashes only.
CheckResult CheckEntries(const std::vector<PoEntry>& entries, const std::string& path,
                         int codePage);

/// "<where>: error: <message>" or "<where>: warning: <message>".
std::string FindingText(const CheckFinding& finding);

/// "<file>: <N> errors, <M> warnings".
std::string CheckSummary(const std::string& path, const CheckResult& result);

/// The first character of the UTF-8 `text` that `codePage` cannot carry, as "U+XXXX";
/// empty if none.
std::string UnwritableCharacter(const std::string& text, int codePage);

}  // namespace lx::tools

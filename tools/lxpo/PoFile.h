// PO files as lxpo writes and reads them: one entry per dictionary key.
//
// A key (context, id) travels in msgctxt as "context|id"; a key without context and id
// (system-menu texts, shortcut key names) has no msgctxt. The first "|" separates the two, so
// an id may hold "|" but a context may not. Files are written in UTF-8 and read with
// libgettextpo, the gettext project's own parser.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Exception.h"

namespace lx::tools {

/// A PO file that cannot be used; the message names the file and the line.
class PoError : public platform::Exception {
 public:
  using Exception::Exception;
};

struct PoEntry {
  std::string context;
  std::string id;
  std::string msgid;
  std::string msgstr;
  /// "#:" lines: "MainForm.lxfm:OpenButton.Caption".
  std::vector<std::string> references;
  /// "#." lines, for the translator.
  std::vector<std::string> comments;
  /// "#," flags besides those lxpo works out itself ("max-size:65").
  std::vector<std::string> flags;
  bool fuzzy = false;
  /// Where the entry starts in the file it was read from (1-based); 0 when not read.
  int line = 0;

  bool operator==(const PoEntry&) const = default;
};

/// The msgctxt of a key; empty when the key has neither context nor id.
std::string MsgctxtOf(std::string_view context, std::string_view id);

/// Splits a msgctxt into context and id; false when it holds no "|".
bool SplitMsgctxt(std::string_view msgctxt, std::string& context, std::string& id);

/// A PO file's text: a header (with "Language: <language>"; empty for a template) and the entries
/// in their order; a msgid with placeholders of the program's format routine is flagged
/// "object-pascal-format". Raises PoError for a text that PO cannot carry (a NUL character).
std::string WritePo(const std::vector<PoEntry>& entries, std::string_view language);

/// What `ReadPo` leaves out besides the entries it gives.
struct PoReadCounts {
  int fuzzy = 0;
  int obsolete = 0;
};

/// The entries of the PO file `path` with their extracted comments and references, in file
/// order, without the header, obsolete entries
/// and (unless `keepFuzzy`) fuzzy ones, which are counted in `counts`. Raises PoError
/// "<path>:<line>: <what>" for a syntax error, a charset other than UTF-8, text that is
/// not UTF-8, a plural entry or a msgctxt without "|", and ToolFileError for a file that
/// cannot be read ("<path>: cannot be opened: No such file or directory"); "-" is standard
/// input.
std::vector<PoEntry> ReadPo(const std::string& path, PoReadCounts& counts, bool keepFuzzy = false);

}  // namespace lx::tools

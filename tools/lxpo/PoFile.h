// PO files as lxpo writes and reads them: one entry per dictionary key.
//
// A key (context, id) travels in msgctxt as "context|id"; a key without context and id
// (system-menu texts, shortcut key names) has no msgctxt. The first "|" separates the two, so
// an id may hold "|" but a context may not. Files are written in UTF-8 and read with
// libgettextpo, the gettext project's own parser.
#pragma once

#include <string>
#include <string_view>
#include <utility>
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
  /// "#:" references, "file:line" ("MainForm.lxfm:12"), or a file alone.
  std::vector<std::string> references;
  /// "#." lines, for the translator.
  std::vector<std::string> comments;
  /// "#," flags besides those lxpo works out itself ("c-format", "range: 0..10",
  /// "max-size:65"); written in gettext's order.
  std::vector<std::string> flags{};
  /// "# " lines, a translator's own; written before the "#." lines, as gettext does.
  std::vector<std::string> translatorComments{};
  bool fuzzy = false;
  /// Where the entry starts in the file it was read from (1-based); 0 when not read.
  int line = 0;
  /// A plural entry: the native plural, and its forms msgstr[0..n-1] (`msgstr` unused).
  std::string msgidPlural{};
  std::vector<std::string> msgstrPlural{};

  bool operator==(const PoEntry&) const = default;
};

/// The msgctxt of a key; empty when the key has neither context nor id.
std::string MsgctxtOf(std::string_view context, std::string_view id);

/// Splits a msgctxt into context and id; false when it holds no "|".
bool SplitMsgctxt(std::string_view msgctxt, std::string& context, std::string& id);

/// A field of a PO file's header: name and value.
using PoHeaderField = std::pair<std::string, std::string>;

/// The header of the PO files lxpo writes, in order: the gettext fields (with "Language:
/// <language>", empty for a template), then "X-Generator". Fields that every PO file carries
/// are added here.
std::vector<PoHeaderField> PoHeaderFields(std::string_view language,
                                          std::string_view pluralForms = {});

/// A PO file's text: a header (with "Language: <language>"; empty for a template) and the entries
/// in their order; a msgid with placeholders of the program's format routine is flagged
/// "object-pascal-format". Raises PoError for a text that PO cannot carry (a NUL character).
/// Strings and references are wrapped as gettext wraps them (page width 79), so that msgcat
/// gives back the same bytes.
/// A plural entry is written with msgid_plural and one msgstr[n] per form (at least one),
/// and a non-empty `pluralForms` as the header's "Plural-Forms".
std::string WritePo(const std::vector<PoEntry>& entries, std::string_view language,
                    std::string_view pluralForms = {});
/// The same with the header's fields given.
std::string WritePo(const std::vector<PoEntry>& entries, const std::vector<PoHeaderField>& header);

/// What `ReadPo` leaves out besides the entries it gives.
struct PoReadCounts {
  int fuzzy = 0;
  int obsolete = 0;
  /// The header's "Plural-Forms" value; empty when it has none.
  std::string pluralForms;
};

/// The entries of the PO file `path` with their comments, references and flags (but "fuzzy"
/// and "object-pascal-format", which `fuzzy` and WritePo carry), in file order, without the
/// header, obsolete entries
/// and (unless `keepFuzzy`) fuzzy ones, which are counted in `counts`. Raises PoError
/// "<path>:<line>: <what>" for a syntax error, a charset other than UTF-8, text that is
/// not UTF-8 or a msgctxt without "|", and ToolFileError for a file that
/// cannot be read ("<path>: cannot be opened: No such file or directory"); "-" is standard
/// input.
std::vector<PoEntry> ReadPo(const std::string& path, PoReadCounts& counts, bool keepFuzzy = false);

}  // namespace lx::tools

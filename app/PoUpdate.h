// One translation of a PO file corrected where it stands.
//
// The file is read and checked with libgettextpo; the entry's msgstr lines are replaced (and
// its "fuzzy" flag and the previous-text lines "#|" that go with it dropped), every other byte
// of the file staying as it was, since a rewrite by the library would wrap and order what
// other tools wrote their own way. The new file goes to a temporary file beside it, is read
// back with libgettextpo and renamed over the file only when it holds the new text.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Exception.h"

namespace lx::app {

/// A PO file that cannot be read or changed; the message names the file.
class EPoUpdate : public platform::Exception {
 public:
  using Exception::Exception;
};

/// The file as it was read: another program's change since is told by any of them.
struct TPoSnapshot {
  std::int64_t size = -1;
  std::int64_t modified = 0;  // nanoseconds
  std::uint64_t hash = 0;
  bool operator==(const TPoSnapshot&) const = default;
};

/// An entry's translation (UTF-8) and the file it came from.
struct TPoText {
  std::string msgstr;
  bool fuzzy = false;
  TPoSnapshot snapshot;
};

/// The entry msgctxt `msgctxt` (none when empty) msgid `msgid` of the PO file `path`. Raises
/// EPoUpdate "<path>: cannot be read: <reason>", "<path>:<line>: <parser's message>", and
/// "<path>: no entry msgctxt \"<msgctxt>\" msgid \"<msgid>\"".
TPoText ReadPoText(const std::string& path, const std::string& msgctxt, const std::string& msgid);

/// Writes `msgstr` as the entry's translation, no longer fuzzy, and answers the entry as the
/// file now holds it. `read` is what the caller read: when another program changed the file
/// since, the text is written into the file as it is now, unless that program changed this
/// entry too: then nothing is written and EPoUpdate "<path>: another program changed msgctxt
/// \"<msgctxt>\" msgid \"<msgid>\" meanwhile; nothing was written" is raised. The errors of
/// ReadPoText, and "<path>: cannot be written: <reason>", leave the file as it was.
TPoText WritePoText(const std::string& path, const std::string& msgctxt, const std::string& msgid,
                    const std::string& msgstr, const TPoText& read);

}  // namespace lx::app

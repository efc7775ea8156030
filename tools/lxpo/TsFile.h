// The translators' entries as Qt Linguist's TS files.
//
// As Qt's lconvert writes a PO file as TS: one context without a name, each message's
// comment (the disambiguation) the key as in msgctxt ("context|id"; none for a text looked
// up alone), extracted comments as "extracomment", references as locations and a fuzzy entry
// as an "unfinished" translation. A TS file whose contexts have names is read with the
// context's name as the key's context and the comment as its id.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "PoFile.h"

namespace lx::tools {

/// The TS text of `entries` translated from `sourceLanguage` into `language` (ISO codes).
/// Raises PoError for a text XML cannot carry.
std::string WriteTs(const std::vector<PoEntry>& entries, std::string_view sourceLanguage,
                    std::string_view language);

/// The entries of the TS file `path`, as `ReadPo` gives them: each with the line of its
/// message; "unfinished" ones with a translation are fuzzy (counted in `counts` and left out
/// unless `keepFuzzy`), "vanished" and "obsolete" ones are counted as obsolete. Raises PoError
/// "<path>:<line>: <what>" for XML that is not well-formed, a root that is no TS, a plural
/// message or a key that does not parse.
std::vector<PoEntry> ReadTs(const std::string& path, PoReadCounts& counts, bool keepFuzzy = false);

}  // namespace lx::tools

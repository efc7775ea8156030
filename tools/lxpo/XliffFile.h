// The translators' entries as XLIFF 1.2 and XLIFF 2.0 files, for translation tools that
// exchange XLIFF rather than PO.
//
// A unit's id is the key as in msgctxt ("context|id"; units whose key is met again get
// "#2", "#3"... after it, and a key without context and id is "#1", "#2"...); the key itself
// travels unchanged in the unit's resname (1.2) or name (2.0), and in 1.2 also as the
// context "x-gettext-msgctxt" that Qt's lconvert reads. Extracted comments become developer
// notes, references "file:line" locations; the state says translated, fuzzy or untranslated.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "PoFile.h"

namespace lx::tools {

enum class XliffVersion { k12, k20 };

/// The XLIFF text of `entries` from `sourceLanguage` into `targetLanguage` (ISO codes; an
/// empty target for a template). Raises PoError for a text XML cannot carry.
std::string WriteXliff(const std::vector<PoEntry>& entries, std::string_view sourceLanguage,
                       std::string_view targetLanguage, XliffVersion version);

/// The entries of the XLIFF file `path` (1.2 or 2.0, by its version), as `ReadPo` gives them:
/// each with the line of its unit, fuzzy ones (a 1.2 state "needs-..." or a 2.0 state
/// "initial" with a target) counted in `counts` and left out unless `keepFuzzy`. Raises
/// PoError "<path>:<line>: <what>" for XML that is not well-formed, a root that is no XLIFF
/// 1.2 or 2.0, or a key that does not parse.
std::vector<PoEntry> ReadXliff(const std::string& path, PoReadCounts& counts,
                               bool keepFuzzy = false);

}  // namespace lx::tools

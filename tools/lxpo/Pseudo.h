// Pseudo-localisation: texts that look translated, so that layouts can be tried before real
// translations exist.
#pragma once

#include <string>
#include <string_view>

namespace lx::tools {

/// `text` (UTF-8) with its letters turned into accented look-alikes that code page 1252
/// carries, lengthened by about 35 % with "~" and put in brackets so that a cut shows:
/// "&Open" becomes "[&Öpéñ~~]". Hot-key markers and the letter after them, format
/// placeholders ("%s", "%1:d", "%-8.2f", "%%") and line breaks are kept as they are.
std::string PseudoText(std::string_view text);

}  // namespace lx::tools

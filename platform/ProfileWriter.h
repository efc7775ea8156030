// Changing values of initialisation files without disturbing the rest.
//
// Comments, blank lines, other sections and keys, their order, their spelling and the file's
// line endings stay as they were; only the lines of the keys set change, or are added. Keys
// are found by the reader's rules (see ProfileFile.h): ASCII case ignored, and only the first
// section and the first key of a name count.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lx::platform {

struct ProfileValue {
  std::string key;
  std::string value;
};

/// `text` with each of `values` set in `section`: an existing key's line is rewritten in
/// place, a missing key goes after the section's last key, a missing section is appended. A
/// value that the reader would trim or unquote is written in quotes. Raises Exception "A
/// settings value cannot span lines" for a key or value holding a line break, and "A settings
/// key cannot be empty or hold '='" for such a key.
std::string SetProfileValues(std::string_view text, std::string_view section,
                             const std::vector<ProfileValue>& values);

/// Sets `values` in the file: the new content goes to a temporary file in the same folder,
/// which replaces the file only when complete (a missing file is created). False, with the
/// file untouched and no temporary file left, when it cannot be read or written, is no
/// regular file (a link is neither followed nor replaced), belongs to another user, or is
/// larger than any settings file (1 MiB). Never raises.
bool WriteProfileValues(std::string_view fileName, std::string_view section,
                        const std::vector<ProfileValue>& values);

}  // namespace lx::platform

// The files of the command-line tools. Input is read whole, from a regular
// file or a pipe; output goes to a temporary file in the target's folder that
// replaces the target only once it is complete, so that a failed write (a full
// disk, a file-size limit) leaves the old output as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Exception.h"

namespace lx::tools {

/// A file that cannot be read or written. The message names the file and says
/// why: "out.pld: cannot be written: No space left on device".
class ToolFileError : public platform::Exception {
 public:
  using Exception::Exception;
};

/// The most a tool reads from one input.
inline constexpr std::size_t kMaxInputSize = std::size_t{1} << 30;

/// The whole content of a regular file, a pipe or a terminal. Raises
/// ToolFileError "<path>: cannot be opened: <reason>", "<path>: is a folder",
/// "<path>: cannot be read: <reason>" or "<path>: is larger than <limit> bytes".
std::vector<std::uint8_t> ReadInputFile(const std::string& path, std::size_t limit = kMaxInputSize);

/// Writes `bytes` to `path` through a temporary file beside it, renamed over
/// `path` when everything is written and flushed. An existing target keeps its
/// permissions; a new one gets the usual ones (0666 less the umask). On failure
/// the target is untouched, the temporary file is gone, and ToolFileError
/// "<path>: cannot be written: <reason>" is raised ("the output file has no name"
/// for an empty path).
void WriteOutputFile(const std::string& path, std::span<const std::uint8_t> bytes);

/// True when both paths name the same existing file (links and other spellings
/// included).
bool IsSameFile(const std::string& first, const std::string& second);

/// `text` cut to at most `limit` characters, with "..." where it was cut, so that
/// a message never quotes more than an excerpt of raw input.
std::string Excerpt(std::string_view text, std::size_t limit = 40);
/// "1 language", "2 languages": a count and its noun.
std::string Counted(std::size_t count, std::string_view noun);

/// `message` with the text between its first and its last "'" cut to an excerpt.
std::string ShortenQuoted(std::string_view message, std::size_t limit = 40);

}  // namespace lx::tools

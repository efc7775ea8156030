// The files of the command-line tools. Input is read whole, from a regular
// file or a pipe; output goes to a temporary file in the target's folder that
// replaces the target only once it is complete, so that a failed write (a full
// disk, a file-size limit) leaves the old output as it was. "-" names standard
// input or standard output.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
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

/// The file argument that stands for standard input or standard output.
inline constexpr std::string_view kStandardStream = "-";

/// How messages name an input: "standard input" for "-", else the path itself.
std::string InputName(const std::string& path);

/// The whole content of a regular file, a pipe or a terminal; "-" is standard
/// input. A regular file's size is checked before anything is read. Raises
/// ToolFileError "<path>: cannot be opened: <reason>", "<path>: is a folder",
/// "<path>: cannot be read: <reason>" or "<path>: is larger than <limit> bytes".
std::vector<std::uint8_t> ReadInputFile(const std::string& path, std::size_t limit = kMaxInputSize);

/// For an input that a library opens by name and reads with seeks (a
/// dictionary): checks that `path` is a regular file of at most `limit` bytes
/// and gives the name to open ("/dev/stdin" for "-"). Raises the errors of
/// `ReadInputFile` and "<path>: is not a regular file".
std::string RegularInputFile(const std::string& path, std::size_t limit = kMaxInputSize);

/// Output files that replace their targets together: `Add` writes each one in
/// full to a temporary file beside its target and flushes it to the disk;
/// `Commit` then renames them over their targets. A target that is a character
/// device or a FIFO (/dev/null, a named pipe) is written straight at `Commit`;
/// a link leads to what it names: a file there is replaced and the link stays.
/// Anything else (a folder, a socket) is refused, and nothing is ever renamed
/// over what is not a regular file. Whatever fails, the targets are left as
/// they were (a file replaced before a later one failed is put back) and no
/// temporary file is left. Errors are ToolFileError
/// "<path>: cannot be written: <reason>" ("the output file has no name" for an
/// empty path).
class OutputFiles {
 public:
  OutputFiles() = default;
  ~OutputFiles();
  OutputFiles(const OutputFiles&) = delete;
  OutputFiles& operator=(const OutputFiles&) = delete;

  void Add(const std::string& path, std::span<const std::uint8_t> bytes);
  void Commit();

 private:
  struct Pending {
    std::string path;
    std::string target;
    std::string temporary;               // empty for a device or FIFO
    std::vector<std::uint8_t> straight;  // what a device or FIFO gets
    std::string backup;                  // a second link to the old target while committing
    bool replaced = false;
  };
  void AddFile(const std::string& path, const std::string& target,
               std::span<const std::uint8_t> bytes);
  void Replace(Pending& file);
  void RollBack();
  void RemoveTemporaries();

  std::vector<Pending> pending_;
};

/// One output file, written as `OutputFiles` writes. An existing target keeps
/// its permissions; a new one gets the usual ones (0666 less the umask).
void WriteOutputFile(const std::string& path, std::span<const std::uint8_t> bytes);

/// `WriteOutputFile`, except that "-" goes to `standardOutput`.
void WriteOutput(const std::string& path, std::span<const std::uint8_t> bytes,
                 std::ostream& standardOutput);

/// True when the output would write over the input: both name the same
/// existing file (links and other spellings included). An input "-" is
/// standard input as it is open; an output "-" is never an input.
bool IsSameFile(const std::string& input, const std::string& output);

/// Sets up a tool's process: past a file-size limit, a write fails with "File
/// too large" instead of the signal killing the tool midway.
void PrepareToolProcess();

/// `code`, or 1 after "<tool>: standard output cannot be written" on standard
/// error when what the tool wrote to std::cout cannot be flushed.
int FinishStandardOutput(std::string_view tool, int code);

/// `text` cut to at most `limit` characters, with "..." where it was cut, so that
/// a message never quotes more than an excerpt of raw input.
std::string Excerpt(std::string_view text, std::size_t limit = 40);
/// "1 language", "2 languages": a count and its noun.
std::string Counted(std::size_t count, std::string_view noun);

/// `message` with the text between its first and its last "'" cut to an excerpt.
std::string ShortenQuoted(std::string_view message, std::size_t limit = 40);

/// `message` safe for a terminal: every byte that is not part of a printable
/// UTF-8 character (control bytes such as ESC, invalid sequences) becomes "?".
std::string Printable(std::string_view message);

}  // namespace lx::tools

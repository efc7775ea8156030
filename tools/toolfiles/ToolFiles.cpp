#include "toolfiles/ToolFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <utility>

namespace lx::tools {

namespace {

constexpr std::size_t kChunk = 64 * 1024;

[[noreturn]] void Fail(const std::string& path, const std::string& what, int error) {
  throw ToolFileError(path + ": " + what + ": " + std::strerror(error));
}

// Closes the descriptor when the scope ends, unless it was closed on purpose.
class OpenFile {
 public:
  explicit OpenFile(int fd) : fd_(fd) {}
  ~OpenFile() {
    if (fd_ >= 0) close(fd_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  int Get() const { return fd_; }
  /// Closes now; false (errno set) when the system reports an error.
  bool Close() { return close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_;
};

void ReadAll(const std::string& name, int fd, std::size_t limit, std::vector<std::uint8_t>& bytes) {
  std::size_t used = 0;
  for (;;) {
    if (used == limit + 1)
      throw ToolFileError(name + ": is larger than " + std::to_string(limit) + " bytes");
    bytes.resize(std::min(used + kChunk, limit + 1));
    const ssize_t got = read(fd, bytes.data() + used, bytes.size() - used);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) Fail(name, "cannot be read", errno);
    if (got == 0) break;
    used += static_cast<std::size_t>(got);
  }
  bytes.resize(used);
}

// The open input and what it is; standard input stays open.
struct Input {
  std::string name;
  std::unique_ptr<OpenFile> owned;
  int fd = -1;
  struct stat info {};
};

Input OpenInput(const std::string& path, std::size_t limit, int flags = 0) {
  Input input;
  input.name = InputName(path);
  if (path == kStandardStream) {
    input.fd = STDIN_FILENO;
  } else {
    input.owned = std::make_unique<OpenFile>(open(path.c_str(), O_RDONLY | O_CLOEXEC | flags));
    input.fd = input.owned->Get();
    if (input.fd < 0) Fail(input.name, "cannot be opened", errno);
  }
  if (fstat(input.fd, &input.info) != 0) Fail(input.name, "cannot be read", errno);
  if (S_ISDIR(input.info.st_mode)) throw ToolFileError(input.name + ": is a folder");
  // Refused before reading: a huge (or sparse) file would take long to read for nothing.
  if (S_ISREG(input.info.st_mode) && static_cast<std::uintmax_t>(input.info.st_size) > limit)
    throw ToolFileError(input.name + ": is larger than " + std::to_string(limit) + " bytes");
  return input;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return std::string();
  return path.substr(0, slash + 1);
}

// What a new file would get: 0666 less the umask, which can only be read by setting it.
mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

mode_t TargetMode(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return info.st_mode & 07777;
  return NewFileMode();
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes = bytes.subspan(static_cast<std::size_t>(written));
  }
  return true;
}

int ReasonOr(int fallback) {
  return errno != 0 ? errno : fallback;
}

void WriteStraight(const std::string& path, std::span<const std::uint8_t> bytes) {
  OpenFile file(open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
  if (file.Get() < 0) Fail(path, "cannot be written", errno);
  errno = 0;
  if (!WriteAll(file.Get(), bytes) || !file.Close()) Fail(path, "cannot be written", ReasonOr(EIO));
}

bool IsStream(mode_t mode) {
  return S_ISCHR(mode) || S_ISFIFO(mode);
}

[[noreturn]] void RefuseKind(const std::string& path, mode_t mode) {
  if (S_ISDIR(mode)) Fail(path, "cannot be written", EISDIR);
  throw ToolFileError(path +
                      ": cannot be written: it is neither a file, a character device nor a FIFO");
}

// Where a link leads, with the real file's path, so that the file is replaced and the link kept.
std::string LinkTarget(const std::string& path, struct stat& info) {
  if (stat(path.c_str(), &info) != 0)
    throw ToolFileError(path + ": cannot be written: the link leads to no file");
  if (!S_ISREG(info.st_mode)) return path;
  std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr), &std::free);
  if (!real) Fail(path, "cannot be written", errno);
  return real.get();
}

bool IsUtf8Continuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// The length of the printable UTF-8 character at the start of `text`; 0 when there is none.
std::size_t PrintableLength(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) return lead >= 0x20 && lead != 0x7F ? 1 : 0;
  const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || text.size() < length) return 0;
  char32_t code = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if (!IsUtf8Continuation(next)) return 0;
    code = (code << 6) | (next & 0x3F);
  }
  static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  const bool valid = code >= kSmallest[length] && code <= 0x10FFFF &&
                     !(code >= 0xD800 && code <= 0xDFFF) && !(code >= 0x80 && code < 0xA0);
  return valid ? length : 0;
}

}  // namespace

std::string InputName(const std::string& path) {
  return path == kStandardStream ? "standard input" : path;
}

std::vector<std::uint8_t> ReadInputFile(const std::string& path, std::size_t limit) {
  const Input input = OpenInput(path, limit);
  std::vector<std::uint8_t> bytes;
  ReadAll(input.name, input.fd, limit, bytes);
  return bytes;
}

std::string RegularInputFile(const std::string& path, std::size_t limit) {
  // Opened without waiting for a writer: a FIFO is refused, not waited on.
  const Input input = OpenInput(path, limit, O_NONBLOCK);
  if (!S_ISREG(input.info.st_mode)) throw ToolFileError(input.name + ": is not a regular file");
  return path == kStandardStream ? "/dev/stdin" : path;
}

OutputFiles::~OutputFiles() {
  RemoveTemporaries();
}

void OutputFiles::Add(const std::string& path, std::span<const std::uint8_t> bytes) {
  if (path.empty()) throw ToolFileError("the output file has no name");
  if (path.back() == '/') Fail(path, "cannot be written", EISDIR);
  struct stat info {};
  std::string target = path;
  if (lstat(path.c_str(), &info) != 0) return AddFile(path, target, bytes);
  if (S_ISLNK(info.st_mode)) target = LinkTarget(path, info);
  if (IsStream(info.st_mode)) {
    pending_.push_back(
        {path, target, "", std::vector<std::uint8_t>(bytes.begin(), bytes.end()), "", false});
    return;
  }
  if (!S_ISREG(info.st_mode)) RefuseKind(path, info.st_mode);
  AddFile(path, target, bytes);
}

void OutputFiles::AddFile(const std::string& path, const std::string& target,
                          std::span<const std::uint8_t> bytes) {
  std::string temporary =
      FolderOf(target) + "." + target.substr(FolderOf(target).size()) + ".XXXXXX";
  OpenFile file(mkstemp(temporary.data()));
  if (file.Get() < 0) Fail(path, "cannot be written", errno);
  errno = 0;
  const bool done = fchmod(file.Get(), TargetMode(target)) == 0 && WriteAll(file.Get(), bytes) &&
                    fsync(file.Get()) == 0 && file.Close();
  if (!done) {
    const int error = ReasonOr(EIO);
    unlink(temporary.c_str());
    Fail(path, "cannot be written", error);
  }
  pending_.push_back({path, target, temporary, {}, "", false});
}

void OutputFiles::Commit() {
  try {
    // Files first, so that a device or FIFO that fails leaves files that can be put back.
    for (Pending& file : pending_) {
      if (!file.temporary.empty()) Replace(file);
    }
    for (Pending& file : pending_) {
      if (!file.replaced) WriteStraight(file.target, file.straight);
    }
  } catch (const ToolFileError&) {
    RollBack();
    throw;
  }
  for (const Pending& file : pending_) {
    if (!file.backup.empty()) unlink(file.backup.c_str());
  }
  pending_.clear();
}

void OutputFiles::Replace(Pending& file) {
  // A second name for the old file, beside the temporary one that is ours alone.
  const std::string backup = file.temporary + "-old";
  if (link(file.target.c_str(), backup.c_str()) == 0) file.backup = backup;
  if (rename(file.temporary.c_str(), file.target.c_str()) != 0)
    Fail(file.path, "cannot be written", errno);
  file.temporary.clear();
  file.replaced = true;
}

void OutputFiles::RollBack() {
  for (Pending& file : pending_) {
    if (file.replaced && !file.backup.empty()) {
      rename(file.backup.c_str(), file.target.c_str());
    } else if (file.replaced) {
      unlink(file.target.c_str());  // it was not there before
    } else if (!file.backup.empty()) {
      unlink(file.backup.c_str());
    }
  }
  RemoveTemporaries();
}

void OutputFiles::RemoveTemporaries() {
  for (Pending& file : pending_) {
    if (!file.temporary.empty()) unlink(file.temporary.c_str());
    file.temporary.clear();
  }
  pending_.clear();
}

void WriteOutputFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  OutputFiles files;
  files.Add(path, bytes);
  files.Commit();
}

void WriteOutput(const std::string& path, std::span<const std::uint8_t> bytes,
                 std::ostream& standardOutput) {
  if (path != kStandardStream) return WriteOutputFile(path, bytes);
  standardOutput.write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
}

bool IsSameFile(const std::string& input, const std::string& output) {
  if (output == kStandardStream) return false;
  struct stat a {};
  struct stat b {};
  const int found = input == kStandardStream ? fstat(STDIN_FILENO, &a) : stat(input.c_str(), &a);
  return found == 0 && stat(output.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
         a.st_ino == b.st_ino;
}

void PrepareToolProcess() {
  std::signal(SIGXFSZ, SIG_IGN);
}

int FinishStandardOutput(std::string_view tool, int code) {
  if (std::cout.flush()) return code;
  std::cerr << tool << ": standard output cannot be written\n";
  return 1;
}

std::string Excerpt(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return std::string(text);
  std::size_t cut = limit;
  // Never split a UTF-8 sequence.
  while (cut > 0 && IsUtf8Continuation(static_cast<unsigned char>(text[cut])))
    --cut;
  return std::string(text.substr(0, cut)) + "...";
}

std::string Counted(std::size_t count, std::string_view noun) {
  return std::to_string(count) + " " + std::string(noun) + (count == 1 ? "" : "s");
}

std::string ShortenQuoted(std::string_view message, std::size_t limit) {
  const std::size_t open = message.find('\'');
  const std::size_t close = message.rfind('\'');
  if (open == std::string_view::npos || close <= open) return std::string(message);
  return std::string(message.substr(0, open + 1)) +
         Excerpt(message.substr(open + 1, close - open - 1), limit) +
         std::string(message.substr(close));
}

std::string Printable(std::string_view message) {
  std::string shown;
  shown.reserve(message.size());
  while (!message.empty()) {
    const std::size_t length = PrintableLength(message);
    shown += length == 0 ? std::string_view("?") : message.substr(0, length);
    message.remove_prefix(std::max<std::size_t>(length, 1));
  }
  return shown;
}

}  // namespace lx::tools

#include "toolfiles/ToolFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
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

void ReadAll(const std::string& path, int fd, std::size_t limit, std::vector<std::uint8_t>& bytes) {
  std::size_t used = 0;
  for (;;) {
    if (used == limit + 1)
      throw ToolFileError(path + ": is larger than " + std::to_string(limit) + " bytes");
    bytes.resize(std::min(used + kChunk, limit + 1));
    const ssize_t got = read(fd, bytes.data() + used, bytes.size() - used);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) Fail(path, "cannot be read", errno);
    if (got == 0) break;
    used += static_cast<std::size_t>(got);
  }
  bytes.resize(used);
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

}  // namespace

std::vector<std::uint8_t> ReadInputFile(const std::string& path, std::size_t limit) {
  OpenFile file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.Get() < 0) Fail(path, "cannot be opened", errno);
  struct stat info {};
  if (fstat(file.Get(), &info) != 0) Fail(path, "cannot be read", errno);
  if (S_ISDIR(info.st_mode)) throw ToolFileError(path + ": is a folder");
  std::vector<std::uint8_t> bytes;
  ReadAll(path, file.Get(), limit, bytes);
  return bytes;
}

void WriteOutputFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  if (path.empty()) throw ToolFileError("the output file has no name");
  const std::string name = path.substr(FolderOf(path).size());
  if (name.empty()) Fail(path, "cannot be written", EISDIR);
  std::string temporary = FolderOf(path) + "." + name + ".XXXXXX";
  OpenFile file(mkstemp(temporary.data()));
  if (file.Get() < 0) Fail(path, "cannot be written", errno);
  errno = 0;
  const bool done = fchmod(file.Get(), TargetMode(path)) == 0 && WriteAll(file.Get(), bytes) &&
                    fsync(file.Get()) == 0 && file.Close() &&
                    rename(temporary.c_str(), path.c_str()) == 0;
  if (!done) {
    const int error = errno != 0 ? errno : EIO;
    unlink(temporary.c_str());
    Fail(path, "cannot be written", error);
  }
}

bool IsSameFile(const std::string& first, const std::string& second) {
  struct stat a {};
  struct stat b {};
  return stat(first.c_str(), &a) == 0 && stat(second.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
         a.st_ino == b.st_ino;
}

std::string Excerpt(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return std::string(text);
  std::size_t cut = limit;
  // Never split a UTF-8 sequence.
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
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

}  // namespace lx::tools

#include "app/PoUpdate.h"

#include <fcntl.h>
#include <gettext-po.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

namespace lx::app {

namespace {

// A PO file larger than this is no translator's file.
constexpr std::int64_t kMaxPoSize = 256 << 20;

std::string Reason(int error) {
  return std::strerror(error);
}

struct TFileContent {
  std::string bytes;
  TPoSnapshot snapshot;
  mode_t mode = 0644;
};

std::uint64_t Hash(std::string_view bytes) {
  std::uint64_t hash = 1469598103934665603ull;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

TFileContent ReadContent(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) throw EPoUpdate(path + ": cannot be read: " + Reason(errno));
  if (!S_ISREG(info.st_mode) || info.st_size > kMaxPoSize)
    throw EPoUpdate(path + ": cannot be read: not a regular PO file");
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (!in) throw EPoUpdate(path + ": cannot be read: " + Reason(errno));
  TFileContent content;
  content.bytes = bytes.str();
  content.mode = info.st_mode & 07777;
  content.snapshot = {
      static_cast<std::int64_t>(content.bytes.size()),
      static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
      Hash(content.bytes)};
  return content;
}

// ---- Reading with libgettextpo

std::optional<std::string>* firstError = nullptr;

// The first error, as ":<line>: <what>" (": <what>" without a line), for the file's name to
// go before. Syntax errors come at error severity and the reader carries on.
void Note(int severity, std::size_t line, const char* text) {
  if (firstError == nullptr || severity == PO_SEVERITY_WARNING || *firstError) return;
  std::string message = text != nullptr ? text : "error";
  while (!message.empty() && message.back() == '\n')
    message.pop_back();
  const std::string where = line != static_cast<std::size_t>(-1) ? ":" + std::to_string(line) : "";
  *firstError = where + ": " + message;
}

void OnError(int severity, po_message_t, const char*, std::size_t line, std::size_t, int,
             const char* text) {
  Note(severity, line, text);
}

void OnError2(int severity, po_message_t, const char*, std::size_t line, std::size_t, int,
              const char* text, po_message_t, const char*, std::size_t, std::size_t, int,
              const char*) {
  Note(severity, line, text);
}

struct TPoFileDeleter {
  void operator()(po_file* file) const { po_file_free(file); }
};
using TPoFile = std::unique_ptr<po_file, TPoFileDeleter>;

// The file `name` parsed; its errors name `shown`.
TPoFile Parse(const std::string& name, const std::string& shown) {
  std::optional<std::string> error;
  firstError = &error;
  const po_xerror_handler handler{OnError, OnError2};
  po_file_t file = po_file_read(name.c_str(), &handler);
  firstError = nullptr;
  if (error) {
    if (file != nullptr) po_file_free(file);
    throw EPoUpdate(shown + *error);
  }
  if (file == nullptr) throw EPoUpdate(shown + ": cannot be read");
  return TPoFile(file);
}

std::string Quoted(const std::string& msgctxt, const std::string& msgid) {
  return "msgctxt \"" + msgctxt + "\" msgid \"" + msgid + "\"";
}

std::optional<TPoText> FindEntry(po_file_t file, const std::string& msgctxt,
                                 const std::string& msgid) {
  po_message_iterator_t messages = po_message_iterator(file, nullptr);
  std::optional<TPoText> found;
  for (po_message_t message; (message = po_next_message(messages)) != nullptr;) {
    const char* context = po_message_msgctxt(message);
    if (po_message_is_obsolete(message) || msgid != po_message_msgid(message) ||
        msgctxt != (context != nullptr ? context : "")) {
      continue;
    }
    found = TPoText{po_message_msgstr(message), po_message_is_fuzzy(message) != 0, {}};
    break;
  }
  po_message_iterator_free(messages);
  return found;
}

TPoText ReadEntry(const std::string& path, const std::string& msgctxt, const std::string& msgid,
                  const TFileContent& content) {
  const std::optional<TPoText> found = FindEntry(Parse(path, path).get(), msgctxt, msgid);
  if (!found) throw EPoUpdate(path + ": no entry " + Quoted(msgctxt, msgid));
  TPoText text = *found;
  text.snapshot = content.snapshot;
  return text;
}

// ---- The entry's lines

std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// The text of a quoted PO string (`"..."` after the keyword), unescaped.
std::string Unquoted(std::string_view line) {
  const std::size_t open = line.find('"');
  const std::size_t close = line.rfind('"');
  if (open == std::string_view::npos || close <= open) return {};
  std::string out;
  for (std::size_t i = open + 1; i < close; ++i) {
    if (line[i] != '\\' || i + 1 >= close) {
      out += line[i];
      continue;
    }
    const char next = line[++i];
    out += next == 'n' ? '\n' : next == 't' ? '\t' : next == 'r' ? '\r' : next;
  }
  return out;
}

struct TLine {
  std::string_view text;  // without its line end
  std::string_view end;   // "\n", "\r\n" or nothing
};

std::vector<TLine> SplitLines(std::string_view bytes) {
  std::vector<TLine> lines;
  while (!bytes.empty()) {
    const std::size_t newline = bytes.find('\n');
    std::string_view line = bytes.substr(0, newline);
    std::string_view end = newline == std::string_view::npos ? "" : "\n";
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
      end = newline == std::string_view::npos ? "\r" : "\r\n";
    }
    lines.push_back({line, end});
    bytes.remove_prefix(newline == std::string_view::npos ? bytes.size() : newline + 1);
  }
  return lines;
}

bool Starts(std::string_view line, std::string_view word) {
  return line.substr(0, word.size()) == word &&
         (line.size() == word.size() || line[word.size()] == ' ' || line[word.size()] == '\t');
}

// The keyword's string with its continuation lines, from line `at`; `at` moves past them.
std::string ReadString(const std::vector<TLine>& lines, std::size_t& at) {
  std::string text = Unquoted(lines[at].text);
  while (++at < lines.size() && !lines[at].text.empty() && lines[at].text.front() == '"')
    text += Unquoted(lines[at].text);
  return text;
}

// "#, fuzzy, c-format" without fuzzy; empty when no flag is left.
std::string WithoutFuzzy(std::string_view flags) {
  std::string kept;
  std::string_view rest = flags.substr(2);
  while (!rest.empty()) {
    const std::size_t comma = rest.find(',');
    std::string_view flag = rest.substr(0, comma);
    rest.remove_prefix(comma == std::string_view::npos ? rest.size() : comma + 1);
    while (!flag.empty() && (flag.front() == ' ' || flag.front() == '\t'))
      flag.remove_prefix(1);
    while (!flag.empty() && (flag.back() == ' ' || flag.back() == '\t'))
      flag.remove_suffix(1);
    if (flag.empty() || flag == "fuzzy") continue;
    kept += (kept.empty() ? "#, " : ", ") + std::string(flag);
  }
  return kept;
}

// The bytes with the entry's msgstr replaced; nullopt when no such entry is found.
std::optional<std::string> Patched(std::string_view bytes, const std::string& msgctxt,
                                   const std::string& msgid, const std::string& msgstr) {
  const std::vector<TLine> lines = SplitLines(bytes);
  std::size_t start = 0;
  while (start < lines.size()) {
    std::size_t end = start;
    while (end < lines.size() && !lines[end].text.empty())
      ++end;
    // Lines [start, end) are one entry.
    std::string context, id;
    bool hasContext = false;
    std::size_t msgstrAt = end, msgstrEnd = end;
    for (std::size_t at = start; at < end;) {
      const std::string_view line = lines[at].text;
      if (Starts(line, "msgctxt")) {
        hasContext = true;
        context = ReadString(lines, at);
      } else if (Starts(line, "msgid")) {
        id = ReadString(lines, at);
      } else if (Starts(line, "msgstr")) {
        msgstrAt = at;
        ReadString(lines, at);
        msgstrEnd = at;
      } else {
        ++at;
      }
    }
    if (msgstrAt < end && id == msgid && context == msgctxt && (hasContext || msgctxt.empty())) {
      std::string out;
      const std::string_view lineEnd = lines[msgstrAt].end.empty() ? "\n" : lines[msgstrAt].end;
      for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool inEntry = i >= start && i < end;
        if (inEntry && lines[i].text.substr(0, 2) == "#|") continue;
        if (inEntry && lines[i].text.substr(0, 2) == "#,") {
          const std::string flags = WithoutFuzzy(lines[i].text);
          if (!flags.empty()) out += flags + std::string(lines[i].end);
          continue;
        }
        if (i == msgstrAt) {
          out += "msgstr \"" + Escaped(msgstr) + "\"" + std::string(lineEnd);
          i = msgstrEnd - 1;
          continue;
        }
        out += std::string(lines[i].text) + std::string(lines[i].end);
      }
      return out;
    }
    start = end + 1;
  }
  return std::nullopt;
}

// ---- Writing

class TTemporaryFile {
 public:
  explicit TTemporaryFile(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
    name_ = path.substr(0, nameAt) + "." + path.substr(nameAt) + ".XXXXXX";
    fd_ = mkostemp(name_.data(), O_CLOEXEC);
    if (fd_ < 0) throw EPoUpdate(path + ": cannot be written: " + Reason(errno));
  }
  ~TTemporaryFile() {
    if (fd_ >= 0) close(fd_);
    if (!renamed_) unlink(name_.c_str());
  }
  TTemporaryFile(const TTemporaryFile&) = delete;
  TTemporaryFile& operator=(const TTemporaryFile&) = delete;

  const std::string& Name() const { return name_; }
  bool Write(std::string_view bytes, mode_t mode) {
    if (fchmod(fd_, mode) != 0) return false;
    while (!bytes.empty()) {
      const ssize_t written = write(fd_, bytes.data(), bytes.size());
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return false;
      bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    const bool synced = fsync(fd_) == 0;
    const bool closed = close(fd_) == 0;
    fd_ = -1;
    return synced && closed;
  }
  bool RenameTo(const std::string& path) {
    renamed_ = rename(name_.c_str(), path.c_str()) == 0;
    return renamed_;
  }

 private:
  std::string name_;
  int fd_ = -1;
  bool renamed_ = false;
};

}  // namespace

TPoText ReadPoText(const std::string& path, const std::string& msgctxt, const std::string& msgid) {
  const TFileContent content = ReadContent(path);
  return ReadEntry(path, msgctxt, msgid, content);
}

TPoText WritePoText(const std::string& path, const std::string& msgctxt, const std::string& msgid,
                    const std::string& msgstr, const TPoText& read) {
  const TFileContent content = ReadContent(path);
  if (!(content.snapshot == read.snapshot)) {
    // Another program wrote the file: its change stays, unless it is this entry's.
    const TPoText now = ReadEntry(path, msgctxt, msgid, content);
    if (now.msgstr != read.msgstr || now.fuzzy != read.fuzzy) {
      throw EPoUpdate(path + ": another program changed " + Quoted(msgctxt, msgid) +
                      " meanwhile; nothing was written");
    }
  }
  const std::optional<std::string> patched = Patched(content.bytes, msgctxt, msgid, msgstr);
  if (!patched) throw EPoUpdate(path + ": no entry " + Quoted(msgctxt, msgid));
  TTemporaryFile temporary(path);
  if (!temporary.Write(*patched, content.mode))
    throw EPoUpdate(path + ": cannot be written: " + Reason(errno));
  // What goes in place of the file must read back with the new text.
  const std::optional<TPoText> check =
      FindEntry(Parse(temporary.Name(), path).get(), msgctxt, msgid);
  if (!check || check->msgstr != msgstr || check->fuzzy)
    throw EPoUpdate(path + ": cannot be written: the entry did not take the new text");
  if (!temporary.RenameTo(path)) throw EPoUpdate(path + ": cannot be written: " + Reason(errno));
  return ReadPoText(path, msgctxt, msgid);
}

}  // namespace lx::app

#include "PoFile.h"

#include <gettext-po.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <sstream>

#include "TextMarks.h"
#include "lx/LxVersion.h"
#include "toolfiles/ToolFiles.h"

namespace lx::tools {
namespace {

constexpr std::size_t kMaxPoFileSize = 256u << 20;

// ---- Writing

// gettext's page width: msgcat, msgmerge and PO editors wrap at it, so lxpo does too and their
// first save changes nothing.
constexpr int kPageWidth = 79;

// Decodes the UTF-8 character at `at` (a byte that does not start one stands for itself).
char32_t CodeAt(std::string_view text, std::size_t at, std::size_t& length) {
  const auto lead = static_cast<unsigned char>(text[at]);
  length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  if (at + length > text.size()) length = 1;
  if (length == 1) return lead;
  char32_t code = lead & (0x3F >> (length - 1));
  for (std::size_t k = 1; k < length; ++k)
    code = (code << 6) | (static_cast<unsigned char>(text[at + k]) & 0x3F);
  return code;
}

bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

// Small kana and the prolonged sound mark start a line only after a space.
bool IsSmallKana(char32_t c) {
  static constexpr char32_t kSmall[] = {0x3041, 0x3043, 0x3045, 0x3047, 0x3049, 0x3063, 0x3083,
                                        0x3085, 0x3087, 0x308E, 0x3095, 0x3096, 0x30A1, 0x30A3,
                                        0x30A5, 0x30A7, 0x30A9, 0x30C3, 0x30E3, 0x30E5, 0x30E7,
                                        0x30EE, 0x30F5, 0x30F6, 0x30FC};
  return std::find(std::begin(kSmall), std::end(kSmall), c) != std::end(kSmall) ||
         (c >= 0x31F0 && c <= 0x31FF) || (c >= 0xFF67 && c <= 0xFF70);
}

// The classes of the Unicode line-breaking rules that decide where gettext breaks a text.
// kClose never starts a line; kSlash neither, but a word may start right after it.
enum class BreakClass {
  kSpace,
  kOpen,
  kClose,
  kSlash,
  kHyphen,
  kNonStarter,
  kIdeograph,
  kQuote,
  kOther
};

BreakClass ClassOf(char32_t c) {
  switch (c) {
    case ' ':
      return BreakClass::kSpace;
    case '(':
    case '[':
    case '{':
    case 0x300C:
    case 0x300E:
    case 0xFF08:
      return BreakClass::kOpen;
    case '/':
    case '!':
    case '?':
    case '}':
      return BreakClass::kSlash;
    case ',':
    case '.':
    case ':':
    case ';':
      return BreakClass::kSlash;
    case ')':
    case ']':
    case 0x3001:
    case 0x3002:
    case 0x300D:
    case 0x300F:
    case 0xFF09:
    case 0xFF0C:
    case 0xFF01:
    case 0xFF1F:
      return BreakClass::kClose;
    case '-':
      return BreakClass::kHyphen;
    case '"':
    case '\'':
    case 0xAB:
    case 0xBB:
    case 0x2018:
    case 0x2019:
    case 0x201C:
    case 0x201D:
    case 0x2039:
    case 0x203A:
      return BreakClass::kQuote;
    case 0x201A:
    case 0x201E:
      return BreakClass::kOpen;
    default:
      if (IsSmallKana(c)) return BreakClass::kNonStarter;
      return IsWide(c) || (c >= 0xFF66 && c <= 0xFF9F) ? BreakClass::kIdeograph
                                                       : BreakClass::kOther;
  }
}

// Whether a line may break between two characters with no space between them.
bool BreaksBetween(BreakClass before, BreakClass now, bool digit) {
  if (now == BreakClass::kHyphen || now == BreakClass::kNonStarter) return false;
  if (before == BreakClass::kHyphen || before == BreakClass::kSlash)
    return !digit && now != BreakClass::kQuote;
  if (before == BreakClass::kOpen || before == BreakClass::kQuote || now == BreakClass::kQuote)
    return false;
  return before == BreakClass::kIdeograph || now == BreakClass::kIdeograph;
}

// One character of a string as gettext writes it: its escaped bytes, its columns and whether
// a line may break before it.
struct Piece {
  std::string bytes;
  int width = 1;
  bool breakBefore = false;
};

// gettext escapes the C control characters by name and writes every other byte as it is.
std::vector<Piece> EscapedPieces(std::string_view text) {
  static const std::string_view kControls("\a\b\f\n\r\t\v", 7);
  static const char kNames[] = "abfnrtv";
  std::vector<Piece> pieces;
  BreakClass before = BreakClass::kOther;
  bool spaces = false;
  bool openBeforeSpaces = false;
  bool quoteBeforeSpaces = false;
  bool closeBeforeSpaces = false;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t length = 1;
    const char32_t code = CodeAt(text, at, length);
    Piece piece;
    const std::size_t control = kControls.find(text[at]);
    const bool escaped = control != std::string_view::npos || text[at] == '\\' || text[at] == '"';
    piece.bytes =
        control != std::string_view::npos
            ? std::string{'\\', kNames[control]}
            : (escaped ? std::string{'\\', text[at]} : std::string(text.substr(at, length)));
    piece.width = escaped ? 2 : (IsWide(code) ? 2 : 1);
    // An escape breaks as a backslash does before it, never inside it.
    const BreakClass now = escaped ? BreakClass::kOther : ClassOf(code);
    const bool digit = code >= '0' && code <= '9';
    if (!pieces.empty() && now != BreakClass::kSpace && now != BreakClass::kClose &&
        now != BreakClass::kSlash)
      piece.breakBefore = spaces ? !openBeforeSpaces &&
                                       !(quoteBeforeSpaces && now == BreakClass::kOpen) &&
                                       !(closeBeforeSpaces && now == BreakClass::kNonStarter)
                                 : BreaksBetween(before, now, digit);
    if (now == BreakClass::kSpace) {
      if (!spaces) openBeforeSpaces = before == BreakClass::kOpen;
      if (!spaces) quoteBeforeSpaces = before == BreakClass::kQuote;
      if (!spaces) closeBeforeSpaces = before == BreakClass::kClose;
      spaces = true;
    } else {
      spaces = false;
      // Nothing breaks right after a quote or a backslash.
      before = control != std::string_view::npos ? BreakClass::kOther
               : escaped                         ? BreakClass::kQuote
                                                 : now;
    }
    pieces.push_back(std::move(piece));
    at += escaped ? 1 : length;
  }
  return pieces;
}

// Greedy breaking as gettext does it: a piece between two break opportunities that would pass
// `width` moves to a new line. Marks where lines break; true when any does.
bool BreakLines(std::vector<Piece>& pieces, int width, int startColumn, std::vector<bool>& breaks) {
  breaks.assign(pieces.size(), false);
  int lastColumn = startColumn;
  int pieceWidth = 0;
  std::size_t last = pieces.size();
  bool any = false;
  for (std::size_t i = 0; i <= pieces.size(); ++i) {
    const bool end = i == pieces.size();
    if (end || pieces[i].breakBefore) {
      if (last < pieces.size() && lastColumn + pieceWidth > width) {
        breaks[last] = true;
        any = true;
        lastColumn = 0;
      }
      if (end) break;
      last = i;
      lastColumn += pieceWidth;
      pieceWidth = 0;
    }
    pieceWidth += pieces[i].width;
  }
  return any;
}

// A keyword and its string, wrapped as gettext wraps it: a line per line break of the text and
// at the page width; a string on more than one line starts with an empty one.
void AppendField(std::string& out, std::string_view keyword, std::string_view text) {
  if (text.find('\0') != std::string_view::npos)
    throw PoError("a text with a NUL character cannot be written to a PO file");
  // One column for each quote.
  const int width = kPageWidth - 2;
  bool firstLine = true;
  std::size_t start = 0;
  do {
    std::size_t end = text.find('\n', start);
    end = end == std::string_view::npos ? text.size() : end + 1;
    std::vector<Piece> pieces = EscapedPieces(text.substr(start, end - start));
    // Never a break right before the "\n" that ends the line.
    if (end > start && text[end - 1] == '\n') pieces.back().breakBefore = false;
    std::vector<bool> breaks;
    const int startColumn = firstLine ? static_cast<int>(keyword.size()) + 1 : 0;
    const bool wraps = BreakLines(pieces, width, startColumn, breaks);
    if (firstLine && !pieces.empty() && (end < text.size() || wraps)) {
      out += std::string(keyword) + " \"\"\n";
      firstLine = false;
      BreakLines(pieces, width, 0, breaks);
    }
    if (firstLine) out += std::string(keyword) + " ";
    out += '"';
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      if (breaks[i]) out += "\"\n\"";
      out += pieces[i].bytes;
    }
    out += "\"\n";
    firstLine = false;
    start = end;
  } while (start < text.size());
}

// "#:" lines of references, as many a line as the page width takes; a reference given twice
// is written once, as gettext keeps it.
void AppendReferences(std::string& out, const std::vector<std::string>& references) {
  if (references.empty()) return;
  std::vector<std::string> seen;
  std::size_t column = 2;
  out += "#:";
  for (const std::string& reference : references) {
    if (std::find(seen.begin(), seen.end(), reference) != seen.end()) continue;
    seen.push_back(reference);
    if (column > 2 && column + reference.size() + 1 > static_cast<std::size_t>(kPageWidth)) {
      out += "\n#:";
      column = 2;
    }
    out += " " + reference;
    column += reference.size() + 1;
  }
  out += "\n";
}

std::string OneLine(std::string_view text) {
  std::string line(text);
  for (char& c : line) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return line;
}

// A format text is marked so that msgfmt --check and translation platforms check it too;
// the program's format routine is the one of GNU gettext's Object Pascal format.
std::string FlagsLine(const PoEntry& entry) {
  std::string flags;
  if (entry.fuzzy) flags += ", fuzzy";
  if (IsFormatText(entry.msgid)) flags += ", object-pascal-format";
  return flags.empty() ? flags : "#" + flags + "\n";
}

std::string HeaderText(const std::vector<PoHeaderField>& fields) {
  std::string text;
  for (const auto& [name, value] : fields)
    text += name + ": " + value + "\n";
  return text;
}

// ---- Reading

bool IsUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int more = 0;
    char32_t code = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      more = 1, code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      more = 2, code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      more = 3, code = lead & 0x07;
    } else {
      return false;
    }
    if (i + static_cast<std::size_t>(more) >= text.size()) return false;
    for (int k = 1; k <= more; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[more] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
      return false;
    i += static_cast<std::size_t>(more) + 1;
  }
  return true;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// The line where each entry starts (its msgctxt, or its msgid), in file order, obsolete
// entries included: the order in which libgettextpo gives the messages.
std::vector<int> EntryLines(const std::string& content) {
  std::vector<std::string> lines;
  std::istringstream stream(content);
  for (std::string line; std::getline(stream, line);)
    lines.push_back(line);
  std::vector<int> starts;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    const bool obsolete = StartsWith(line, "#~");
    std::string_view body = obsolete ? line.substr(2) : line;
    while (!body.empty() && body.front() == ' ')
      body.remove_prefix(1);
    if (!StartsWith(body, "msgid ") && !StartsWith(body, "msgid\t")) continue;
    std::size_t start = i;
    while (start > 0) {
      std::string_view previous = lines[start - 1];
      if (StartsWith(previous, "#~")) previous.remove_prefix(2);
      while (!previous.empty() && previous.front() == ' ')
        previous.remove_prefix(1);
      if (StartsWith(previous, "\"")) {
        --start;
      } else {
        if (StartsWith(previous, "msgctxt")) --start;
        break;
      }
    }
    // Continuation lines before a msgid without msgctxt belong to the previous entry.
    std::string_view first = lines[start];
    if (first.find("msgctxt") == std::string_view::npos) start = i;
    starts.push_back(static_cast<int>(start) + 1);
  }
  return starts;
}

std::string ReadWhole(const std::string& path) {
  const std::vector<std::uint8_t> bytes = ReadInputFile(path, kMaxPoFileSize);
  return std::string(bytes.begin(), bytes.end());
}

// libgettextpo reads a file by name. It is given the content read already, in a file of the
// process's own, so that a pipe is read once and what was checked is what is parsed.
class ContentFile {
 public:
  ContentFile(const std::string& path, std::string_view content)
      : fd_(memfd_create("po", MFD_CLOEXEC)) {
    while (fd_ >= 0 && !content.empty()) {
      const ssize_t written = write(fd_, content.data(), content.size());
      if (written <= 0) break;
      content.remove_prefix(static_cast<std::size_t>(written));
    }
    if (fd_ < 0 || !content.empty()) {
      if (fd_ >= 0) close(fd_);
      throw PoError(path + ": cannot be held in memory");
    }
  }
  ~ContentFile() { close(fd_); }
  ContentFile(const ContentFile&) = delete;
  ContentFile& operator=(const ContentFile&) = delete;

  std::string Name() const { return "/proc/self/fd/" + std::to_string(fd_); }

 private:
  int fd_;
};

// The first error libgettextpo reports while it reads one file. Its handlers are plain
// functions, so the reader in progress is found through this pointer.
struct ErrorCollector {
  std::string path;
  std::optional<std::string> first;
};
// Syntax errors come at error severity and the reader carries on, so the handlers return.
thread_local ErrorCollector* collector = nullptr;

void Collect(int severity, std::size_t line, const char* text) {
  if (collector == nullptr || severity == PO_SEVERITY_WARNING || collector->first) return;
  // The library knows the file by the name of its copy.
  std::string where = collector->path;
  if (line != static_cast<std::size_t>(-1)) where += ":" + std::to_string(line);
  std::string message = text != nullptr ? text : "error";
  while (!message.empty() && message.back() == '\n')
    message.pop_back();
  collector->first = where + ": " + message;
}

void OnError(int severity, po_message_t, const char*, std::size_t line, std::size_t, int,
             const char* text) {
  Collect(severity, line, text);
}

void OnError2(int severity, po_message_t, const char*, std::size_t line, std::size_t, int,
              const char* text, po_message_t, const char*, std::size_t, std::size_t, int,
              const char*) {
  Collect(severity, line, text);
}

struct PoFileDeleter {
  void operator()(po_file* file) const { po_file_free(file); }
};
struct IteratorDeleter {
  void operator()(struct po_message_iterator* iterator) const {
    po_message_iterator_free(iterator);
  }
};

po_file_t OpenPo(const std::string& path, const std::string& content) {
  const ContentFile copy(path, content);
  ErrorCollector errors{path, std::nullopt};
  collector = &errors;
  const po_xerror_handler handler{OnError, OnError2};
  po_file_t file = po_file_read(copy.Name().c_str(), &handler);
  collector = nullptr;
  if (errors.first) {
    if (file != nullptr) po_file_free(file);
    throw PoError(*errors.first);
  }
  if (file == nullptr) throw PoError(path + ": cannot be read");
  return file;
}

std::string CharsetOf(const char* header) {
  if (header == nullptr) return "UTF-8";
  std::unique_ptr<char, decltype(&std::free)> type(po_header_field(header, "Content-Type"),
                                                   &std::free);
  if (!type) return "UTF-8";
  const std::string value = type.get();
  const std::size_t at = value.find("charset=");
  if (at == std::string::npos) return "UTF-8";
  std::string charset = value.substr(at + 8);
  const std::size_t end = charset.find_first_of("; \t\r\n");
  if (end != std::string::npos) charset.erase(end);
  return charset;
}

bool IsUtf8Charset(std::string charset) {
  for (char& c : charset)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return charset == "UTF-8" || charset == "UTF8" || charset == "ASCII" || charset == "US-ASCII";
}

const char* Text(const char* text) {
  return text != nullptr ? text : "";
}

std::vector<std::string> CommentLines(const char* comments) {
  std::vector<std::string> lines;
  std::istringstream stream(Text(comments));
  for (std::string line; std::getline(stream, line);)
    lines.push_back(line);
  return lines;
}

}  // namespace

std::string MsgctxtOf(std::string_view context, std::string_view id) {
  if (context.empty() && id.empty()) return std::string();
  return std::string(context) + "|" + std::string(id);
}

bool SplitMsgctxt(std::string_view msgctxt, std::string& context, std::string& id) {
  const std::size_t bar = msgctxt.find('|');
  if (bar == std::string_view::npos) return false;
  context = std::string(msgctxt.substr(0, bar));
  id = std::string(msgctxt.substr(bar + 1));
  return true;
}

// Fields left empty rather than at xgettext's placeholders, which msgfmt --check warns of;
// no dates, so that a template diffs well.
std::vector<PoHeaderField> PoHeaderFields(std::string_view language) {
  return {{"Project-Id-Version", ""},
          {"PO-Revision-Date", ""},
          {"Last-Translator", ""},
          {"Language-Team", ""},
          {"Language", std::string(language)},
          {"MIME-Version", "1.0"},
          {"Content-Type", "text/plain; charset=UTF-8"},
          {"Content-Transfer-Encoding", "8bit"},
          {"X-Generator", std::string("lxpo ") + kLxVersion}};
}

std::string WritePo(const std::vector<PoEntry>& entries, std::string_view language) {
  return WritePo(entries, PoHeaderFields(language));
}

std::string WritePo(const std::vector<PoEntry>& entries, const std::vector<PoHeaderField>& header) {
  std::string out;
  AppendField(out, "msgid", "");
  AppendField(out, "msgstr", HeaderText(header));
  for (const PoEntry& entry : entries) {
    out += '\n';
    for (const std::string& comment : entry.comments)
      out += "#. " + OneLine(comment) + "\n";
    std::vector<std::string> references;
    for (const std::string& reference : entry.references)
      references.push_back(OneLine(reference));
    AppendReferences(out, references);
    out += FlagsLine(entry);
    const std::string msgctxt = MsgctxtOf(entry.context, entry.id);
    if (!msgctxt.empty()) AppendField(out, "msgctxt", msgctxt);
    AppendField(out, "msgid", entry.msgid);
    AppendField(out, "msgstr", entry.msgstr);
  }
  return out;
}

std::vector<PoEntry> ReadPo(const std::string& path, PoReadCounts& counts, bool keepFuzzy) {
  const std::string content = ReadWhole(path);
  const std::vector<int> lines = EntryLines(content);
  const std::string name = InputName(path);
  std::unique_ptr<po_file, PoFileDeleter> file(OpenPo(name, content));
  const std::string charset = CharsetOf(po_file_domain_header(file.get(), nullptr));
  if (!IsUtf8Charset(charset))
    throw PoError(name + ": charset \"" + charset +
                  "\" is not supported: PO files must be UTF-8 (msgconv --to-code=UTF-8)");
  std::unique_ptr<struct po_message_iterator, IteratorDeleter> messages(
      po_message_iterator(file.get(), nullptr));
  std::vector<PoEntry> entries;
  std::size_t index = 0;
  while (po_message_t message = po_next_message(messages.get())) {
    const int line = index < lines.size() ? lines[index] : 0;
    ++index;
    const std::string where = name + (line > 0 ? ":" + std::to_string(line) : std::string());
    const char* msgctxt = po_message_msgctxt(message);
    const std::string msgid = Text(po_message_msgid(message));
    if (msgctxt == nullptr && msgid.empty()) continue;  // the header
    if (po_message_is_obsolete(message)) {
      ++counts.obsolete;
      continue;
    }
    if (po_message_msgid_plural(message) != nullptr)
      throw PoError(where + ": plural entries are not supported (the dictionary has no plurals)");
    PoEntry entry;
    entry.msgid = msgid;
    entry.msgstr = Text(po_message_msgstr(message));
    entry.fuzzy = po_message_is_fuzzy(message) != 0;
    entry.line = line;
    if (msgctxt != nullptr && !SplitMsgctxt(msgctxt, entry.context, entry.id))
      throw PoError(where + ": msgctxt \"" + msgctxt +
                    "\" does not parse: \"context|id\" expected");
    if (!IsUtf8(entry.msgid) || !IsUtf8(entry.msgstr) || !IsUtf8(Text(msgctxt)))
      throw PoError(where + ": the text is not UTF-8");
    if (entry.fuzzy && !keepFuzzy) {
      ++counts.fuzzy;
      continue;
    }
    entry.comments = CommentLines(po_message_extracted_comments(message));
    for (int i = 0; po_filepos_t position = po_message_filepos(message, i); ++i) {
      std::string reference = Text(po_filepos_file(position));
      const std::size_t line = po_filepos_start_line(position);
      if (line != static_cast<std::size_t>(-1)) reference += ":" + std::to_string(line);
      entry.references.push_back(std::move(reference));
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace lx::tools

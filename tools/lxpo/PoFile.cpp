#include "PoFile.h"

#include <gettext-po.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>

#include "PoWrap.h"
#include "TextMarks.h"
#include "lx/LxVersion.h"
#include "toolfiles/ToolFiles.h"

namespace lx::tools {
namespace {

constexpr std::size_t kMaxPoFileSize = 256u << 20;

// ---- Writing

// A keyword and its string, as gettext writes it.
void AppendField(std::string& out, std::string_view keyword, std::string_view text) {
  if (text.find('\0') != std::string_view::npos)
    throw PoError("a text with a NUL character cannot be written to a PO file");
  out += WrappedPoString(keyword, text);
}

std::string OneLine(std::string_view text) {
  std::string line(text);
  for (char& c : line) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return line;
}

// The format languages in the order in which gettext writes their flags.
constexpr std::string_view kFormatLanguages[] = {
    "c",      "objc",       "python", "python-brace", "java",          "java-printf",
    "csharp", "javascript", "scheme", "lisp",         "elisp",         "librep",
    "ruby",   "sh",         "awk",    "lua",          "object-pascal", "smalltalk",
    "qt",     "qt-plural",  "kde",    "kde-kuit",     "boost",         "tcl",
    "perl",   "perl-brace", "php",    "gcc-internal", "gfc-internal",  "ycp"};
constexpr std::string_view kOwnFormatLanguage = "object-pascal";
constexpr std::string_view kFlagSeparators = "\n \t\r\f\v,";

// The language of a format flag ("c" of "no-c-format"); empty for other flags.
std::string_view FormatLanguage(std::string_view flag) {
  if (!flag.ends_with("-format")) return {};
  flag.remove_suffix(7);
  for (const std::string_view prefix : {"no-", "possible-", "impossible-"}) {
    if (flag.starts_with(prefix)) return flag.substr(prefix.size());
  }
  return flag;
}

// Where gettext writes a flag after the fuzzy one: formats in its order, the range, the wrap;
// flags it does not know (and drops) last.
std::size_t FlagRank(std::string_view flag) {
  constexpr std::size_t kKnown = std::size(kFormatLanguages);
  if (const std::string_view language = FormatLanguage(flag); !language.empty()) {
    const auto* found =
        std::find(std::begin(kFormatLanguages), std::end(kFormatLanguages), language);
    return static_cast<std::size_t>(found - std::begin(kFormatLanguages));
  }
  if (flag.starts_with("range:")) return kKnown + 1;
  if (flag == "wrap" || flag == "no-wrap") return kKnown + 2;
  return kKnown + 3;
}

// A format text is marked so that msgfmt --check and translation platforms check it too;
// the program's format routine is the one of GNU gettext's Object Pascal format. The flags are
// in gettext's order, so that msgcat keeps the line.
std::string FlagsLine(const PoEntry& entry) {
  std::vector<std::string> flags;
  for (const std::string& flag : entry.flags)
    flags.push_back(OneLine(flag));
  if (IsFormatText(entry.msgid)) flags.push_back(std::string(kOwnFormatLanguage) + "-format");
  std::stable_sort(flags.begin(), flags.end(), [](const std::string& a, const std::string& b) {
    return FlagRank(a) < FlagRank(b);
  });
  if (entry.fuzzy) flags.insert(flags.begin(), "fuzzy");
  std::string line;
  for (const std::string& flag : flags)
    line += ", " + flag;
  return line.empty() ? line : "#" + line + "\n";
}

// A translator comment as gettext writes it: "#" alone for an empty one.
std::string TranslatorCommentLine(std::string_view comment) {
  return comment.empty() ? "#\n" : "# " + OneLine(comment) + "\n";
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

std::vector<std::string> SplitLines(const std::string& content) {
  std::vector<std::string> lines;
  std::istringstream stream(content);
  for (std::string line; std::getline(stream, line);)
    lines.push_back(line);
  return lines;
}

// The line where each entry starts (its msgctxt, or its msgid), in file order, obsolete
// entries included: the order in which libgettextpo gives the messages.
std::vector<int> EntryLines(const std::vector<std::string>& lines) {
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

std::string HeaderField(const char* header, const char* field) {
  if (header == nullptr) return std::string();
  std::unique_ptr<char, decltype(&std::free)> value(po_header_field(header, field), &std::free);
  return value ? std::string(value.get()) : std::string();
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

// The flags of a "#," line as gettext reads them: words apart by blanks or commas, with
// "range:" and its bounds as one flag ("range: 0..10").
std::vector<std::string> FlagWords(std::string_view text) {
  std::vector<std::string> words;
  bool range = false;
  while (!text.empty()) {
    const std::size_t start = text.find_first_not_of(kFlagSeparators);
    if (start == std::string_view::npos) break;
    text.remove_prefix(start);
    const std::size_t end = std::min(text.find_first_of(kFlagSeparators), text.size());
    const std::string word(text.substr(0, end));
    text.remove_prefix(end);
    if (range) {
      words.back() += " " + word;
    } else {
      words.push_back(word);
    }
    range = !range && word == "range:";
  }
  return words;
}

// The kind a flag shares with those it overrides: a format language, the range, the wrap.
std::string FlagKind(std::string_view flag) {
  if (const std::string_view language = FormatLanguage(flag); !language.empty())
    return std::string(language) + "-format";
  if (flag.starts_with("range:")) return "range:";
  if (flag == "no-wrap") return "wrap";
  return std::string(flag);
}

// The flags of the "#," lines before the entry that starts at `line` (1-based), in order,
// besides those lxpo works out itself; of two of a kind, the later one counts, as in gettext.
std::vector<std::string> FlagsBefore(const std::vector<std::string>& lines, int line) {
  std::size_t first = static_cast<std::size_t>(std::max(line - 1, 0));
  while (first > 0 && lines[first - 1].starts_with("#") && !lines[first - 1].starts_with("#~"))
    --first;
  std::vector<std::string> flags;
  for (std::size_t i = first; i + 1 < static_cast<std::size_t>(line); ++i) {
    if (!lines[i].starts_with("#,")) continue;
    for (std::string& flag : FlagWords(std::string_view(lines[i]).substr(2))) {
      if (flag == "fuzzy" || FormatLanguage(flag) == kOwnFormatLanguage) continue;
      const std::string kind = FlagKind(flag);
      std::erase_if(flags, [&](const std::string& had) { return FlagKind(had) == kind; });
      flags.push_back(std::move(flag));
    }
  }
  return flags;
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
std::vector<PoHeaderField> PoHeaderFields(std::string_view language, std::string_view pluralForms) {
  std::vector<PoHeaderField> fields{{"Project-Id-Version", ""},
                                    {"PO-Revision-Date", ""},
                                    {"Last-Translator", ""},
                                    {"Language-Team", ""},
                                    {"Language", std::string(language)},
                                    {"MIME-Version", "1.0"},
                                    {"Content-Type", "text/plain; charset=UTF-8"},
                                    {"Content-Transfer-Encoding", "8bit"},
                                    {"X-Generator", std::string("lxpo ") + kLxVersion}};
  if (!pluralForms.empty())
    fields.insert(fields.end() - 1, {"Plural-Forms", std::string(pluralForms)});
  return fields;
}

std::string WritePo(const std::vector<PoEntry>& entries, std::string_view language,
                    std::string_view pluralForms) {
  return WritePo(entries, PoHeaderFields(language, pluralForms));
}

std::string WritePo(const std::vector<PoEntry>& entries, const std::vector<PoHeaderField>& header) {
  std::string out;
  AppendField(out, "msgid", "");
  AppendField(out, "msgstr", HeaderText(header));
  for (const PoEntry& entry : entries) {
    out += '\n';
    for (const std::string& comment : entry.translatorComments)
      out += TranslatorCommentLine(comment);
    for (const std::string& comment : entry.comments)
      out += "#. " + OneLine(comment) + "\n";
    std::vector<std::string> references;
    for (const std::string& reference : entry.references)
      references.push_back(OneLine(reference));
    out += PoReferenceLines(references);
    out += FlagsLine(entry);
    const std::string msgctxt = MsgctxtOf(entry.context, entry.id);
    if (!msgctxt.empty()) AppendField(out, "msgctxt", msgctxt);
    AppendField(out, "msgid", entry.msgid);
    if (entry.msgidPlural.empty()) {
      AppendField(out, "msgstr", entry.msgstr);
      continue;
    }
    AppendField(out, "msgid_plural", entry.msgidPlural);
    const std::size_t forms = std::max<std::size_t>(entry.msgstrPlural.size(), 1);
    for (std::size_t i = 0; i < forms; ++i) {
      AppendField(out, "msgstr[" + std::to_string(i) + "]",
                  i < entry.msgstrPlural.size() ? entry.msgstrPlural[i] : std::string());
    }
  }
  return out;
}

std::vector<PoEntry> ReadPo(const std::string& path, PoReadCounts& counts, bool keepFuzzy) {
  const std::string content = ReadWhole(path);
  const std::vector<std::string> text = SplitLines(content);
  const std::vector<int> lines = EntryLines(text);
  const std::string name = InputName(path);
  std::unique_ptr<po_file, PoFileDeleter> file(OpenPo(name, content));
  const char* header = po_file_domain_header(file.get(), nullptr);
  const std::string charset = CharsetOf(header);
  counts.pluralForms = HeaderField(header, "Plural-Forms");
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
    PoEntry entry;
    entry.msgid = msgid;
    entry.msgstr = Text(po_message_msgstr(message));
    entry.msgidPlural = Text(po_message_msgid_plural(message));
    // libgettextpo gives msgstr[0] as the msgstr of a plural entry; its forms are apart.
    if (!entry.msgidPlural.empty()) entry.msgstr.clear();
    for (int i = 0; !entry.msgidPlural.empty(); ++i) {
      const char* form = po_message_msgstr_plural(message, i);
      if (form == nullptr) break;
      entry.msgstrPlural.emplace_back(form);
      if (!IsUtf8(entry.msgstrPlural.back())) throw PoError(where + ": the text is not UTF-8");
    }
    entry.fuzzy = po_message_is_fuzzy(message) != 0;
    entry.line = line;
    if (msgctxt != nullptr && !SplitMsgctxt(msgctxt, entry.context, entry.id))
      throw PoError(where + ": msgctxt \"" + msgctxt +
                    "\" does not parse: \"context|id\" expected");
    if (!IsUtf8(entry.msgid) || !IsUtf8(entry.msgidPlural) || !IsUtf8(entry.msgstr) ||
        !IsUtf8(Text(msgctxt)))
      throw PoError(where + ": the text is not UTF-8");
    if (entry.fuzzy && !keepFuzzy) {
      ++counts.fuzzy;
      continue;
    }
    entry.translatorComments = CommentLines(po_message_comments(message));
    entry.comments = CommentLines(po_message_extracted_comments(message));
    if (line > 0) entry.flags = FlagsBefore(text, line);
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

// Compiles a string-table source into a header of resource-string records
// and a source that links the texts into the program's resources.
//
//   lx_stringtable <table> <header> <source> <TableName> <namespace> <include>
//
// A table holds one string per line: a name, an identifier from 0 to 65535
// and the text in double quotes, where \\, \", \n, \r, \t and \xHH stand for
// the characters they name. Blank lines and lines whose first non-blank
// character is "#" are ignored, as is a "#" comment after the text.
//
//   # The shortcut texts.
//   SmkcBkSp 65280 "BkSp"
//
// A second text after the first declares a text with a count: the singular
// and the plural of the native language, which the engine's LoadResPlural
// chooses between (or between the translations of the active language).
//
//   SFilesCopied 100 "%d file copied" "%d files copied"
//
// A bad table stops the build with "<table>:<line>: error: <what>".
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr unsigned long kMaxIdentifier = 0xFFFF;
constexpr std::size_t kMaxTextLength = 1024;

struct Entry {
  std::string name;
  unsigned long identifier = 0;
  std::string text;
  std::string plural;  // empty: no plural
};

struct TableError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class LineReader {
 public:
  explicit LineReader(std::string_view line) : line_(line) {}

  void SkipBlanks() {
    while (!AtEnd() && (Peek() == ' ' || Peek() == '\t'))
      ++at_;
  }
  bool AtEnd() const { return at_ >= line_.size(); }
  char Peek() const { return line_[at_]; }
  char Take() { return line_[at_++]; }

  std::string TakeWhile(bool (*accept)(char)) {
    const std::size_t start = at_;
    while (!AtEnd() && accept(Peek()))
      ++at_;
    return std::string(line_.substr(start, at_ - start));
  }

 private:
  std::string_view line_;
  std::size_t at_ = 0;
};

bool IsNameStart(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_';
}

bool IsNameChar(char c) {
  return IsNameStart(c) || std::isdigit(static_cast<unsigned char>(c)) != 0;
}

bool IsDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

char HexEscape(LineReader& reader) {
  int value = 0;
  for (int digit = 0; digit < 2; ++digit) {
    const int next = reader.AtEnd() ? -1 : HexValue(reader.Take());
    if (next < 0) throw TableError("\\x needs two hexadecimal digits");
    value = value * 16 + next;
  }
  return static_cast<char>(value);
}

char Escape(LineReader& reader) {
  if (reader.AtEnd()) throw TableError("unterminated text");
  const char c = reader.Take();
  switch (c) {
    case '\\':
    case '"':
      return c;
    case 'n':
      return '\n';
    case 'r':
      return '\r';
    case 't':
      return '\t';
    case 'x':
      return HexEscape(reader);
    default:
      throw TableError(std::string("unknown escape \\") + c);
  }
}

std::string QuotedText(LineReader& reader) {
  if (reader.AtEnd() || reader.Take() != '"') throw TableError("expected a quoted text");
  std::string text;
  for (;;) {
    if (reader.AtEnd()) throw TableError("unterminated text");
    const char c = reader.Take();
    if (c == '"') return text;
    text += c == '\\' ? Escape(reader) : c;
  }
}

unsigned long Identifier(LineReader& reader) {
  const std::string digits = reader.TakeWhile(IsDigit);
  if (digits.empty()) throw TableError("expected an identifier");
  if (digits.size() > 5 || std::stoul(digits) > kMaxIdentifier)
    throw TableError("identifier " + digits + " is out of range 0..65535");
  return std::stoul(digits);
}

Entry ParseEntry(std::string_view line) {
  LineReader reader(line);
  reader.SkipBlanks();
  Entry entry;
  if (reader.AtEnd() || !IsNameStart(reader.Peek())) throw TableError("expected a name");
  entry.name = reader.TakeWhile(IsNameChar);
  reader.SkipBlanks();
  entry.identifier = Identifier(reader);
  reader.SkipBlanks();
  entry.text = QuotedText(reader);
  reader.SkipBlanks();
  if (!reader.AtEnd() && reader.Peek() == '"') {
    entry.plural = QuotedText(reader);
    if (entry.plural.empty()) throw TableError("the plural of " + entry.name + " is empty");
    if (entry.plural.size() > kMaxTextLength)
      throw TableError("the plural of " + entry.name + " is longer than 1024 characters");
    reader.SkipBlanks();
  }
  if (!reader.AtEnd() && reader.Peek() != '#')
    throw TableError("unexpected characters after the text");
  if (entry.text.size() > kMaxTextLength)
    throw TableError("the text of " + entry.name + " is longer than 1024 characters");
  return entry;
}

bool IsIgnored(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t");
  return first == std::string_view::npos || line[first] == '#';
}

class TableReader {
 public:
  void Add(const Entry& entry) {
    if (!names_.emplace(entry.name, entry.identifier).second)
      throw TableError("duplicate name " + entry.name);
    const auto [at, added] = identifiers_.emplace(entry.identifier, entry.name);
    if (!added)
      throw TableError("duplicate identifier " + std::to_string(entry.identifier) +
                       " (also used by " + at->second + ")");
    entries_.push_back(entry);
  }
  const std::vector<Entry>& Entries() const { return entries_; }

 private:
  std::map<std::string, unsigned long> names_;
  std::map<unsigned long, std::string> identifiers_;
  std::vector<Entry> entries_;
};

std::vector<Entry> ReadTable(const std::string& path) {
  // A folder opens as a stream that reads nothing, which would pass for an empty table.
  std::error_code error;
  if (std::filesystem::is_directory(path, error))
    throw std::runtime_error(path + ": error: is a folder, not a string table");
  std::ifstream in(path, std::ios::binary);
  if (!in)
    throw std::runtime_error(path +
                             ": error: cannot open the string table: " + std::strerror(errno));
  TableReader table;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (IsIgnored(line)) continue;
    try {
      table.Add(ParseEntry(line));
    } catch (const TableError& error) {
      throw std::runtime_error(path + ":" + std::to_string(number) + ": error: " + error.what());
    }
  }
  if (in.bad()) throw std::runtime_error(path + ": error: cannot read the string table");
  return table.Entries();
}

// A C++ string literal for any bytes: everything but plain printable ASCII
// goes as a three-digit octal escape, which never runs into what follows.
std::string Literal(const std::string& text) {
  std::string literal = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\' && c != '?') {
      literal += c;
    } else {
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\%03o", byte);
      literal += escape;
    }
  }
  return literal + "\"";
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

struct Names {
  std::string table;      // the source file
  std::string tableName;  // the C++ name of the table
  std::string space;      // the namespace of the records
  std::string include;    // how the source includes the header
};

std::string Header(const std::vector<Entry>& entries, const Names& names) {
  std::ostringstream out;
  out << "// Generated by lx_add_string_table from " << BaseName(names.table)
      << ": edit that file instead.\n#pragma once\n\n#include "
         "\"framework/runtime/ResourceStrings.h\"\n\n"
      << "namespace " << names.space << " {\n\n";
  for (const Entry& entry : entries)
    out << "inline constexpr ::lx::framework::TResStringRec " << entry.name << "{0, "
        << entry.identifier << "};\n";
  out << "\n/// Links the table's texts into the program's resources; later calls do nothing.\n"
      << "void Register" << names.tableName << "();\n\n}  // namespace " << names.space << "\n";
  return out.str();
}

std::string Source(const std::vector<Entry>& entries, const Names& names) {
  std::ostringstream out;
  out << "// Generated by lx_add_string_table from " << BaseName(names.table)
      << ": edit that file instead.\n#include \"" << names.include << "\"\n\n"
      << "#include <array>\n#include <cstddef>\n#include <cstdint>\n#include <span>\n\n"
      << "#include \"platform/Resources.h\"\n\nnamespace {\n\n"
      << "struct Entry {\n  const char* type;\n  const char* name;\n  const char* text;\n"
      << "  std::size_t size;\n};\n\n";
  std::size_t count = 0;
  for (const Entry& entry : entries)
    count += entry.plural.empty() ? 1 : 2;
  out << "constexpr std::array<Entry, " << count << "> kEntries{{\n";
  // A plural is a resource of its own type under the same identifier.
  for (const Entry& entry : entries) {
    out << "    {\"STRING\", \"" << entry.identifier << "\", " << Literal(entry.text) << ", "
        << entry.text.size() << "},\n";
    if (!entry.plural.empty())
      out << "    {\"STRINGPLURAL\", \"" << entry.identifier << "\", " << Literal(entry.plural)
          << ", " << entry.plural.size() << "},\n";
  }
  out << "}};\n\n"
      << "bool RegisterEntries() {\n"
      << "  for (const Entry& entry : kEntries)\n"
      << "    lx::platform::RegisterResource(\n"
      << "        entry.type, entry.name,\n"
      << "        std::span(reinterpret_cast<const std::uint8_t*>(entry.text), entry.size));\n"
      << "  return true;\n}\n\n}  // namespace\n\n"
      << "void " << names.space << "::Register" << names.tableName << "() {\n"
      << "  [[maybe_unused]] static const bool registered = RegisterEntries();\n}\n\n"
      << "// A program's own table is there before main; a library's table once its\n"
      << "// library calls the function above (the linker may drop this object otherwise).\n"
      << "namespace {\n[[maybe_unused]] const bool registeredAtStart = (" << names.space
      << "::Register" << names.tableName << "(), true);\n}  // namespace\n";
  return out.str();
}

void Write(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) throw std::runtime_error(path + ": error: cannot write the file");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 7) {
    std::cerr << "usage: lx_stringtable <table> <header> <source> <TableName> <namespace> "
                 "<include>\n";
    return 2;
  }
  try {
    const Names names{argv[1], argv[4], argv[5], argv[6]};
    const std::vector<Entry> entries = ReadTable(names.table);
    Write(argv[2], Header(entries, names));
    Write(argv[3], Source(entries, names));
  } catch (const std::exception& error) {
    std::cerr << error.what() << '\n';
    return 1;
  }
  return 0;
}

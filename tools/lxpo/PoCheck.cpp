#include "PoCheck.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <tuple>

#include "TextMarks.h"
#include "platform/CodePages.h"
#include "pldimage/PldText.h"

namespace lx::tools {
namespace {

// A text in a message, on one line as PO writes it.
std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '\n')
      quoted += "\\n";
    else if (c == '\r')
      quoted += "\\r";
    else if (c == '\t')
      quoted += "\\t";
    else if (c == '"' || c == '\\')
      quoted += std::string("\\") + c;
    else
      quoted += c;
  }
  return quoted + "\"";
}

// Collects the findings of one file.
class Checker {
 public:
  explicit Checker(const std::string& path) : path_(path) {}

  void Add(const PoEntry& entry, bool error, const std::string& what) {
    std::string where = path_;
    if (entry.line > 0) where += ":" + std::to_string(entry.line);
    result_.findings.push_back({where, error, KeyOf(entry) + ": " + what});
    ++(error ? result_.errors : result_.warnings);
  }

  static std::string KeyOf(const PoEntry& entry) {
    const std::string msgctxt = MsgctxtOf(entry.context, entry.id);
    return (msgctxt.empty() ? std::string() : "msgctxt " + Quoted(msgctxt) + " ") + "msgid " +
           Quoted(entry.msgid);
  }

  CheckResult Result() { return std::move(result_); }

 private:
  const std::string& path_;
  CheckResult result_;
};

std::string PlaceholderList(const std::vector<Placeholder>& placeholders) {
  if (placeholders.empty()) return "none";
  std::string list;
  for (const Placeholder& placeholder : placeholders) {
    if (!list.empty()) list += " ";
    list += "%" + std::to_string(placeholder.index) + ":" + placeholder.type;
  }
  return list;
}

void CheckPlaceholders(const PoEntry& entry, Checker& checker) {
  if (!IsFormatText(entry.msgid)) return;
  std::vector<Placeholder> native = *Placeholders(entry.msgid);
  const auto translated = Placeholders(entry.msgstr);
  if (!translated) {
    checker.Add(entry, true, "the translation has a \"%\" that starts no placeholder");
    return;
  }
  std::vector<Placeholder> mine = *translated;
  std::sort(native.begin(), native.end());
  std::sort(mine.begin(), mine.end());
  if (native != mine)
    checker.Add(entry, true,
                "the placeholders differ: " + PlaceholderList(native) + " in the native text, " +
                    PlaceholderList(mine) + " in the translation");
}

void CheckHotKeys(const PoEntry& entry, Checker& checker) {
  const std::size_t native = HotKeys(entry.msgid).size();
  const std::size_t mine = HotKeys(entry.msgstr).size();
  if (native == 0 && mine > 0)
    checker.Add(entry, false, "a hot key where the native text has none");
  else if (native > 0 && mine == 0)
    checker.Add(entry, true, "no hot key where the native text has one");
  else if (native > 0 && mine > 1)
    checker.Add(entry, true, std::to_string(mine) + " hot keys where the native text has one");
}

std::size_t LeadingSpace(std::string_view text) {
  const std::size_t at = text.find_first_not_of(" \t\r\n");
  return at == std::string_view::npos ? text.size() : at;
}

std::string_view Leading(std::string_view text) {
  return text.substr(0, LeadingSpace(text));
}

std::string_view Trailing(std::string_view text) {
  const std::size_t at = text.find_last_not_of(" \t\r\n");
  return at == std::string_view::npos ? text : text.substr(at + 1);
}

void CheckSpacing(const PoEntry& entry, Checker& checker) {
  const std::string_view native = entry.msgid;
  const std::string_view mine = entry.msgstr;
  if (Leading(native) != Leading(mine))
    checker.Add(entry, false, "the leading white space differs from the native text's");
  if (Trailing(native) != Trailing(mine))
    checker.Add(entry, false, "the trailing white space differs from the native text's");
  const auto breaks = [](std::string_view text) {
    return std::count(text.begin(), text.end(), '\n');
  };
  if (breaks(native) != breaks(mine))
    checker.Add(entry, false,
                "line breaks differ: " + std::to_string(breaks(native)) + " in the native text, " +
                    std::to_string(breaks(mine)) + " in the translation");
}

void CheckCodePage(const PoEntry& entry, int codePage, Checker& checker) {
  if (codePage == 0) return;
  const std::string character = UnwritableCharacter(entry.msgstr, codePage);
  if (!character.empty())
    checker.Add(entry, true,
                "msgstr holds " + character + ", which code page " + std::to_string(codePage) +
                    " cannot carry");
}

bool IsTranslated(const PoEntry& entry) {
  return !entry.fuzzy && !entry.msgstr.empty() && !entry.msgid.empty();
}

// ---- Hot-key clashes

bool IsName(std::string_view part) {
  return !part.empty() && std::all_of(part.begin(), part.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
  });
}

// The parent path of a caption's component path ("Form.Menu.FileItem" of
// "Form.Menu.FileItem.OpenItem.Caption"); empty when the comment is none.
std::string CaptionGroup(const std::string& comment) {
  const std::string suffix = ".Caption";
  if (comment.size() <= suffix.size() ||
      comment.compare(comment.size() - suffix.size(), suffix.size(), suffix) != 0)
    return std::string();
  const std::string path = comment.substr(0, comment.size() - suffix.size());
  std::size_t start = 0;
  for (std::size_t dot = path.find('.'); dot != std::string::npos; dot = path.find('.', start)) {
    if (!IsName(std::string_view(path).substr(start, dot - start))) return std::string();
    start = dot + 1;
  }
  if (!IsName(std::string_view(path).substr(start)) || start == 0) return std::string();
  return path.substr(0, start - 1);
}

// The text the program shows for the entry.
const std::string& Shown(const PoEntry& entry) {
  return IsTranslated(entry) ? entry.msgstr : entry.msgid;
}

void CheckClashes(const std::vector<PoEntry>& entries, const std::string& path, Checker& checker) {
  // The first entry of each (form, group, hot key).
  std::map<std::tuple<std::string, std::string, std::string>, const PoEntry*> first;
  for (const PoEntry& entry : entries) {
    const std::vector<std::string> keys = HotKeys(Shown(entry));
    if (keys.size() != 1) continue;
    for (const std::string& comment : entry.comments) {
      const std::string group = CaptionGroup(comment);
      if (group.empty()) continue;
      const auto [place, added] =
          first.emplace(std::make_tuple(entry.context, group, keys[0]), &entry);
      const PoEntry& other = *place->second;
      if (added || &other == &entry || (!IsTranslated(entry) && !IsTranslated(other))) continue;
      std::string at = path;
      if (other.line > 0) at += ":" + std::to_string(other.line);
      checker.Add(entry, false,
                  "the hot key " + Quoted(keys[0]) + " of " + Quoted(Shown(entry)) +
                      " is also that of " + Quoted(Shown(other)) + " (" + Checker::KeyOf(other) +
                      ", " + at + ") in " + group);
    }
  }
}

}  // namespace

std::string UnwritableCharacter(const std::string& text, int codePage) {
  const std::u16string wide = detail::Utf8ToUtf16(text);
  const auto page = static_cast<platform::CodePage>(codePage);
  if (platform::CanEncode(wide, page)) return std::string();
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const bool pair = wide[i] >= 0xD800 && wide[i] < 0xDC00 && i + 1 < wide.size();
    const std::u16string_view one(wide.data() + i, pair ? 2 : 1);
    if (!platform::CanEncode(one, page)) {
      char32_t code = wide[i];
      if (pair) code = 0x10000 + ((code - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
      char name[16];
      std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(code));
      return name;
    }
    if (pair) ++i;
  }
  return "a character";
}

CheckResult CheckEntries(const std::vector<PoEntry>& entries, const std::string& path,
                         int codePage) {
  Checker checker(path);
  for (const PoEntry& entry : entries) {
    if (!IsTranslated(entry)) continue;
    CheckPlaceholders(entry, checker);
    CheckHotKeys(entry, checker);
    CheckSpacing(entry, checker);
    CheckCodePage(entry, codePage, checker);
  }
  CheckClashes(entries, path, checker);
  return checker.Result();
}

std::string FindingText(const CheckFinding& finding) {
  return finding.where + (finding.error ? ": error: " : ": warning: ") + finding.message;
}

std::string CheckSummary(const std::string& path, const CheckResult& result) {
  auto count = [](int n, const char* what) {
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
  };
  return path + ": " + count(result.errors, "error") + ", " + count(result.warnings, "warning");
}

}  // namespace lx::tools

#include "PoExtract.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string_view>
#include <tuple>

#include "FitCheck.h"
#include "formtools/FormBatch.h"
#include "formtools/StandInForm.h"
#include "formtools/ToolForm.h"
#include "framework/controls/Controls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/rtti/TypInfo.h"
#include "framework/streaming/Filer.h"
#include "framework/streaming/Streams.h"
#include "framework/streaming/TextForm.h"
#include "lang/LxDictionary.h"
#include "lang/LxRecords.h"
#include "platform/CodePages.h"
#include "pldimage/PldText.h"
#include "toolfiles/ToolFiles.h"
#include "translator/LxPoly.h"

extern const char* const kLxpoFrameworkStrings;

namespace lx::tools {
namespace {

constexpr std::size_t kMaxSourceSize = 64u << 20;

// ---- Forms

// An open dictionary with context keys and no translations: the pass asks it for every
// text and finds none, so every text stays native and is remembered in the table.
class TEmptyDictionary : public lang::TLxDictionary {
 public:
  TEmptyDictionary() : TLxDictionary(nullptr) {
    native_.Validate();
    SetContextKeys(true);
  }
  int GetLanguageCount() override { return 1; }
  void GetLanguage(int, lang::TLxLanguage& dest) override { dest.Assign(native_); }
  int GetLocaleCount() override { return 0; }
  void GetLocale(int, lang::TLxLocale&) override {}
  bool Translate(const std::string&, const std::string&, std::string&,
                 const std::string&) override {
    return false;
  }
  bool TranslateWord(const std::string&, std::string&) override { return false; }

 private:
  lang::TLxLanguage native_{0, 0, 1252, "", "Native", "", "", 0, {}};
};

std::string HintOf(framework::TObject* object) {
  if (object == nullptr) return std::string();
  try {
    if (const framework::TPropInfo* hint = framework::GetPropInfo(*object, "Hint"))
      return framework::GetStrProp(*object, *hint);
  } catch (const platform::Exception&) {
  }
  return std::string();
}

// The names from the form down to `object`: through the parent controls, or the parent items
// and the menu, so that the siblings of a control or a menu item share all but the last.
std::string ParentPath(const framework::TComponent& root, framework::TObject* object) {
  std::vector<std::string> names;
  if (auto* item = dynamic_cast<framework::TMenuItem*>(object)) {
    for (; item != nullptr && item->Parent() != nullptr; item = item->Parent())
      names.push_back(item->Name());
    if (item != nullptr && item->GetParentMenu() != nullptr)
      names.push_back(item->GetParentMenu()->Name());
  } else if (auto* control = dynamic_cast<framework::TControl*>(object)) {
    for (; control != nullptr && control != &root; control = control->Parent())
      names.push_back(control->Name());
  } else if (auto* component = dynamic_cast<framework::TComponent*>(object);
             component != nullptr && component != &root) {
    names.push_back(component->Name());
  }
  std::string path = root.Name();
  for (auto name = names.rbegin(); name != names.rend(); ++name)
    path += "." + *name;
  return path;
}

// "MainForm.Panel1.OpenButton.Caption", the component path of a text, for translators and
// for the hot-key check among siblings.
std::string ComponentPath(const framework::TComponent& root,
                          const translator::TLxTranslatorTableItem& item) {
  std::string path = ParentPath(root, item.Control);
  if (path == root.Name() && !item.ComponentName.empty()) path += "." + item.ComponentName;
  return path + "." + item.PropertyName;
}

std::string ToUtf8(const std::string& text, int codePage) {
  return detail::Utf16ToUtf8(
      platform::MultiByteToWide(text, static_cast<platform::CodePage>(codePage)));
}

// ---- Lines of a text form

std::string_view Trimmed(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const std::size_t last = line.find_last_not_of(" \t\r");
  return line.substr(first, last - first + 1);
}

// The component a line "object Name: TClass" (or "inherited", "inline") opens; "" without a
// name. False when the line opens none.
bool OpensComponent(std::string_view line, std::string& name) {
  static constexpr std::string_view kKeywords[] = {"object ", "inherited ", "inline "};
  bool opens = false;
  for (bool more = true; more;) {
    more = false;
    for (const std::string_view keyword : kKeywords) {
      if (line.substr(0, keyword.size()) == keyword) {
        line = Trimmed(line.substr(keyword.size()));
        opens = more = true;
      }
    }
  }
  if (!opens) return false;
  const std::size_t colon = line.find(':');
  name =
      colon == std::string_view::npos ? std::string() : std::string(Trimmed(line.substr(0, colon)));
  return true;
}

// Where each component and each of its own properties starts in a text form, so that a
// reference can name the line a translator finds the text on.
class FormLines {
 public:
  explicit FormLines(const std::vector<std::uint8_t>& form) {
    if (IsBinaryForm(form)) return;
    text_ = true;
    // What is open: a component (its name), or a collection or an item of one ("").
    std::vector<std::pair<bool, std::string>> open;
    std::string_view rest(reinterpret_cast<const char*>(form.data()), form.size());
    for (int number = 1; !rest.empty(); ++number) {
      const std::size_t end = std::min(rest.find('\n'), rest.size());
      const std::string_view line = Trimmed(rest.substr(0, end));
      rest.remove_prefix(std::min(end + 1, rest.size()));
      Scan(line, number, open);
    }
  }

  /// The root component's name; "" for a binary form.
  const std::string& Root() const { return root_; }

  /// "file:line" of the property (or of its first sub-property: "Items" is written
  /// "Items.Strings"), else of the component, else the file alone (a binary form, a text
  /// that comes from the ancestor).
  std::string Reference(const std::string& file, const std::string& component,
                        const std::string& property) const {
    if (!text_) return file;
    if (const auto found = properties_.find({component, property}); found != properties_.end())
      return file + ":" + std::to_string(found->second);
    const auto sub = properties_.lower_bound({component, property + "."});
    if (sub != properties_.end() && sub->first.first == component &&
        sub->first.second.starts_with(property + "."))
      return file + ":" + std::to_string(sub->second);
    if (const auto found = components_.find(component); found != components_.end())
      return file + ":" + std::to_string(found->second);
    return file;
  }

 private:
  void Scan(std::string_view line, int number, std::vector<std::pair<bool, std::string>>& open) {
    std::string name;
    if (line.empty() || line[0] == '\'' || line[0] == '#') return;
    if (OpensComponent(line, name)) {
      if (open.empty()) root_ = name;
      open.emplace_back(true, name);
      components_.emplace(name, number);
    } else if (line == "item") {
      open.emplace_back(false, std::string());
    } else if (line == "end" || line == "end>") {
      if (!open.empty()) open.pop_back();
      if (line == "end>" && !open.empty() && !open.back().first) open.pop_back();
    } else if (const std::size_t equals = line.find(" = "); equals != std::string_view::npos) {
      const std::string property(Trimmed(line.substr(0, equals)));
      if (!open.empty() && open.back().first)
        properties_.emplace(std::make_pair(open.back().second, property), number);
      // A collection opens with "Name = <" and closes with "end>" (or at once, "<>").
      if (line.ends_with("<")) open.emplace_back(false, std::string());
    }
  }

  bool text_ = false;
  std::string root_;
  std::map<std::string, int> components_;
  std::map<std::pair<std::string, std::string>, int> properties_;
};

// ---- String tables

struct TableLine {
  std::string name;
  unsigned long identifier = 0;
  std::string text;
  std::string plural;  // a second text: the native plural
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string UnescapeQuoted(std::string_view line, std::size_t& at) {
  std::string text;
  ++at;  // the opening quote
  while (at < line.size() && line[at] != '"') {
    char c = line[at++];
    if (c == '\\') {
      if (at >= line.size()) throw PoError("unfinished escape");
      const char code = line[at++];
      switch (code) {
        case 'n':
          c = '\n';
          break;
        case 'r':
          c = '\r';
          break;
        case 't':
          c = '\t';
          break;
        case '\\':
        case '"':
          c = code;
          break;
        case 'x': {
          const int high = at < line.size() ? HexDigit(line[at]) : -1;
          const int low = at + 1 < line.size() ? HexDigit(line[at + 1]) : -1;
          if (high < 0 || low < 0) throw PoError("\\x needs two hex digits");
          c = static_cast<char>(high * 16 + low);
          at += 2;
          break;
        }
        default:
          throw PoError(std::string("unknown escape \\") + code);
      }
    }
    text += c;
  }
  if (at >= line.size()) throw PoError("the text has no closing quote");
  ++at;
  return text;
}

// One line of a table; false for a blank or comment line.
bool ParseTableLine(std::string_view line, TableLine& entry) {
  std::size_t at = line.find_first_not_of(" \t\r");
  if (at == std::string_view::npos || line[at] == '#') return false;
  const std::size_t nameEnd = line.find_first_of(" \t", at);
  if (nameEnd == std::string_view::npos) throw PoError("a name, an identifier and a text expected");
  entry.name = std::string(line.substr(at, nameEnd - at));
  at = line.find_first_not_of(" \t", nameEnd);
  const std::size_t numberEnd = at == std::string_view::npos ? at : line.find_first_of(" \t", at);
  if (numberEnd == std::string_view::npos)
    throw PoError("a name, an identifier and a text expected");
  const std::string number(line.substr(at, numberEnd - at));
  if (number.empty() || number.size() > 5 ||
      number.find_first_not_of("0123456789") != std::string::npos || std::stoul(number) > 0xFFFF)
    throw PoError("the identifier must be a number from 0 to 65535");
  entry.identifier = std::stoul(number);
  at = line.find_first_not_of(" \t", numberEnd);
  if (at == std::string_view::npos || line[at] != '"') throw PoError("a quoted text expected");
  entry.text = UnescapeQuoted(line, at);
  at = line.find_first_not_of(" \t\r", at);
  if (at != std::string_view::npos && line[at] == '"') entry.plural = UnescapeQuoted(line, at);
  return true;
}

// ---- Fixed texts

// The English texts of the system menu's standard items; the translator looks them up by
// the text alone, whatever the language of the running system.
constexpr const char* kSystemMenuTexts[][2] = {
    {"SC_SIZE", "&Size"},
    {"SC_MOVE", "&Move"},
    {"SC_MINIMIZE", "Mi&nimize"},
    {"SC_MAXIMIZE", "Ma&ximize"},
    {"SC_NEXTWINDOW", "&Next"},
    {"SC_PREVWINDOW", "&Previous"},
    {"SC_CLOSE", "&Close"},
    {"SC_VSCROLL", "&Vertical Scroll"},
    {"SC_HSCROLL", "&Horizontal Scroll"},
    {"SC_MOUSEMENU", "&Mouse"},
    {"SC_KEYMENU", "&Key"},
    {"SC_ARRANGE", "&Arrange"},
    {"SC_RESTORE", "&Restore"},
    {"SC_TASKLIST", "&Task List"},
    {"SC_SCREENSAVE", "&Screen Saver"},
    {"SC_HOTKEY", "&Hot Key"},
    {"SC_DEFAULT", "&Default"},
    {"SC_MONITORPOWER", "&Monitor Power"},
};

// The framework's key names and modifier prefixes: the shortcut texts look them up by the
// text alone.
bool IsShortCutKeyName(const std::string& name) {
  return name.rfind("Smkc", 0) == 0;
}

std::vector<PoEntry> SystemMenuEntries() {
  std::vector<PoEntry> entries;
  for (const auto& [command, text] : kSystemMenuTexts) {
    PoEntry entry;
    entry.msgid = text;
    entry.references.push_back(std::string("SystemMenu:") + command);
    entries.push_back(std::move(entry));
  }
  return entries;
}

// Appends `more`, merging entries whose key is already there.
void Merge(std::vector<PoEntry>& entries,
           std::map<std::tuple<std::string, std::string, std::string>, std::size_t>& index,
           std::vector<PoEntry> more) {
  for (PoEntry& entry : more) {
    const auto key = std::make_tuple(entry.context, entry.id, entry.msgid);
    const auto [place, added] = index.emplace(key, entries.size());
    if (added) {
      entries.push_back(std::move(entry));
      continue;
    }
    PoEntry& first = entries[place->second];
    for (std::string& reference : entry.references)
      first.references.push_back(std::move(reference));
    for (std::string& comment : entry.comments) {
      if (std::find(first.comments.begin(), first.comments.end(), comment) == first.comments.end())
        first.comments.push_back(std::move(comment));
    }
  }
}

}  // namespace

std::vector<PoEntry> ExtractForm(const std::vector<std::uint8_t>& form,
                                 const std::string& reference, int codePage,
                                 const TFormOptions& options) {
  // Made before the form, so that the form's translator goes while its dictionary is alive.
  TEmptyDictionary dictionary;
  dictionary.Open();
  TToolForm loaded(reference, form, options);
  TStandInForm& root = loaded.Root();
  translator::TLxTranslator* formTranslator = &loaded.Translator();
  formTranslator->SetDictionary(&dictionary);
  loaded.TranslateTexts();

  std::vector<PoEntry> entries;
  const FormLines lines(form);
  const TextMeasure measure;
  const translator::TLxTranslatorTable& table = formTranslator->Table();
  for (int i = 0; i < table.Count(); ++i) {
    const translator::TLxTranslatorTableItem& item = table.Items(i);
    PoEntry entry;
    entry.context = root.ClassName();
    entry.id = item.ComponentName;
    entry.msgid = ToUtf8(item.NativeText, codePage);
    const std::string& rootName = lines.Root().empty() ? root.Name() : lines.Root();
    const std::string owner = item.ComponentName.empty() ? rootName : item.ComponentName;
    entry.references.push_back(lines.Reference(reference, owner, item.PropertyName));
    entry.comments.push_back(ComponentPath(root, item));
    entry.comments.push_back("picture: " + FormPictureName(reference, "", ""));
    if (item.PropertyName != "Hint") {
      // The limit a translator types against; hints and menus grow with their texts.
      if (const std::optional<TextRoom> room = RoomOf(item.Control, measure)) {
        entry.comments.push_back(RoomComment(*room));
        entry.flags.push_back(RoomFlag(*room));
      }
      const std::string hint = HintOf(item.Control);
      if (!hint.empty()) entry.comments.push_back("Hint: " + ToUtf8(hint, codePage));
    }
    entries.push_back(std::move(entry));
  }
  formTranslator->SetDictionary(nullptr);
  return entries;
}

std::vector<PoEntry> ExtractStringTable(const std::string& text, const std::string& reference,
                                        int codePage, bool keyNamesByText) {
  std::vector<PoEntry> entries;
  std::size_t start = 0;
  for (int lineNumber = 1; start <= text.size(); ++lineNumber) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    TableLine line;
    try {
      if (ParseTableLine(std::string_view(text).substr(start, end - start), line) &&
          !line.text.empty()) {
        PoEntry entry;
        entry.msgid = ToUtf8(line.text, codePage);
        if (!line.plural.empty()) {
          entry.msgidPlural = ToUtf8(line.plural, codePage);
          entry.msgstrPlural.assign(2, std::string());
        }
        entry.references.push_back(reference + ":" + std::to_string(lineNumber));
        entry.comments.push_back(line.name);
        entries.push_back(std::move(entry));
        if (!keyNamesByText || !IsShortCutKeyName(line.name))
          entries.back().id = std::to_string(line.identifier);
      }
    } catch (const PoError& error) {
      throw PoError(reference + ":" + std::to_string(lineNumber) + ": " + error.Message());
    }
    start = end + 1;
  }
  return entries;
}

std::vector<PoEntry> ExtractTemplate(const ExtractSources& sources) {
  std::vector<PoEntry> entries;
  std::map<std::tuple<std::string, std::string, std::string>, std::size_t> index;
  const TFormOptions options{std::nullopt, sources.ancestors};
  for (const TFormFile& form : FormFilesOf(sources.forms)) {
    std::vector<PoEntry> formEntries;
    try {
      formEntries = ExtractForm(ReadInputFile(form.path, kMaxSourceSize), form.name,
                                sources.codePage, options);
    } catch (const ToolFileError& error) {
      if (sources.failures == nullptr || !form.inFolder) throw;
      sources.failures->push_back(error.Message());
      continue;
    } catch (const PoError& error) {
      if (sources.failures == nullptr || !form.inFolder) throw;
      sources.failures->push_back(error.Message());
      continue;
    } catch (...) {
      if (sources.failures == nullptr || !form.inFolder) {
        try {
          throw;
        } catch (const platform::Exception& error) {
          throw PoError(InputName(form.path) + ": " + error.Message());
        }
      }
      sources.failures->push_back(FailureLine(form.path));
      continue;
    }
    Merge(entries, index, std::move(formEntries));
  }
  for (const std::string& table : sources.stringTables) {
    const std::vector<std::uint8_t> bytes = ReadInputFile(table, kMaxSourceSize);
    const std::string name = std::filesystem::path(table).filename().string();
    Merge(entries, index,
          ExtractStringTable(std::string(bytes.begin(), bytes.end()), name, sources.codePage));
  }
  if (sources.framework) {
    Merge(entries, index,
          ExtractStringTable(kLxpoFrameworkStrings, "FrameworkStrings.strings", sources.codePage,
                             true));
    Merge(entries, index, SystemMenuEntries());
  }
  return entries;
}

}  // namespace lx::tools

#include "TsFile.h"

#include <sstream>

#include "XmlText.h"

namespace lx::tools {
namespace {

std::string Attribute(const char* name, std::string_view value) {
  return std::string(" ") + name + "=\"" + XmlEscaped(value, true) + "\"";
}

std::string Element(const char* name, std::string_view text, const std::string& attributes = {}) {
  return std::string("        <") + name + attributes + ">" + XmlEscaped(text) + "</" + name +
         ">\n";
}

void AppendMessage(std::string& out, const PoEntry& entry) {
  out += "    <message>\n";
  for (const std::string& reference : entry.references) {
    std::string file;
    std::string line;
    SplitReference(reference, file, line);
    out += "        <location" + Attribute("filename", file);
    if (!line.empty()) out += Attribute("line", line);
    out += "/>\n";
  }
  out += Element("source", entry.msgid);
  const std::string msgctxt = MsgctxtOf(entry.context, entry.id);
  if (!msgctxt.empty()) out += Element("comment", msgctxt);
  std::string comments;
  for (const std::string& comment : entry.comments)
    comments += (comments.empty() ? "" : "\n") + comment;
  if (!comments.empty()) out += Element("extracomment", comments);
  const bool unfinished = entry.msgstr.empty() || entry.fuzzy;
  out += Element("translation", entry.msgstr, unfinished ? " type=\"unfinished\"" : "");
  out += "    </message>\n";
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);)
    lines.push_back(line);
  return lines;
}

// The key of a message: its context's name and its comment, or, in a context without a name,
// the comment as msgctxt.
void ReadKey(const std::string& context, const XmlNode* message, PoEntry& entry,
             const std::string& where) {
  const std::string comment = TextOf(ChildOf(message, "comment"));
  if (!context.empty()) {
    entry.context = context;
    entry.id = comment;
  } else if (!comment.empty() && !SplitMsgctxt(comment, entry.context, entry.id)) {
    throw PoError(where + ": the key \"" + comment + "\" does not parse: \"context|id\" expected");
  }
}

}  // namespace

std::string WriteTs(const std::vector<PoEntry>& entries, std::string_view sourceLanguage,
                    std::string_view language) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n<TS version=\"2.1\"";
  if (!language.empty()) out += Attribute("language", language);
  out += Attribute("sourcelanguage", sourceLanguage) + ">\n<context>\n    <name></name>\n";
  for (const PoEntry& entry : entries)
    AppendMessage(out, entry);
  out += "</context>\n</TS>\n";
  return out;
}

std::vector<PoEntry> ReadTs(const std::string& path, PoReadCounts& counts, bool keepFuzzy) {
  const XmlDocument document(path);
  const XmlNode* root = document.Root();
  if (NameOf(root) != "TS") throw PoError(document.Where(root) + ": not a TS file");
  std::vector<PoEntry> entries;
  for (const XmlNode* context : ChildrenOf(root, "context")) {
    const std::string name = TextOf(ChildOf(context, "name"));
    for (const XmlNode* message : ChildrenOf(context, "message")) {
      const std::string where = document.Where(message);
      if (AttributeOf(message, "numerus") == "yes")
        throw PoError(where +
                      ": plural messages are not supported (the dictionary has no plurals)");
      const XmlNode* translation = ChildOf(message, "translation");
      const std::string type = AttributeOf(translation, "type");
      if (type == "vanished" || type == "obsolete") {
        ++counts.obsolete;
        continue;
      }
      PoEntry entry;
      entry.msgid = TextOf(ChildOf(message, "source"));
      entry.msgstr = TextOf(translation);
      entry.fuzzy = type == "unfinished" && !entry.msgstr.empty();
      entry.line = LineOf(message);
      ReadKey(name, message, entry, where);
      for (const XmlNode* location : ChildrenOf(message, "location")) {
        const std::string file = AttributeOf(location, "filename");
        const std::string line = AttributeOf(location, "line");
        if (!file.empty()) entry.references.push_back(line.empty() ? file : file + ":" + line);
      }
      entry.comments = Lines(TextOf(ChildOf(message, "extracomment")));
      if (entry.fuzzy && !keepFuzzy) {
        ++counts.fuzzy;
        continue;
      }
      entries.push_back(std::move(entry));
    }
  }
  return entries;
}

}  // namespace lx::tools

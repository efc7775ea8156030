#include "XliffFile.h"

#include "XmlText.h"

namespace lx::tools {
namespace {

const char* const kNamespace12 = "urn:oasis:names:tc:xliff:document:1.2";
const char* const kNamespace20 = "urn:oasis:names:tc:xliff:document:2.0";

std::string Attribute(const char* name, std::string_view value) {
  return std::string(" ") + name + "=\"" + XmlEscaped(value, true) + "\"";
}

std::string Element(const std::string& indent, const char* name, std::string_view text,
                    const std::string& attributes = {}) {
  return indent + "<" + name + attributes + ">" + XmlEscaped(text) + "</" + name + ">\n";
}

// ---- Writing

void AppendUnit12(std::string& out, const PoEntry& entry, const std::string& id) {
  const std::string msgctxt = MsgctxtOf(entry.context, entry.id);
  out += "      <trans-unit" + Attribute("id", id);
  if (!msgctxt.empty()) out += Attribute("resname", msgctxt);
  // translate-toolkit takes a unit that is not approved as fuzzy.
  if (!entry.msgstr.empty() && !entry.fuzzy) out += " approved=\"yes\"";
  out += " xml:space=\"preserve\">\n";
  out += Element("        ", "source", entry.msgid);
  if (!entry.msgstr.empty())
    out += Element("        ", "target", entry.msgstr,
                   Attribute("state", entry.fuzzy ? "needs-review-translation" : "translated"));
  for (const std::string& reference : entry.references) {
    std::string file;
    std::string line;
    SplitReference(reference, file, line);
    out += "        <context-group purpose=\"location\">\n";
    out += Element("          ", "context", file, Attribute("context-type", "sourcefile"));
    if (!line.empty())
      out += Element("          ", "context", line, Attribute("context-type", "linenumber"));
    out += "        </context-group>\n";
  }
  if (!msgctxt.empty()) {
    out += "        <context-group name=\"key\">\n";
    out +=
        Element("          ", "context", msgctxt, Attribute("context-type", "x-gettext-msgctxt"));
    out += "        </context-group>\n";
  }
  for (const std::string& comment : entry.comments)
    out += Element("        ", "note", comment, Attribute("from", "developer"));
  out += "      </trans-unit>\n";
}

void AppendUnit20(std::string& out, const PoEntry& entry, const std::string& id) {
  const std::string msgctxt = MsgctxtOf(entry.context, entry.id);
  out += "    <unit" + Attribute("id", id);
  if (!msgctxt.empty()) out += Attribute("name", msgctxt);
  out += ">\n";
  if (!entry.references.empty() || !entry.comments.empty()) {
    out += "      <notes>\n";
    for (const std::string& reference : entry.references)
      out += Element("        ", "note", reference, Attribute("category", "location"));
    for (const std::string& comment : entry.comments)
      out += Element("        ", "note", comment, Attribute("category", "developer"));
    out += "      </notes>\n";
  }
  const char* state = entry.msgstr.empty() || entry.fuzzy ? "initial" : "translated";
  out += "      <segment" + Attribute("state", state) + ">\n";
  out += Element("        ", "source", entry.msgid, " xml:space=\"preserve\"");
  if (!entry.msgstr.empty())
    out += Element("        ", "target", entry.msgstr, " xml:space=\"preserve\"");
  out += "      </segment>\n    </unit>\n";
}

// ---- Reading

struct Unit {
  PoEntry entry;
  std::string msgctxt;
  bool keyed = false;
  bool fuzzy = false;
};

void SetKey(Unit& unit, const std::string& msgctxt) {
  unit.msgctxt = msgctxt;
  unit.keyed = true;
}

// A unit from another tool may carry its key only in its id.
void KeyFromId(Unit& unit, const XmlNode* node) {
  if (unit.keyed) return;
  const std::string id = AttributeOf(node, "id");
  if (id.find('|') != std::string::npos) SetKey(unit, id.substr(0, id.rfind('#')));
}

Unit ReadUnit12(const XmlNode* node) {
  Unit unit;
  unit.entry.msgid = TextOf(ChildOf(node, "source"));
  const XmlNode* target = ChildOf(node, "target");
  unit.entry.msgstr = TextOf(target);
  const std::string state = AttributeOf(target, "state");
  unit.fuzzy = !unit.entry.msgstr.empty() && (state == "new" || state.starts_with("needs-"));
  for (const XmlNode* group : ChildrenOf(node, "context-group")) {
    std::string file;
    std::string line;
    for (const XmlNode* context : ChildrenOf(group, "context")) {
      const std::string type = AttributeOf(context, "context-type");
      if (type == "x-gettext-msgctxt") SetKey(unit, TextOf(context));
      if (type == "sourcefile") file = TextOf(context);
      if (type == "linenumber") line = TextOf(context);
    }
    if (AttributeOf(group, "purpose") == "location" && !file.empty())
      unit.entry.references.push_back(line.empty() ? file : file + ":" + line);
  }
  bool named = false;
  const std::string resname = AttributeOf(node, "resname", &named);
  if (named && !unit.keyed) SetKey(unit, resname);
  KeyFromId(unit, node);
  for (const XmlNode* note : ChildrenOf(node, "note")) {
    const std::string from = AttributeOf(note, "from");
    if (from != "translator" && from != "po-translator")
      unit.entry.comments.push_back(TextOf(note));
  }
  return unit;
}

Unit ReadUnit20(const XmlNode* node) {
  Unit unit;
  std::string state;
  bool hasTarget = false;
  for (const XmlNode* part : ChildrenOf(node)) {
    const std::string name = NameOf(part);
    if (name != "segment" && name != "ignorable") continue;
    if (name == "segment" && state.empty()) state = AttributeOf(part, "state");
    unit.entry.msgid += TextOf(ChildOf(part, "source"));
    if (const XmlNode* target = ChildOf(part, "target")) {
      unit.entry.msgstr += TextOf(target);
      hasTarget = true;
    }
  }
  if (state.empty()) state = "initial";
  unit.fuzzy = hasTarget && !unit.entry.msgstr.empty() && state == "initial";
  for (const XmlNode* note : ChildrenOf(ChildOf(node, "notes"), "note")) {
    const std::string category = AttributeOf(note, "category");
    if (category == "location")
      unit.entry.references.push_back(TextOf(note));
    else if (category != "translator")
      unit.entry.comments.push_back(TextOf(note));
  }
  bool named = false;
  const std::string name = AttributeOf(node, "name", &named);
  if (named) SetKey(unit, name);
  KeyFromId(unit, node);
  return unit;
}

// The units of `node`, through groups, in document order.
void CollectUnits(const XmlNode* node, const char* unitName, std::vector<const XmlNode*>& units) {
  for (const XmlNode* child : ChildrenOf(node)) {
    const std::string name = NameOf(child);
    if (name == unitName)
      units.push_back(child);
    else if (name == "group" || name == "body")
      CollectUnits(child, unitName, units);
  }
}

}  // namespace

std::string WriteXliff(const std::vector<PoEntry>& entries, std::string_view sourceLanguage,
                       std::string_view targetLanguage, XliffVersion version) {
  UnitIds ids;
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  if (version == XliffVersion::k12) {
    out += std::string("<xliff version=\"1.2\"") + Attribute("xmlns", kNamespace12) + ">\n";
    out += "  <file original=\"messages\" datatype=\"plaintext\"" +
           Attribute("source-language", sourceLanguage);
    if (!targetLanguage.empty()) out += Attribute("target-language", targetLanguage);
    out += ">\n    <body>\n";
    for (const PoEntry& entry : entries)
      AppendUnit12(out, entry, ids.Next(MsgctxtOf(entry.context, entry.id)));
    out += "    </body>\n  </file>\n</xliff>\n";
    return out;
  }
  out += std::string("<xliff") + Attribute("xmlns", kNamespace20) + " version=\"2.0\"" +
         Attribute("srcLang", sourceLanguage);
  if (!targetLanguage.empty()) out += Attribute("trgLang", targetLanguage);
  out += ">\n  <file id=\"messages\">\n";
  for (const PoEntry& entry : entries)
    AppendUnit20(out, entry, ids.Next(MsgctxtOf(entry.context, entry.id)));
  out += "  </file>\n</xliff>\n";
  return out;
}

std::vector<PoEntry> ReadXliff(const std::string& path, PoReadCounts& counts, bool keepFuzzy) {
  const XmlDocument document(path);
  const XmlNode* root = document.Root();
  const std::string version = AttributeOf(root, "version");
  const bool two = version.starts_with("2.");
  if (NameOf(root) != "xliff" || (!two && !version.starts_with("1.")))
    throw PoError(document.Where(root) + ": not an XLIFF 1.2 or 2.0 file");
  std::vector<PoEntry> entries;
  for (const XmlNode* file : ChildrenOf(root, "file")) {
    std::vector<const XmlNode*> units;
    CollectUnits(file, two ? "unit" : "trans-unit", units);
    for (const XmlNode* node : units) {
      if (AttributeOf(node, "restype") == "x-gettext-domain-header") continue;
      Unit unit = two ? ReadUnit20(node) : ReadUnit12(node);
      const std::string where = document.Where(node);
      if (!unit.msgctxt.empty() && !SplitMsgctxt(unit.msgctxt, unit.entry.context, unit.entry.id))
        throw PoError(where + ": the key \"" + unit.msgctxt +
                      "\" does not parse: \"context|id\" expected");
      unit.entry.line = LineOf(node);
      unit.entry.fuzzy = unit.fuzzy;
      if (unit.fuzzy && !keepFuzzy) {
        ++counts.fuzzy;
        continue;
      }
      entries.push_back(std::move(unit.entry));
    }
  }
  return entries;
}

}  // namespace lx::tools

// XML for the translators' exchange formats (XLIFF, Qt's TS): files read with libxml2, and
// text escaped for writing.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct _xmlNode;
struct _xmlDoc;

namespace lx::tools {

using XmlNode = _xmlNode;

/// `text` as XML character data; in an attribute value (`attribute`) also quotes and line
/// breaks. "\r" is written as a character reference, so that it is read back. Raises PoError
/// "a text with the control character U+0001 cannot be written to an XML file" for the
/// characters that XML 1.0 cannot carry at all.
std::string XmlEscaped(std::string_view text, bool attribute = false);

/// Splits a reference "file:line" (a line number after the last ":"); `line` is empty when
/// the reference names a file alone.
void SplitReference(const std::string& reference, std::string& file, std::string& line);

/// Unique unit ids for keys: the msgctxt the first time, "#2", "#3"... after it for a key met
/// again, "#1", "#2"... for the empty one.
class UnitIds {
 public:
  std::string Next(const std::string& msgctxt);

 private:
  std::map<std::string, int> seen_;
};

/// A parsed XML file. Entities are not expanded and nothing is loaded from the network, so a
/// file cannot reach beyond itself.
class XmlDocument {
 public:
  /// Reads `path` ("-": standard input). Raises ToolFileError for a file that cannot be read
  /// and PoError "<path>:<line>: <what>" for text that is not well-formed XML.
  explicit XmlDocument(const std::string& path);
  ~XmlDocument();
  XmlDocument(const XmlDocument&) = delete;
  XmlDocument& operator=(const XmlDocument&) = delete;

  XmlNode* Root() const;
  /// The file's name for messages.
  const std::string& Name() const { return name_; }
  /// "<file>:<line of node>".
  std::string Where(const XmlNode* node) const;

 private:
  std::string name_;
  _xmlDoc* document_ = nullptr;
};

/// The local name of an element (without its namespace prefix).
std::string NameOf(const XmlNode* node);
/// The element children of `node` named `name` ("" for all), in order.
std::vector<XmlNode*> ChildrenOf(const XmlNode* node, std::string_view name = {});
/// The first element child named `name`; null if none.
XmlNode* ChildOf(const XmlNode* node, std::string_view name);
/// All text inside `node`, markup of inline elements left out.
std::string TextOf(const XmlNode* node);
/// The attribute's value ("" when absent); `present` tells which.
std::string AttributeOf(const XmlNode* node, const char* name, bool* present = nullptr);
/// The line `node` starts on (1-based).
int LineOf(const XmlNode* node);

}  // namespace lx::tools

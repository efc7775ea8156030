#include "XmlText.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstdio>

#include "PoFile.h"
#include "toolfiles/ToolFiles.h"

namespace lx::tools {
namespace {

constexpr std::size_t kMaxXmlFileSize = 256u << 20;

std::string Hex4(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "%04X", value);
  return text;
}

// The first error of a parse; libxml2 reports them through a handler of the thread.
void KeepFirstError(void* first, xmlErrorPtr error) {
  auto* kept = static_cast<std::string*>(first);
  if (error == nullptr || error->level < XML_ERR_ERROR || !kept->empty()) return;
  std::string message = error->message != nullptr ? error->message : "not well-formed";
  while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
    message.pop_back();
  *kept = std::to_string(error->line) + ": " + message;
}

const xmlChar* Xml(const char* text) {
  return reinterpret_cast<const xmlChar*>(text);
}

}  // namespace

std::string XmlEscaped(std::string_view text, bool attribute) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '\r':
        out += "&#13;";
        break;
      case '"':
        out += attribute ? "&quot;" : "\"";
        break;
      case '\n':
        out += attribute ? "&#10;" : "\n";
        break;
      case '\t':
        out += attribute ? "&#9;" : "\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20)
          throw PoError("a text with the control character U+" +
                        Hex4(static_cast<unsigned char>(c)) + " cannot be written to an XML file");
        out += c;
    }
  }
  return out;
}

void SplitReference(const std::string& reference, std::string& file, std::string& line) {
  const std::size_t colon = reference.rfind(':');
  if (colon != std::string::npos && colon + 1 < reference.size() &&
      reference.find_first_not_of("0123456789", colon + 1) == std::string::npos) {
    file = reference.substr(0, colon);
    line = reference.substr(colon + 1);
    return;
  }
  file = reference;
  line.clear();
}

std::string UnitIds::Next(const std::string& msgctxt) {
  int& count = seen_[msgctxt];
  ++count;
  if (msgctxt.empty()) return "#" + std::to_string(count);
  return count == 1 ? msgctxt : msgctxt + "#" + std::to_string(count);
}

XmlDocument::XmlDocument(const std::string& path) : name_(InputName(path)) {
  const std::vector<std::uint8_t> bytes = ReadInputFile(path, kMaxXmlFileSize);
  xmlParserCtxtPtr context = xmlNewParserCtxt();
  if (context == nullptr) throw PoError(name_ + ": cannot be parsed: out of memory");
  std::string first;
  xmlSetStructuredErrorFunc(&first, KeepFirstError);
  document_ = xmlCtxtReadMemory(context, reinterpret_cast<const char*>(bytes.data()),
                                static_cast<int>(bytes.size()), nullptr, nullptr,
                                XML_PARSE_NONET | XML_PARSE_BIG_LINES);
  xmlSetStructuredErrorFunc(nullptr, nullptr);
  std::string message;
  if (!first.empty())
    message = name_ + ":" + first;
  else if (document_ == nullptr || xmlDocGetRootElement(document_) == nullptr)
    message = name_ + ": no XML document";
  xmlFreeParserCtxt(context);
  if (!message.empty()) {
    if (document_ != nullptr) xmlFreeDoc(document_);
    throw PoError(message);
  }
}

XmlDocument::~XmlDocument() {
  xmlFreeDoc(document_);
}

XmlNode* XmlDocument::Root() const {
  return xmlDocGetRootElement(document_);
}

std::string XmlDocument::Where(const XmlNode* node) const {
  return name_ + ":" + std::to_string(LineOf(node));
}

std::string NameOf(const XmlNode* node) {
  return node != nullptr && node->name != nullptr ? reinterpret_cast<const char*>(node->name)
                                                  : std::string();
}

std::vector<XmlNode*> ChildrenOf(const XmlNode* node, std::string_view name) {
  std::vector<XmlNode*> children;
  for (XmlNode* child = node != nullptr ? node->children : nullptr; child != nullptr;
       child = child->next) {
    if (child->type == XML_ELEMENT_NODE && (name.empty() || NameOf(child) == name))
      children.push_back(child);
  }
  return children;
}

XmlNode* ChildOf(const XmlNode* node, std::string_view name) {
  const std::vector<XmlNode*> children = ChildrenOf(node, name);
  return children.empty() ? nullptr : children.front();
}

std::string TextOf(const XmlNode* node) {
  if (node == nullptr) return std::string();
  xmlChar* content = xmlNodeGetContent(node);
  std::string text = content != nullptr ? reinterpret_cast<const char*>(content) : "";
  xmlFree(content);
  return text;
}

std::string AttributeOf(const XmlNode* node, const char* name, bool* present) {
  xmlChar* value = xmlGetProp(node, Xml(name));
  if (present != nullptr) *present = value != nullptr;
  std::string text = value != nullptr ? reinterpret_cast<const char*>(value) : "";
  xmlFree(value);
  return text;
}

int LineOf(const XmlNode* node) {
  return static_cast<int>(xmlGetLineNo(node));
}

}  // namespace lx::tools

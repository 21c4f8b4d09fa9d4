#include "xml/dom_document.h"

#include <libxml/parser.h>

#include <climits>
#include <exception>
#include <system_error>

#include "base/files.h"
#include "base/platform.h"
#include "xml/quiet_libxml.h"

namespace morvel {
namespace {

const char kSchemaNamespace[] = "http://www.w3.org/2001/XMLSchema";

// No network, no blank text nodes, and nothing said on stderr: a broken file is
// reported by the caller, not by libxml2. Entities are left as references (no
// XML_PARSE_NOENT) and no DTD is loaded, so no external entity is ever read, and
// without XML_PARSE_HUGE the entity-expansion limits stay in force.
const int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOBLANKS | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

std::string_view AsView(const xmlChar* text) {
  return text == nullptr ? std::string_view() : std::string_view(reinterpret_cast<const char*>(text));
}

bool IsElement(const xmlNode* node) { return node != nullptr && node->type == XML_ELEMENT_NODE; }

// Compares a prefixed or plain name with a name as written, without building it.
bool SameQualifiedName(const xmlNs* ns, const xmlChar* localName, std::string_view name) {
  const std::string_view local = AsView(localName);
  if (ns == nullptr || ns->prefix == nullptr) return local == name;
  const std::string_view prefix = AsView(ns->prefix);
  return name.size() == prefix.size() + 1 + local.size() && name.substr(0, prefix.size()) == prefix &&
         name[prefix.size()] == ':' && name.substr(prefix.size() + 1) == local;
}

bool IsSchemaElement(const xmlNode* node, std::string_view localName) {
  return IsElement(node) && node->ns != nullptr && AsView(node->ns->href) == kSchemaNamespace &&
         AsView(node->name) == localName;
}

std::vector<const xmlNode*> SchemaChildren(const xmlNode* node, std::string_view localName) {
  std::vector<const xmlNode*> result;
  for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
    if (IsSchemaElement(child, localName)) result.push_back(child);
  }
  return result;
}

}  // namespace

void TDOMDocumentFree::operator()(xmlDoc* doc) const noexcept { xmlFreeDoc(doc); }

TDOMDocument LoadDOMDocument(const std::filesystem::path& fileName, xmlNode*& root) {
  const TQuietLibxml quiet;
  root = nullptr;
  // The bytes are read here rather than by libxml2, so that the name is always a
  // local file: never a URL, never a compressed file that libxml2 would unpack.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(fileName, ec)) return TDOMDocument();
  std::optional<std::string> bytes;
  try {
    bytes = ReadFileBytes(fileName);
  } catch (const std::exception&) {
    // The stream library reports some read failures by raising; a file that cannot
    // be read is simply not loaded.
    return TDOMDocument();
  }
  if (!bytes || bytes->empty() || bytes->size() > static_cast<std::size_t>(INT_MAX)) return TDOMDocument();
  xmlInitParser();
  const std::string url = PathToUtf8(fileName);
  TDOMDocument doc(xmlReadMemory(bytes->data(), static_cast<int>(bytes->size()), url.c_str(), nullptr,
                                 kParseOptions));
  if (!doc) return doc;
  root = xmlDocGetRootElement(doc.get());
  if (root == nullptr) doc.reset();
  return doc;
}

std::string DOMNodeName(const xmlNode* node) {
  if (node == nullptr) return std::string();
  std::string name;
  if (node->ns != nullptr && node->ns->prefix != nullptr) {
    name = AsView(node->ns->prefix);
    name += ':';
  }
  name += AsView(node->name);
  return name;
}

xmlNode* DOMFirstDescendant(const xmlNode* node, std::string_view name) {
  if (node == nullptr) return nullptr;
  // Pre-order walk without recursion: down to the first child, else to the next
  // sibling, else up until an ancestor below `node` has one.
  const xmlNode* current = node->children;
  while (current != nullptr) {
    if (IsElement(current) && SameQualifiedName(current->ns, current->name, name)) {
      return const_cast<xmlNode*>(current);
    }
    if (IsElement(current) && current->children != nullptr) {
      current = current->children;
      continue;
    }
    while (current != nullptr && current != node && current->next == nullptr) current = current->parent;
    if (current == nullptr || current == node) return nullptr;
    current = current->next;
  }
  return nullptr;
}

std::vector<xmlNode*> DOMChildElements(const xmlNode* node, std::string_view name) {
  std::vector<xmlNode*> result;
  if (node == nullptr) return result;
  for (xmlNode* child = node->children; child != nullptr; child = child->next) {
    if (IsElement(child) && SameQualifiedName(child->ns, child->name, name)) result.push_back(child);
  }
  return result;
}

std::optional<std::string> DOMAttribute(const xmlNode* node, std::string_view name) {
  if (!IsElement(node)) return std::nullopt;
  for (const xmlAttr* attr = node->properties; attr != nullptr; attr = attr->next) {
    if (!SameQualifiedName(attr->ns, attr->name, name)) continue;
    xmlChar* value = xmlNodeListGetString(node->doc, attr->children, 1);
    std::string text(AsView(value));
    xmlFree(value);
    return text;
  }
  return std::nullopt;
}

long DOMLineNumber(const xmlNode* node) { return node == nullptr ? 0 : xmlGetLineNo(node); }

std::optional<std::vector<std::string>> SchemaEnumerationValues(const xmlNode* schemaRoot,
                                                                std::string_view typeName) {
  if (!IsSchemaElement(schemaRoot, "schema")) return std::nullopt;
  // Named simple types are global: children of xs:schema.
  for (const xmlNode* type : SchemaChildren(schemaRoot, "simpleType")) {
    if (DOMAttribute(type, "name") != typeName) continue;
    std::vector<std::string> values;
    for (const xmlNode* restriction : SchemaChildren(type, "restriction")) {
      for (const xmlNode* enumeration : SchemaChildren(restriction, "enumeration")) {
        if (std::optional<std::string> value = DOMAttribute(enumeration, "value")) values.push_back(*value);
      }
    }
    return values;
  }
  return std::nullopt;
}

}  // namespace morvel

// The DOM loader for the classifier file and the List schema: a whole document in
// libxml2's tree, read once at start-up and walked directly. The element tree of
// my_node.h serves every other input.
#pragma once

#include <libxml/tree.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvel {

struct TDOMDocumentFree {
  void operator()(xmlDoc* doc) const noexcept;
};
// Owns a loaded document; every node handed out from it lives as long as it does.
using TDOMDocument = std::unique_ptr<xmlDoc, TDOMDocumentFree>;

// Loads a local file into a DOM document. The parser never reaches the network,
// loads no external entity or DTD and keeps libxml2's limits on entity expansion.
// `root` receives the document element, or nullptr (with an empty result) when the
// file is missing, unreadable or not well-formed. Never raises for a bad file.
TDOMDocument LoadDOMDocument(const std::filesystem::path& fileName, xmlNode*& root);

// The element name as written, namespace prefix included.
std::string DOMNodeName(const xmlNode* node);

// The first element named `name` anywhere below `node`, in document order; never
// `node` itself. nullptr when there is none.
xmlNode* DOMFirstDescendant(const xmlNode* node, std::string_view name);

// The child elements named `name`, in document order.
std::vector<xmlNode*> DOMChildElements(const xmlNode* node, std::string_view name);

// The value of the attribute named exactly `name` (prefix included), with
// references replaced; nullopt when the element has no such attribute, an empty
// text when it has one with an empty value.
std::optional<std::string> DOMAttribute(const xmlNode* node, std::string_view name);

// The source line of a node as libxml2 counted it (0 when unknown).
long DOMLineNumber(const xmlNode* node);

// The enumeration values of the global simple type `typeName` of an XML Schema
// (xs:simpleType/xs:restriction/xs:enumeration/@value, in schema order), given the
// schema's document element. nullopt when `schemaRoot` is not an xs:schema element
// or the schema has no simple type of that name; an empty list for a type that
// enumerates nothing.
std::optional<std::vector<std::string>> SchemaEnumerationValues(const xmlNode* schemaRoot,
                                                                std::string_view typeName);

}  // namespace morvel

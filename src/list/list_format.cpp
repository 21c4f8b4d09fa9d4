#include "list/list_format.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlschemas.h>

#include <cstring>

#include "base/platform.h"
#include "base/text.h"
#include "xml/quiet_libxml.h"

namespace morvel {
namespace {

const char kNoComponent[] = "Не удается найти необходимый компонент для проверки формата Перечня";

struct TFirstError {
  bool have = false;
  std::string message;
  int line = 0;
  int column = 0;

  void Take(const xmlError* error) {
    if (have || error == nullptr || error->level < XML_ERR_ERROR) return;
    have = true;
    message = error->message != nullptr ? error->message : "";
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
      message.pop_back();
    }
    line = error->line;
    column = error->int2;
  }
};

#if LIBXML_VERSION >= 21200
void OnError(void* sink, const xmlError* error) { static_cast<TFirstError*>(sink)->Take(error); }
#else
void OnError(void* sink, xmlErrorPtr error) { static_cast<TFirstError*>(sink)->Take(error); }
#endif

std::vector<std::string> Lines(const std::string& path, const TFirstError& error) {
  return {"Несоответствие требуемому формату xml (" + path + "):", error.message,
          "Строка " + IntToStr(error.line) + ", позиция " + IntToStr(error.column)};
}

// The elements the List reader takes for Lists: named "Перечень" without a
// prefix, also when a default namespace is declared. A List in a namespace is
// read like any other, so it is checked like any other (and refused when the
// schema does not declare it) instead of being used unchecked.
bool IsListElement(const xmlNode* node) {
  return std::strcmp(reinterpret_cast<const char*>(node->name), "Перечень") == 0 &&
         (node->ns == nullptr || node->ns->prefix == nullptr);
}

void CollectLists(xmlNode* node, std::vector<xmlNode*>& found) {
  for (xmlNode* child = node; child != nullptr; child = child->next) {
    if (child->type != XML_ELEMENT_NODE) continue;
    if (IsListElement(child)) {
      found.push_back(child);
    }
    CollectLists(child->children, found);
  }
}

struct TDocFree {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
struct TParserFree {
  void operator()(xmlParserCtxt* ctxt) const { xmlFreeParserCtxt(ctxt); }
};
struct TValidFree {
  void operator()(xmlSchemaValidCtxt* ctxt) const { xmlSchemaFreeValidCtxt(ctxt); }
};

}  // namespace

struct TListFormatCheck::TSchema {
  xmlSchema* schema = nullptr;
  ~TSchema() {
    if (schema != nullptr) xmlSchemaFree(schema);
  }
};

TListFormatCheck::TListFormatCheck(std::filesystem::path schemaFile) : fSchemaFile(std::move(schemaFile)) {}

TListFormatCheck::~TListFormatCheck() = default;

std::vector<std::string> TListFormatCheck::Check(const std::string& path, std::size_t index) {
  try {
    if (path != fCheckedPath || fResults.empty()) {
      fResults = CheckFile(path);
      fCheckedPath = path;
    }
    if (fResults.size() == 1 && !fResults[0].empty()) return fResults[0];  // the whole file failed
    if (index + 1 < fResults.size()) return fResults[index + 1];
    return {};
  } catch (...) {
    return {kNoComponent};
  }
}

// Slot 0 holds what concerns the whole file (no schema, not well-formed); slot
// i + 1 the lines of the i-th List.
std::vector<std::vector<std::string>> TListFormatCheck::CheckFile(const std::string& path) {
  const TQuietLibxml quiet;
  if (!fSchemaTried) {
    fSchemaTried = true;
    std::unique_ptr<xmlSchemaParserCtxt, void (*)(xmlSchemaParserCtxt*)> parser(
        xmlSchemaNewParserCtxt(PathToUtf8(fSchemaFile).c_str()), xmlSchemaFreeParserCtxt);
    if (parser) {
      TFirstError ignored;
      xmlSchemaSetParserStructuredErrors(parser.get(), &OnError, &ignored);
      auto schema = std::make_unique<TSchema>();
      schema->schema = xmlSchemaParse(parser.get());
      if (schema->schema != nullptr) fSchema = std::move(schema);
    }
  }
  if (!fSchema) return {{kNoComponent}};

  std::unique_ptr<xmlParserCtxt, TParserFree> parser(xmlNewParserCtxt());
  if (!parser) return {{kNoComponent}};
  TFirstError parseError;
  // Nothing reaches the network and no external entity is read; the parse error
  // is taken from the context below.
  std::unique_ptr<xmlDoc, TDocFree> doc(
      xmlCtxtReadFile(parser.get(), path.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
  if (!doc || parser->wellFormed == 0) {
    parseError.Take(xmlCtxtGetLastError(parser.get()));
    if (!parseError.have) parseError.message = "Не удается прочитать файл";
    parseError.have = true;
    return {Lines(path, parseError)};
  }

  std::vector<xmlNode*> lists;
  CollectLists(xmlDocGetRootElement(doc.get()), lists);
  std::vector<std::vector<std::string>> results(1);
  for (xmlNode* list : lists) {
    std::unique_ptr<xmlSchemaValidCtxt, TValidFree> valid(xmlSchemaNewValidCtxt(fSchema->schema));
    if (!valid) return {{kNoComponent}};
    TFirstError error;
    xmlSchemaSetValidStructuredErrors(valid.get(), &OnError, &error);
    const int rc = xmlSchemaValidateOneElement(valid.get(), list);
    if (rc == 0) {
      results.emplace_back();
      continue;
    }
    if (!error.have) {
      error.message = "Элемент не соответствует схеме Перечня";
      error.line = static_cast<int>(xmlGetLineNo(list));
    }
    results.push_back(Lines(path, error));
  }
  return results;
}

}  // namespace morvel

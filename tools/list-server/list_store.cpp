#include "list_store.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <memory>
#include <string_view>

#ifndef MORVEL_LIST_SERVER_VERSION
#define MORVEL_LIST_SERVER_VERSION "0"
#endif

namespace morvel::listserver {
namespace {

constexpr char kAnswerRoot[] = "ОтветСервераПеречней";

struct DocFree {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocFree>;

struct CtxtFree {
  void operator()(xmlParserCtxt* ctxt) const { xmlFreeParserCtxt(ctxt); }
};

const xmlChar* X(const char* s) { return reinterpret_cast<const xmlChar*>(s); }

bool IsElement(const xmlNode* node, const char* name) {
  return node->type == XML_ELEMENT_NODE && std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

std::optional<std::string> Attr(const xmlNode* node, const char* name) {
  xmlChar* value = xmlGetProp(node, X(name));
  if (value == nullptr) return std::nullopt;
  std::string text(reinterpret_cast<const char*>(value));
  xmlFree(value);
  return text;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32) s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32) s.remove_suffix(1);
  return s;
}

std::optional<int> ParseInt(std::string_view text) {
  text = TrimBlanks(text);
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

xmlNode* FirstChildElement(xmlNode* parent, const char* name) {
  for (xmlNode* child = parent->children; child != nullptr; child = child->next) {
    if (IsElement(child, name)) return child;
  }
  return nullptr;
}

// Every "Перечень" element of the document, in document order.
std::vector<xmlNode*> ListElements(xmlNode* root) {
  std::vector<xmlNode*> found;
  xmlNode* node = root;
  while (node != nullptr) {
    if (IsElement(node, "Перечень")) found.push_back(node);
    if (node->children != nullptr && node->type == XML_ELEMENT_NODE) {
      node = node->children;
      continue;
    }
    while (node != nullptr && node != root && node->next == nullptr) node = node->parent;
    if (node == nullptr || node == root) break;
    node = node->next;
  }
  return found;
}

std::string Dump(xmlDoc* doc) {
  xmlChar* memory = nullptr;
  int size = 0;
  xmlDocDumpFormatMemoryEnc(doc, &memory, &size, "UTF-8", 1);
  std::string text;
  if (memory != nullptr) {
    text.assign(reinterpret_cast<const char*>(memory), static_cast<std::size_t>(size));
    xmlFree(memory);
  }
  return text;
}

DocPtr NewAnswer(xmlNode*& root) {
  DocPtr doc(xmlNewDoc(X("1.0")));
  root = xmlNewDocNode(doc.get(), nullptr, X(kAnswerRoot), nullptr);
  xmlDocSetRootElement(doc.get(), root);
  return doc;
}

std::string ListAnswer(xmlNode* list) {
  xmlNode* root = nullptr;
  DocPtr doc = NewAnswer(root);
  xmlNode* copy = xmlDocCopyNode(list, doc.get(), 1);
  if (copy == nullptr) return {};
  xmlAddChild(root, copy);
  return Dump(doc.get());
}

std::string Describe(const xmlError* error) {
  if (error == nullptr || error->message == nullptr) return "not a readable XML document";
  const std::string message(TrimBlanks(error->message));
  return "line " + std::to_string(error->line) + ": " + message;
}

// Request values end up in error answers; bytes that are not UTF-8, and control
// characters that XML 1.0 cannot carry, would make the answer unreadable.
std::string XmlSafe(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    if (c < 0x80) {
      length = 1;
    } else if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
    }
    bool valid = length > 0 && i + length <= text.size();
    for (std::size_t j = 1; valid && j < length; ++j) {
      valid = (static_cast<unsigned char>(text[i + j]) & 0xC0) == 0x80;
    }
    if (valid && length == 3) {
      const auto c1 = static_cast<unsigned char>(text[i + 1]);
      valid = !(c == 0xE0 && c1 < 0xA0) && !(c == 0xED && c1 >= 0xA0);  // overlong, surrogates
    }
    if (valid && length == 4) {
      const auto c1 = static_cast<unsigned char>(text[i + 1]);
      valid = !(c == 0xF0 && c1 < 0x90) && !(c == 0xF4 && c1 >= 0x90);
    }
    if (valid && length == 1 && c < 0x20 && c != '\t' && c != '\n' && c != '\r') valid = false;
    if (!valid) {
      out += '?';
      ++i;
      continue;
    }
    out.append(text.substr(i, length));
    i += length;
  }
  return out;
}

}  // namespace

void TListStore::LoadFolder(const std::filesystem::path& folder, std::ostream& problems) {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const auto& path = it->path();
    std::error_code typeError;
    if (path.extension() == ".xml" && it->is_regular_file(typeError)) files.push_back(path);
  }
  if (ec) {
    problems << "cannot read the folder " << folder.string() << ": " << ec.message() << '\n';
    return;
  }
  std::sort(files.begin(), files.end(),
            [](const auto& a, const auto& b) { return a.filename().string() < b.filename().string(); });

  for (const auto& path : files) {
    const std::string name = path.string();
    std::unique_ptr<xmlParserCtxt, CtxtFree> ctxt(xmlNewParserCtxt());
    if (!ctxt) {
      problems << "skipped " << name << ": out of memory\n";
      continue;
    }
    // Our own files, but still no network and no external entities.
    DocPtr doc(xmlCtxtReadFile(ctxt.get(), name.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOBLANKS));
    if (!doc || xmlDocGetRootElement(doc.get()) == nullptr) {
      problems << "skipped " << name << ": " << Describe(xmlCtxtGetLastError(ctxt.get())) << '\n';
      continue;
    }
    const std::vector<xmlNode*> lists = ListElements(xmlDocGetRootElement(doc.get()));
    if (lists.empty()) {
      problems << "skipped " << name << ": no element Перечень in it\n";
      continue;
    }
    int index = 0;
    for (xmlNode* list : lists) {
      ++index;
      const std::string where = name + ", Перечень №" + std::to_string(index);
      xmlNode* enterprise = FirstChildElement(list, "Предприятие");
      if (enterprise == nullptr) {
        problems << "skipped " << where << ": no element Предприятие\n";
        continue;
      }
      TServedList served;
      served.fileName = name;
      served.regNum = Attr(enterprise, "РегНомер").value_or("");
      served.regNumECP = Attr(enterprise, "РегНомерЕЦП").value_or("");
      if (served.regNum.empty() && served.regNumECP.empty()) {
        problems << "skipped " << where << ": the enterprise has neither РегНомер nor РегНомерЕЦП\n";
        continue;
      }
      const std::optional<int> year = ParseInt(Attr(list, "ОтчетныйГод").value_or(""));
      if (!year) {
        problems << "skipped " << where << ": ОтчетныйГод is missing or not a number\n";
        continue;
      }
      served.year = *year;
      const std::string monthsText = std::string(TrimBlanks(Attr(list, "ОтчетныйПериод").value_or("")));
      const std::optional<int> months = monthsText.empty() ? std::optional<int>(12) : ParseInt(monthsText);
      if (!months || *months < 0) {
        problems << "skipped " << where << ": ОтчетныйПериод is not a number of months\n";
        continue;
      }
      // 2010 was reported by half-years: its requests count them, not quarters.
      served.period = (*months == 0 ? 12 : *months) / (*year == 2010 ? 6 : 3);
      served.answer = ListAnswer(list);
      if (served.answer.empty()) {
        problems << "skipped " << where << ": the answer could not be written\n";
        continue;
      }
      fLists.push_back(std::move(served));
    }
  }
}

const TServedList* TListStore::Find(const std::string& regNum, int year, int quarter,
                                    std::optional<int> collect) const {
  for (const TServedList& list : fLists) {
    if (list.regNum != regNum && list.regNumECP != regNum) continue;
    if (list.year != year) continue;
    const bool fits = list.period == quarter || (collect && *collect <= list.period && list.period <= quarter);
    if (fits) return &list;
  }
  return nullptr;
}

std::string ServerVersion() { return std::string("Морвель, эталонный сервер перечней ") + MORVEL_LIST_SERVER_VERSION; }

std::string ErrorAnswer(const std::string& mainMessage, const std::string& explanation) {
  xmlNode* root = nullptr;
  DocPtr doc = NewAnswer(root);
  xmlNode* error = xmlNewChild(root, nullptr, X("Ошибка"), nullptr);
  // xmlNewTextChild escapes the texts, which may carry request values.
  xmlNewTextChild(error, nullptr, X("ВерсияПК"), X(ServerVersion().c_str()));
  xmlNewTextChild(error, nullptr, X("ОсновноеСообщение"), X(XmlSafe(mainMessage).c_str()));
  xmlNewTextChild(error, nullptr, X("Пояснение"), X(XmlSafe(explanation).c_str()));
  return Dump(doc.get());
}

}  // namespace morvel::listserver

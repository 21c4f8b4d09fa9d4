#include "xml/my_parser.h"

#include <libxml/SAX2.h>
#include <libxml/entities.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlversion.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/platform.h"
#include "xml/http_get.h"
#include "xml/quiet_libxml.h"

namespace morvel {
namespace {

std::string_view View(const xmlChar* s) {
  return s != nullptr ? std::string_view(reinterpret_cast<const char*>(s)) : std::string_view();
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

// Where the reader takes its bytes from: a file, or a fetched answer in memory.
struct TMyParser::TSource {
  std::ifstream file;
  std::string_view memory;
  bool fromFile = false;
  std::uint64_t bytesRead = 0;

  // Whether the bytes begin with a UTF-8 byte-order mark; reads nothing away.
  bool StartsWithUtf8Mark() {
    static constexpr std::string_view kMark = "\xEF\xBB\xBF";
    if (!fromFile) return memory.substr(0, kMark.size()) == kMark;
    char head[3] = {};
    file.read(head, sizeof head);
    const bool marked = file.gcount() == static_cast<std::streamsize>(sizeof head) &&
                        std::string_view(head, sizeof head) == kMark;
    file.clear();
    file.seekg(0);
    return marked;
  }

  int Read(char* buffer, int length) {
    if (length <= 0) return 0;
    std::size_t n = 0;
    if (fromFile) {
      file.read(buffer, length);
      if (file.bad()) return -1;
      n = static_cast<std::size_t>(file.gcount());
    } else {
      n = std::min(memory.size(), static_cast<std::size_t>(length));
      std::memcpy(buffer, memory.data(), n);
      memory.remove_prefix(n);
    }
    bytesRead += n;
    return static_cast<int>(n);
  }
};

// The state the reader's events share while one document is read: the root, the
// open element, the line counter and the character run being gathered.
class TMyParser::TBuilder {
 public:
  TBuilder(xmlParserCtxtPtr ctxt, const TSource& source) : fCtxt(ctxt), fSource(source) {}

  TMyTree TakeRoot() { return fTree.Finish(); }
  // The root element was closed: the document was read to its end.
  bool Complete() const { return fComplete; }

  // Every event receives the reader's context (the standard handlers that declare
  // entities need it); the builder travels in its private pointer, which the reader
  // also hands on to the contexts it makes for expanding entities.
  static TBuilder* Of(void* ctx) { return static_cast<TBuilder*>(static_cast<xmlParserCtxtPtr>(ctx)->_private); }

  static void OnStart(void* ctx, const xmlChar* localname, const xmlChar* prefix, const xmlChar* /*uri*/,
                      int nbNamespaces, const xmlChar** namespaces, int nbAttributes, int /*nbDefaulted*/,
                      const xmlChar** attributes) {
    TBuilder* self = Of(ctx);
    if (self == nullptr) return;
    self->Guarded([&] { self->Start(localname, prefix, nbNamespaces, namespaces, nbAttributes, attributes); });
  }

  static void OnEnd(void* ctx, const xmlChar* localname, const xmlChar* prefix, const xmlChar* /*uri*/) {
    TBuilder* self = Of(ctx);
    if (self == nullptr) return;
    self->Guarded([&] { self->End(localname, prefix); });
  }

  static void OnCharacters(void* ctx, const xmlChar* ch, int len) {
    TBuilder* self = Of(ctx);
    // Character data outside the root belongs to no element.
    if (self == nullptr || self->fTree.Open() == nullptr || len <= 0) return;
    self->Guarded([&] {
      if (!self->Produce(static_cast<std::size_t>(len))) return;
      self->fRun.append(reinterpret_cast<const char*>(ch), static_cast<std::size_t>(len));
    });
  }

  // External entities are declared as empty internal ones, so a document can never
  // make the reader open a file or an address of its choice; references to them
  // expand to nothing.
  static void OnEntityDecl(void* ctx, const xmlChar* name, int type, const xmlChar* publicId,
                           const xmlChar* systemId, xmlChar* content) {
    static xmlChar empty[] = "";
    switch (type) {
      case XML_EXTERNAL_GENERAL_PARSED_ENTITY:
        xmlSAX2EntityDecl(ctx, name, XML_INTERNAL_GENERAL_ENTITY, nullptr, nullptr, empty);
        return;
      case XML_EXTERNAL_PARAMETER_ENTITY:
        xmlSAX2EntityDecl(ctx, name, XML_INTERNAL_PARAMETER_ENTITY, nullptr, nullptr, empty);
        return;
      default:
        xmlSAX2EntityDecl(ctx, name, type, publicId, systemId, content);
    }
  }

  static xmlParserInputPtr OnResolveEntity(void* /*ctx*/, const xmlChar* /*publicId*/, const xmlChar* /*systemId*/) {
    return nullptr;
  }

#if LIBXML_VERSION >= 21200
  static void OnError(void* /*userData*/, const xmlError* /*error*/) {
#else
  static void OnError(void* /*userData*/, xmlErrorPtr /*error*/) {
#endif
    // A broken document ends the reading silently; callers see the missing elements.
  }

 private:
  struct TNameKey {
    const xmlChar* prefix;
    const xmlChar* local;
    bool operator==(const TNameKey&) const = default;
  };
  struct TNameKeyHash {
    std::size_t operator()(const TNameKey& k) const {
      return std::hash<const void*>{}(k.prefix) * 31 + std::hash<const void*>{}(k.local);
    }
  };

  // The reader interns names in its dictionary for the length of the document, so a
  // pair of name pointers identifies a written name: each one is joined and interned
  // in the tree only once.
  std::uint32_t NameOf(const xmlChar* prefix, const xmlChar* local) {
    auto [it, added] = fNames.try_emplace(TNameKey{prefix, local}, 0);
    if (added) {
      std::string text;
      if (prefix != nullptr) {
        text = View(prefix);
        text += ':';
      }
      text += View(local);
      it->second = fTree.Name(text);
    }
    return it->second;
  }

  template <typename F>
  void Guarded(F f) {
    try {
      f();
    } catch (...) {
      // Nothing may unwind through the C reader; end the reading with what we have.
      xmlStopParser(fCtxt);
    }
  }

  // The reader stops the classic exponential entity bombs, but not a large entity
  // referenced many times, which can turn a small document into gigabytes of text or
  // millions of elements. Without entities a tree holds at most about three times the
  // document's size in text (a windows-1251 byte may become three UTF-8 bytes), and
  // an element takes at least four bytes of the document (<a/>), which is why one
  // counts as sixteen; anything far beyond that is an expansion attack, and the
  // reading ends there.
  bool Produce(std::size_t amount) {
    static constexpr std::uint64_t kSlack = 1u << 20;
    fProduced += amount;
    if (fProduced <= 8 * fSource.bytesRead + kSlack) return true;
    xmlStopParser(fCtxt);
    return false;
  }

  // Ends the current character run: the open element takes the run, trimmed, as
  // its text. Line breaks inside a text are CR LF, whatever the file had (the
  // reader brings them as LF).
  void EndRun() {
    if (fRun.empty()) return;
    const std::size_t firstBreak = fRun.find('\n');
    std::size_t begin = 0;
    std::size_t end = fRun.size();
    while (begin < end && IsBlank(fRun[begin])) ++begin;
    while (end > begin && IsBlank(fRun[end - 1])) --end;
    const std::string_view trimmed = std::string_view(fRun).substr(begin, end - begin);
    if (firstBreak == std::string::npos || trimmed.find('\n') == std::string_view::npos) {
      fTree.SetText(trimmed);
    } else {
      fText.clear();
      for (char c : trimmed) {
        if (c == '\n') fText += '\r';
        fText += c;
      }
      fTree.SetText(fText);
    }
    fRun.clear();
  }

  void Start(const xmlChar* localname, const xmlChar* prefix, int nbNamespaces, const xmlChar** namespaces,
             int nbAttributes, const xmlChar** attributes) {
    if (fTree.Open() != nullptr) EndRun();
    if (!Produce(kElementWeight)) return;
    const std::uint32_t name = NameOf(prefix, localname);
    fAttributes.clear();
    // Namespace declarations are attributes like any other, under their written name.
    for (int i = 0; i < nbNamespaces; ++i) {
      const std::uint32_t declName = NameOf(namespaces[2 * i] != nullptr ? kXmlns : nullptr,
                                            namespaces[2 * i] != nullptr ? namespaces[2 * i] : kXmlns);
      fAttributes.push_back({declName, View(namespaces[2 * i + 1])});
    }
    for (int i = 0; i < nbAttributes; ++i) {
      const xmlChar** a = attributes + 5 * i;  // local name, prefix, URI, value, value end
      const std::string_view value(reinterpret_cast<const char*>(a[3]), static_cast<std::size_t>(a[4] - a[3]));
      if (!Produce(value.size())) return;
      fAttributes.push_back({NameOf(a[1], a[0]), value});
    }
    // A repeated attribute (or a second top-level element, which the reader stops
    // before) ends the document; the tree keeps what came before.
    if (fTree.Start(name, StartTagLine(), fAttributes) == nullptr) xmlStopParser(fCtxt);
  }

  void End(const xmlChar* localname, const xmlChar* prefix) {
    if (fTree.Open() == nullptr) return;
    EndRun();
    if (fTree.OpenName() != NameOf(prefix, localname)) return;
    fTree.End();
    // Whatever follows the root element is not read.
    if (fTree.RootClosed()) {
      fComplete = true;
      xmlStopParser(fCtxt);
    }
  }

  // The line the element's start tag opens on, so that a location shown to the
  // user points at the element whatever came before it (CDATA sections, texts of
  // several lines, a missing declaration). When an element starts, the reader
  // stands inside or just after its tag, and a tag's attributes may span lines:
  // the line breaks back to the tag's '<' (which no attribute value may hold) are
  // taken off the reader's count. Elements an entity expands to are placed on the
  // line of the reference.
  int StartTagLine() const {
    if (fCtxt->inputNr > 1 && fCtxt->inputTab[0] != nullptr) return fCtxt->inputTab[0]->line;
    const xmlParserInputPtr input = fCtxt->input;
    if (input == nullptr) return 1;
    int line = input->line;
    if (input->base != nullptr && input->cur != nullptr) {
      for (const xmlChar* p = input->cur; p > input->base;) {
        --p;
        if (*p == '<') break;
        if (*p == '\n') --line;
      }
    }
    return line > 0 ? line : 1;
  }

  static constexpr const xmlChar kXmlns[] = "xmlns";
  static constexpr std::size_t kElementWeight = 16;

  xmlParserCtxtPtr fCtxt;
  const TSource& fSource;
  std::uint64_t fProduced = 0;  // bytes of text and attribute values, and the elements
  TMyTreeBuilder fTree;
  bool fComplete = false;
  std::string fRun;   // pieces of the current character run, joined
  std::string fText;  // a run with its line breaks made CR LF
  std::vector<TMyTreeBuilder::TAttribute> fAttributes;  // of the element being started
  std::unordered_map<TNameKey, std::uint32_t, TNameKeyHash> fNames;
};

TMyTree TMyParser::Run(TSource& source, bool requireComplete) {
  const TQuietLibxml quiet;
  xmlSAXHandler sax;
  std::memset(&sax, 0, sizeof sax);
  xmlSAXVersion(&sax, 2);
  // Only elements, attributes and text make the tree; the document declaration is
  // still read (its internal subset declares the entities) but nothing external is.
  sax.startElementNs = &TBuilder::OnStart;
  sax.endElementNs = &TBuilder::OnEnd;
  sax.characters = &TBuilder::OnCharacters;
  sax.ignorableWhitespace = &TBuilder::OnCharacters;
  // A CDATA section is text of the element like the text around it.
  sax.cdataBlock = &TBuilder::OnCharacters;
  sax.entityDecl = &TBuilder::OnEntityDecl;
  sax.resolveEntity = &TBuilder::OnResolveEntity;
  sax.externalSubset = nullptr;
  sax.reference = nullptr;
  sax.comment = nullptr;
  sax.processingInstruction = nullptr;
  sax.startElement = nullptr;
  sax.endElement = nullptr;
  sax.warning = nullptr;
  sax.error = nullptr;
  sax.fatalError = nullptr;
  sax.serror = &TBuilder::OnError;

  auto read = [](void* context, char* buffer, int length) -> int {
    return static_cast<TSource*>(context)->Read(buffer, length);
  };
  auto close = [](void*) -> int { return 0; };
  xmlParserCtxtPtr ctxt = xmlCreateIOParserCtxt(&sax, nullptr, read, close, &source, XML_CHAR_ENCODING_NONE);
  if (ctxt == nullptr) return nullptr;
  struct TContextFree {
    xmlParserCtxtPtr ctxt;
    TMyParser* owner;
    ~TContextFree() {
      if (ctxt->myDoc != nullptr) xmlFreeDoc(ctxt->myDoc);
      ctxt->myDoc = nullptr;
      xmlFreeParserCtxt(ctxt);
      owner->saxParser = nullptr;
    }
  } contextFree{ctxt, this};
  saxParser = ctxt;

  TBuilder builder(ctxt, source);
  ctxt->_private = &builder;
  // References are expanded by the reader; no network, no external subset, and the
  // reader's own limits on entity expansion stay on.
  int options = XML_PARSE_NOENT | XML_PARSE_NONET;
  // Only a UTF-8 writer puts a UTF-8 byte-order mark before the text, so the bytes
  // are UTF-8 whatever encoding the declaration names; read by the declaration,
  // every Cyrillic letter of such a file would come out garbled.
  if (source.StartsWithUtf8Mark()) options |= XML_PARSE_IGNORE_ENC;
  xmlCtxtUseOptions(ctxt, options);
  xmlParseDocument(ctxt);
  if (requireComplete && !builder.Complete()) return nullptr;
  return builder.TakeRoot();
}

TMyTree TMyParser::parse(const std::string& fileName) {
  try {
    TSource source;
    std::optional<std::string> body;
    if (fileName.find("http://") != std::string::npos) {
      body = HttpGet(fileName);
      if (!body) return nullptr;
      source.memory = *body;
      // A server answer cut off in the middle would otherwise pass for an answer
      // that holds fewer positions or persons; it is no document at all.
      TMyTree root = Run(source, true);
      if (!root) SetLastHttpFailure("ответ не является полным XML-документом");
      return root;
    } else {
      source.file.open(PathFromUtf8(fileName), std::ios::binary);
      if (!source.file) return nullptr;
      source.fromFile = true;
    }
    return Run(source, false);
  } catch (...) {
    return nullptr;
  }
}

TMyTree TMyParser::parseText(std::string_view bytes, bool requireComplete) {
  try {
    TSource source;
    source.memory = bytes;
    return Run(source, requireComplete);
  } catch (...) {
    return nullptr;
  }
}

TMyTree ParseXMLText(std::string_view bytes, bool requireComplete) {
  TMyParser parser;
  return parser.parseText(bytes, requireComplete);
}

TMyTree LoadXMLTree(const std::string& fileName) {
  TMyParser parser;
  return parser.parse(fileName);
}

}  // namespace morvel

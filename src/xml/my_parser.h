// Builds the element tree of a document from the events of libxml2's streaming
// (SAX2) reader.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "xml/my_node.h"

struct _xmlParserCtxt;

namespace morvel {

class TMyParser {
 public:
  TMyParser() = default;
  TMyParser(const TMyParser&) = delete;
  TMyParser& operator=(const TMyParser&) = delete;

  // Reads the document and returns its root element, or nullptr when no element
  // started. A name that contains "http://" is fetched with one GET and parsed from
  // memory; anything else is a file opened for reading. A missing file, a failed
  // request or a broken file ends the reading with the tree built so far; a fetched
  // document that is not complete and well-formed gives none. Never raises.
  TMyTree parse(const std::string& fileName);
  // Reads a document held in memory; with `requireComplete` only a document read to
  // the end of its root element gives a tree, as for a fetched answer. Never raises.
  TMyTree parseText(std::string_view bytes, bool requireComplete);

 private:
  class TBuilder;
  struct TSource;

  TMyTree Run(TSource& source, bool requireComplete);

  _xmlParserCtxt* saxParser = nullptr;  // the reader; set only while parse runs
};

}  // namespace morvel

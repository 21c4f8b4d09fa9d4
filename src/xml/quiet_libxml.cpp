#include "xml/quiet_libxml.h"

#include <libxml/globals.h>
#include <libxml/xmlversion.h>

namespace morvel {
namespace {

void IgnoreGeneric(void* /*context*/, const char* /*format*/, ...) {}

#if LIBXML_VERSION >= 21200
void IgnoreStructured(void* /*context*/, const xmlError* /*error*/) {}
#else
void IgnoreStructured(void* /*context*/, xmlErrorPtr /*error*/) {}
#endif

}  // namespace

TQuietLibxml::TQuietLibxml()
    : fGeneric(xmlGenericError),
      fGenericContext(xmlGenericErrorContext),
      fStructured(xmlStructuredError),
      fStructuredContext(xmlStructuredErrorContext) {
  xmlSetGenericErrorFunc(nullptr, &IgnoreGeneric);
  xmlSetStructuredErrorFunc(nullptr, &IgnoreStructured);
}

TQuietLibxml::~TQuietLibxml() {
  xmlSetGenericErrorFunc(fGenericContext, fGeneric);
  xmlSetStructuredErrorFunc(fStructuredContext, fStructured);
}

}  // namespace morvel

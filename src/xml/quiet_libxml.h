// libxml2 prints some of its findings (an encoding it cannot convert, an I/O
// failure) to standard error through its process-wide handlers, whatever the
// handlers of a parse say. A headless caller reads the program's standard error
// as its own, and every reader here reports bad input in its own way, so while a
// reader works those messages go nowhere.
#pragma once

#include <libxml/xmlerror.h>

namespace morvel {

// Silences libxml2's thread-wide message handlers for its lifetime and puts the
// previous ones back when it ends.
class TQuietLibxml {
 public:
  TQuietLibxml();
  ~TQuietLibxml();
  TQuietLibxml(const TQuietLibxml&) = delete;
  TQuietLibxml& operator=(const TQuietLibxml&) = delete;

 private:
  xmlGenericErrorFunc fGeneric;
  void* fGenericContext;
  xmlStructuredErrorFunc fStructured;
  void* fStructuredContext;
};

}  // namespace morvel

// Findings of a run. Every finding prints itself as HTML into the protocol: a
// one-message result as one heading line, a table result (table_result.h) as a
// numbered table under a chapter heading.
#pragma once

#include <optional>
#include <string>

#include "model/node_data.h"
#include "results/line_writer.h"

namespace morvel {

class TResult {
 public:
  virtual ~TResult() = default;

  // ChapterNum, TableNum and Name are the protocol's running chapter number,
  // table number within the chapter and current chapter name; they run through
  // the whole protocol.
  virtual void PrintResult(TLineWriter& streamWriter, int& ChapterNum, int& TableNum, std::string& Name) = 0;

  bool IsError = false;  // errors print red, warnings blue (and can be hidden)
};

// One heading line. FMessage is written as it is, so it may hold the system's
// own markup: whoever puts text from an input file, a server answer or the
// settings into a message must HTML-escape that text (HtmlEscape) first.
class TOneMessageResult : public TResult {
 public:
  // Writes the one line; the counters and the chapter name stay as they are.
  void PrintResult(TLineWriter& streamWriter, int& ChapterNum, int& TableNum, std::string& Name) override;

  std::string FMessage;
  std::string FPackNum;
  // A copy of the location the message is about, if any: the message must not
  // depend on the life of the document object it was found in.
  std::optional<TNodeData> FNodeData;
};

// A problem with an input file or the List; also a note of the verification.
class TProtocolMessage : public TOneMessageResult {
 public:
  TProtocolMessage(std::string message, bool isError);
};

// A problem with the List of one reporting year and period; the protocol prints
// it only in the part of the matching set (the List reader passes 0 and 0).
class TListError : public TProtocolMessage {
 public:
  TListError(std::string message, int year, int period, const TNodeData* node, bool isError);

  int FYear;
  int FPeriod;
};

// The kinds of List error the List reader tells apart.
class TBadPeriodListError : public TListError {
 public:
  using TListError::TListError;
};
class TBadPositionListError : public TListError {
 public:
  using TListError::TListError;
};
class TNoNameListListError : public TListError {
 public:
  using TListError::TListError;
};
class TNoPeopleInNameListListError : public TListError {
 public:
  using TListError::TListError;
};
class TWrongPeriod : public TListError {
 public:
  using TListError::TListError;
};

}  // namespace morvel

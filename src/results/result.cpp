#include "results/result.h"

namespace morvel {

void TOneMessageResult::PrintResult(TLineWriter& streamWriter, int& /*ChapterNum*/, int& /*TableNum*/,
                                    std::string& /*Name*/) {
  if (IsError) {
    streamWriter.WriteLine("<h3 style=\"color:red\"><b>" + FMessage + "</b></h3>");
  } else {
    streamWriter.WriteLine("<h3 class=\"warn\" style=\"color:blue\"><b>" + FMessage + "</b></h3>");
  }
}

TProtocolMessage::TProtocolMessage(std::string message, bool isError) {
  FMessage = std::move(message);
  IsError = isError;
}

TListError::TListError(std::string message, int year, int period, const TNodeData* node, bool isError)
    : TProtocolMessage(std::move(message), isError), FYear(year), FPeriod(period) {
  if (node != nullptr) FNodeData = *node;
}

}  // namespace morvel

#include "results/result_record.h"

#include "base/text.h"

namespace morvel {

void TResultRecord::TagData() {
  if (FWorkPeriod_PD) FWorkPeriod_PD->IsResultData = true;
  if (FWorker_PD) FWorker_PD->IsResultData = true;
  if (FWorkPeriod_List) FWorkPeriod_List->IsResultData = true;
  if (FWorker_List) FWorker_List->IsResultData = true;
  if (FPosition) FPosition->IsResultData = true;
  if (FAddTariffPayment) FAddTariffPayment->IsResultData = true;
}

void TResultRecord::PrintRow(TLineWriter& streamWriter, const std::vector<std::string>& values) {
  streamWriter.WriteLine("<tr>");
  for (const std::string& value : values) streamWriter.WriteLine("<td>" + value + "</td>");
  streamWriter.WriteLine("</tr>");
}

std::string TResultRecord::StripBr(std::string_view text, std::string_view separator) {
  return Trim(ReplaceAllAsciiCI(text, "<br>", separator));
}

}  // namespace morvel

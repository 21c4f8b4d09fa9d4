// Rows of table results and the tie between a finding and the domain objects it
// is about.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/add_tariff_payment.h"
#include "model/node_data.h"
#include "model/position.h"
#include "model/work_period.h"
#include "model/worker.h"
#include "results/line_writer.h"

namespace morvel {

// Which side a finding concerns, for records that serve two tables or two cases.
enum class TResultType { rtPD = 0, rtList = 1, rtNoLgot = 2, rtNoPayments = 3 };

// Where the data behind a record stands: its pack (empty for the List) and an
// own copy of the location.
class TUCPData {
 public:
  TUCPData(std::string packNum, const TNodeData* ucpNodeData)
      : FPackNum(std::move(packNum)), FUcpNodeData(ucpNodeData) {}

  std::string FPackNum;
  TNodeData FUcpNodeData;
};

// One row of a table result. The references keep what they refer to alive for
// as long as the record lives, so a row can still be printed after its set has
// let go of its persons and periods; TagData marks them so the set's first
// release leaves them for the protocol.
class TResultRecord {
 public:
  TResultRecord(const TResultRecord&) = delete;
  TResultRecord& operator=(const TResultRecord&) = delete;
  virtual ~TResultRecord() = default;

  // Writes the record's table row, through PrintRow.
  virtual void PrintLine(TLineWriter& streamWriter) = 0;
  // What the finding should have been, for the rows that tell it; empty here.
  virtual std::string GetShouldBe() const { return {}; }

  // Sets IsResultData on every domain object the record refers to.
  void TagData();

  std::unique_ptr<TUCPData> FUCPData;
  std::shared_ptr<TWorkPeriod> FWorkPeriod_PD;
  std::shared_ptr<TWorker> FWorker_PD;
  std::shared_ptr<TWorkPeriod> FWorkPeriod_List;
  std::shared_ptr<TWorker> FWorker_List;
  std::shared_ptr<TPosition> FPosition;
  std::shared_ptr<TAddTariffPayment> FAddTariffPayment;

 protected:
  TResultRecord() = default;

  // Writes "<tr>", one "<td>value</td>" line per value, "</tr>". The values are
  // written as they are, so a "<br>" of the system's own making breaks the line
  // in the cell. Every text that comes from an input file (names, numbers,
  // codes, dates as written, comments) must therefore be HTML-escaped
  // (HtmlEscape) by the concrete record when it builds its cells; only the
  // markup the system writes itself stays unescaped.
  static void PrintRow(TLineWriter& streamWriter, const std::vector<std::string>& values);
  // Replaces every "<br>", in any letter case, by `separator` and trims the
  // result.
  static std::string StripBr(std::string_view text, std::string_view separator);
};

// A record of one work period, by which the pack tables index their records.
class TResultRecordWithPeriod : public TResultRecord {
 public:
  std::shared_ptr<TWorkPeriod> FPeriod;

 protected:
  explicit TResultRecordWithPeriod(std::shared_ptr<TWorkPeriod> period) : FPeriod(std::move(period)) {}
};

}  // namespace morvel

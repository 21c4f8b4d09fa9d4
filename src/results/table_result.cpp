#include "results/table_result.h"

#include <algorithm>
#include <unordered_set>

#include "base/error.h"
#include "base/text.h"

namespace morvel {
namespace {

[[noreturn]] void IndexError(int index) {
  throw EMorvelError("List index out of bounds (" + IntToStr(index) + ")");
}

}  // namespace

TTableResult::TTableResult(std::string chapterName, std::string tableName, bool isError)
    : FChapterName(std::move(chapterName)), FTableName(std::move(tableName)) {
  IsError = isError;
}

void TTableResult::PrintResult(TLineWriter& w, int& ChapterNum, int& TableNum, std::string& Name) {
  if (Name != FChapterName) {
    ++ChapterNum;
    TableNum = 1;
    Name = FChapterName;
    w.WriteLine("<h3 style=\"text-align:center\">" + IntToStr(ChapterNum) + ". " + Name + "</h3>");
  } else {
    ++TableNum;
  }
  w.WriteLine("<b>Таблица " + IntToStr(ChapterNum) + "." + IntToStr(TableNum) + " " + FTableName + "</b><br/>");
  w.WriteLine("<table id=\"" + ClassName() + "\" width=\"100%\" border=\"1\">");
  for (const THeaderRow& row : FHeaderData) {
    w.WriteLine(" <tr style=\"text-align:center;font-weight:bold\">");
    for (const THeaderData& cell : row) {
      w.WriteLine(" <td colspan=\"" + cell.ColSpan + "\"  rowspan=\"" + cell.RowSpan + "\">" + cell.Name + "</td>");
    }
    w.WriteLine(" </tr>");
  }
  for (const auto& record : FRecords) record->PrintLine(w);
  w.WriteLine("</table>");
  const std::string colour = IsError ? "red" : "blue";
  const std::string word = IsError ? "ОШИБОК" : "ПРЕДУПРЕЖДЕНИЙ";
  w.WriteLine("<div style=\"color: " + colour + "\"><b>ИТОГО " + word + ": " + IntToStr(Count()) +
              "</b></div><br/>");
}

void TTableResult::AddRecord(std::unique_ptr<TResultRecord> record) {
  if (record) FRecords.push_back(std::move(record));
}

TResultRecord& TTableResult::GetRecord(int index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return *FRecords[static_cast<std::size_t>(index)];
}

void TTableResult::DeleteRecord(int index) {
  if (index < 0 || index >= Count()) IndexError(index);
  const auto at = FRecords.begin() + index;
  RecordLeaving(**at);
  FRecords.erase(at);
}

void TTableResult::DeleteRecord(const TResultRecord* record) {
  const auto at = std::find_if(FRecords.begin(), FRecords.end(), [&](const auto& r) { return r.get() == record; });
  if (at == FRecords.end()) return;
  RecordLeaving(**at);
  FRecords.erase(at);
}

void TTableResult::DeleteRecordsIf(const std::function<bool(const TResultRecord&)>& doomed) {
  const auto kept = std::remove_if(FRecords.begin(), FRecords.end(), [&](const std::unique_ptr<TResultRecord>& r) {
    if (!doomed(*r)) return false;
    RecordLeaving(*r);
    return true;
  });
  FRecords.erase(kept, FRecords.end());
}

void TTableResult::ClearRecords() {
  FRecords.clear();
  RecordsCleared();
}

void TTableResult::TagRecords() {
  for (const auto& record : FRecords) record->TagData();
}

void TTableResultWithPeriod::AddRecord(std::unique_ptr<TResultRecord> record) {
  if (!record) return;
  if (const auto* withPeriod = dynamic_cast<const TResultRecordWithPeriod*>(record.get());
      withPeriod != nullptr && withPeriod->FPeriod) {
    std::string key = withPeriod->FPeriod->GetKey();
    Dict[key].push_back(record.get());
    fKeyOf[record.get()] = std::move(key);
  }
  TTableResult::AddRecord(std::move(record));
}

void TTableResultWithPeriod::RecordLeaving(const TResultRecord& record) {
  const auto known = fKeyOf.find(&record);
  if (known == fKeyOf.end()) return;
  const auto entry = Dict.find(known->second);
  if (entry != Dict.end()) {
    auto& list = entry->second;
    list.erase(std::remove(list.begin(), list.end(), &record), list.end());
  }
  fKeyOf.erase(known);
}

void TTableResultWithPeriod::RecordsCleared() {
  Dict.clear();
  fKeyOf.clear();
}

std::vector<std::unique_ptr<TResultRecord>> TTableResultWithPeriod::ExtractKey(const std::string& key) {
  std::vector<std::unique_ptr<TResultRecord>> taken;
  const auto entry = Dict.find(key);
  if (entry == Dict.end()) return taken;
  const std::unordered_set<const TResultRecord*> wanted(entry->second.begin(), entry->second.end());
  std::vector<std::unique_ptr<TResultRecord>> kept;
  kept.reserve(FRecords.size());
  for (auto& record : FRecords) {
    if (wanted.count(record.get()) != 0) {
      fKeyOf.erase(record.get());
      taken.push_back(std::move(record));
    } else {
      kept.push_back(std::move(record));
    }
  }
  FRecords = std::move(kept);
  Dict.erase(entry);
  return taken;
}

void TTableResultWithPeriod::MoveKeyTo(const std::string& key, TTableResult& target) {
  if (&target == this) return;
  for (auto& record : ExtractKey(key)) target.AddRecord(std::move(record));
}

}  // namespace morvel

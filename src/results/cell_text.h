// Cell texts shared by the concrete result records.
//
// Rows are written without escaping (the system's own "<br>" joins must stay
// markup), so every text that comes from an input file goes through Esc when a
// record builds its cells, piece by piece, before any markup is joined in.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "model/work_period.h"
#include "model/worker.h"
#include "results/result_record.h"
#include "results/table_result.h"

namespace morvel::cells {

inline std::string Esc(std::string_view text) { return HtmlEscape(text); }

// The escaped field of a person or period that may be missing (an empty cell
// then), e.g. CellOf(worker, &TWorker::SN).
template <class TOwner, class TText>
std::string CellOf(const TOwner* owner, const TText TOwner::*field) {
  return owner != nullptr ? Esc(owner->*field) : std::string();
}

// The four person cells most tables start with: pack number, number in the
// pack, insurance number, surname with initials; empty cells without a person.
void AppendPerson(std::vector<std::string>& cells, const TWorker* worker);
// Insurance number and surname with initials only.
void AppendSnAndName(std::vector<std::string>& cells, const TWorker* worker);

// Escaped fields of a period that may be missing (an empty cell then).
std::string BeginOf(const TWorkPeriod* period);
std::string EndOf(const TWorkPeriod* period);
std::string BasesOf(const TWorkPeriod* period);
std::string CodeOf(const TWorkPeriod* period);    // the position code of the list of professions
std::string PeriodOf(const TWorkPeriod* period);  // "begin - end"

// Where a record's data stands: the person's pack number (empty without a
// person, as for the List side) and a copy of the location.
std::unique_ptr<TUCPData> PackDataOf(const TWorker* worker, const TNodeData* location);

// full - position, each written as text with the general conversion and read
// back first, so the cell shows what the two printed numbers make. The exact
// decimal difference of those two texts is printed: subtracting the doubles
// alone would turn 10.1 - 10 into 0.0999999999999996.
std::string DifferenceThroughTexts(double full, double position);

// "2 мес. 3 дн. " and the like: every part whose text is not exactly "0".
std::string WorkedTimeText(const TWorkPeriod& period);

// Header cells: a row of cells without spans, a cell over two rows, a cell
// over `count` columns.
TTableResult::THeaderRow PlainRow(std::initializer_list<const char*> names);
inline TTableResult::THeaderData TwoRows(const char* name) { return {name, "", "2"}; }
inline TTableResult::THeaderData Columns(const char* name, const char* count) { return {name, count, ""}; }

}  // namespace morvel::cells

#include "results/cell_text.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/format_settings.h"

namespace morvel::cells {
namespace {

// Digits after the decimal point of the value a number text stands for, taking
// an exponent into account ("10.25" -> 2, "1E-7" -> 7, "12" -> 0); -1 for a
// text that is not a plain number.
int DecimalPlaces(std::string_view text) {
  const char sep = FormatSettings().DecimalSeparator;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  int fraction = 0;
  bool inFraction = false;
  bool digits = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      digits = true;
      if (inFraction) ++fraction;
    } else if (c == sep && !inFraction) {
      inFraction = true;
    } else {
      break;
    }
  }
  if (!digits) return -1;
  long exponent = 0;
  if (i < text.size()) {
    if (text[i] != 'E' && text[i] != 'e') return -1;
    const std::string rest(text.substr(i + 1));
    char* end = nullptr;
    exponent = std::strtol(rest.c_str(), &end, 10);
    if (rest.empty() || *end != '\0') return -1;
  }
  const long places = fraction - exponent;
  return places < 0 ? 0 : static_cast<int>(places > 1000 ? 1000 : places);
}

}  // namespace

void AppendPerson(std::vector<std::string>& cells, const TWorker* worker) {
  cells.push_back(CellOf(worker, &TWorker::PackNum));
  cells.push_back(CellOf(worker, &TWorker::NumInPack));
  AppendSnAndName(cells, worker);
}

void AppendSnAndName(std::vector<std::string>& cells, const TWorker* worker) {
  cells.push_back(CellOf(worker, &TWorker::SN));
  cells.push_back(worker != nullptr ? Esc(worker->SurnameWithInitials()) : std::string());
}

std::string BeginOf(const TWorkPeriod* period) { return period != nullptr ? Esc(period->pBeginAsString()) : ""; }
std::string EndOf(const TWorkPeriod* period) { return period != nullptr ? Esc(period->pEndAsString()) : ""; }
std::string BasesOf(const TWorkPeriod* period) {
  return period != nullptr ? Esc(period->Bases.DelimitedText()) : "";
}

std::string CodeOf(const TWorkPeriod* period) { return period != nullptr ? Esc(period->ProfessionCode) : ""; }
std::string PeriodOf(const TWorkPeriod* period) { return period != nullptr ? Esc(period->pPeriodString()) : ""; }

std::unique_ptr<TUCPData> PackDataOf(const TWorker* worker, const TNodeData* location) {
  return std::make_unique<TUCPData>(worker != nullptr ? worker->PackNum.str() : std::string(), location);
}

std::string DifferenceThroughTexts(double full, double position) {
  const std::string fullText = FloatToStr(full);
  const std::string positionText = FloatToStr(position);
  double a = full;
  double b = position;
  if (!TryStrToFloat(fullText, a) || !TryStrToFloat(positionText, b)) return FloatToStr(full - position);
  double difference = a - b;
  // Both texts have finitely many decimals, so their exact difference has no
  // more than the longer of them; rounding there removes the binary residue.
  const int places = std::max(DecimalPlaces(fullText), DecimalPlaces(positionText));
  if (places >= 0 && places <= 30) {
    const double scale = std::pow(10.0, places);
    const double scaled = difference * scale;
    if (std::isfinite(scaled) && std::fabs(scaled) < 9.0e15) difference = std::round(scaled) / scale;
  }
  return FloatToStr(difference);
}

TTableResult::THeaderRow PlainRow(std::initializer_list<const char*> names) {
  TTableResult::THeaderRow row;
  for (const char* name : names) row.push_back({name, "", ""});
  return row;
}

std::string WorkedTimeText(const TWorkPeriod& period) {
  std::string text;
  if (period.Months != "0") text += Esc(period.Months) + " мес. ";
  if (period.Days != "0") text += Esc(period.Days) + " дн. ";
  if (period.Hours != "0") text += Esc(period.Hours) + " ч. ";
  if (period.Minutes != "0") text += Esc(period.Minutes) + " мин.";
  return text;
}

}  // namespace morvel::cells

#include "records/reading.h"

#include <charconv>
#include <cmath>

#include "base/error.h"
#include "base/text.h"

namespace morvel::reading {

TMyNode& Need(TMyNode* node, std::string_view name) {
  if (node == nullptr) throw EMorvelError("Отсутствует элемент " + std::string(name));
  return *node;
}

TMyNode& NeedChild(TMyNode& parent, const std::string& name) {
  TMyNode* child = parent.SelectSingleNode(name);
  if (child == nullptr) throw EMorvelError("Отсутствует элемент " + parent.NodeName + "/" + name);
  return *child;
}

bool TryParsePointNumber(std::string_view text, double& value) {
  const std::string t = Trim(text);
  if (t.empty()) return false;
  const char* first = t.data();
  const char* last = t.data() + t.size();
  if (*first == '+') {  // from_chars takes a minus sign only
    ++first;
    if (first == last || *first == '-') return false;
  }
  double v = 0;
  const auto [end, ec] = std::from_chars(first, last, v, std::chars_format::general);
  if (ec != std::errc() || end != last || !std::isfinite(v)) return false;
  value = v;
  return true;
}

double ParsePointNumber(std::string_view text) {
  double value = 0;
  if (!TryParsePointNumber(text, value)) {
    throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
  }
  return value;
}

}  // namespace morvel::reading

#include "records/reading.h"

#include "base/error.h"
#include "base/text.h"

namespace morvel::reading {

TMyNode& Need(TMyNode* node, std::string_view name) {
  if (node == nullptr) throw EMorvelError("Отсутствует элемент " + std::string(name));
  return *node;
}

TMyNode& NeedChild(TMyNode& parent, const std::string& name) {
  TMyNode* child = parent.SelectSingleNode(name);
  if (child == nullptr) throw EMorvelError("Отсутствует элемент " + std::string(parent.NodeName()) + "/" + name);
  return *child;
}

bool TryParsePointNumber(std::string_view text, double& value) { return TryStrToFloatPoint(text, value); }

double ParsePointNumber(std::string_view text) {
  double value = 0;
  if (!TryParsePointNumber(text, value)) {
    throw EConvertError("'" + QuotedInput(text) + "' is not a valid floating point value");
  }
  return value;
}

}  // namespace morvel::reading

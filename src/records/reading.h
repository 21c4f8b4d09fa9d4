// Small helpers of the pack readers. A reader that needs an element raises
// EMorvelError when the file lacks it, inside the guard of the person or period
// being read, so that only that person or period is reported and skipped.
#pragma once

#include <string>
#include <string_view>

#include "xml/my_node.h"

namespace morvel::reading {

// The element, or EMorvelError naming the missing one.
TMyNode& Need(TMyNode* node, std::string_view name);
// The child of that name, or EMorvelError.
TMyNode& NeedChild(TMyNode& parent, const std::string& name);

// A number written with a decimal point (the fund's files always use one,
// whatever the process's own separator is); blanks around it are allowed.
bool TryParsePointNumber(std::string_view text, double& value);
// As above, raising EConvertError.
double ParsePointNumber(std::string_view text);

}  // namespace morvel::reading

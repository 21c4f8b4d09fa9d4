#include "config/text_list.h"

#include "base/error.h"
#include "base/files.h"
#include "base/platform.h"

namespace morvel {

std::vector<std::string> LoadTextListLines(const std::string& fileName) {
  return LoadAnsiTextLines(PathFromUtf8(fileName));
}

void SaveTextListLines(const std::string& fileName, const std::vector<std::string>& lines) {
  if (!WriteFileAtomically(PathFromUtf8(fileName), JoinAnsiLines(lines))) {
    throw EMorvelError("Cannot save \"" + fileName + "\"");
  }
}

}  // namespace morvel

#include "results/line_writer.h"

namespace morvel {

std::string TMemoryLineWriter::Text(std::string_view lineBreak) const {
  std::string out;
  for (const std::string& line : Lines) {
    out += line;
    out += lineBreak;
  }
  return out;
}

}  // namespace morvel

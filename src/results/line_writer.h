// Where results write their HTML: one call per line. The protocol's writer puts
// each line into a windows-1251 file followed by CR LF; tests collect the lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morvel {

class TLineWriter {
 public:
  virtual ~TLineWriter() = default;
  virtual void WriteLine(std::string_view line) = 0;
};

// Keeps the lines in memory.
class TMemoryLineWriter : public TLineWriter {
 public:
  void WriteLine(std::string_view line) override { Lines.emplace_back(line); }
  // The lines, each followed by `lineBreak`.
  std::string Text(std::string_view lineBreak = "\n") const;

  std::vector<std::string> Lines;
};

}  // namespace morvel

// Function names for the addresses of a trace file on Windows, where the MinGW
// program carries no debug information the system's own tools can read: the
// linker's map file beside the program lists each function's address.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace morvel {

class TSymbolMap {
 public:
  // Reads a GNU ld map file; lines that name no symbol are passed over.
  static TSymbolMap Parse(std::string_view text);

  // The (demangled) function that holds the code at `offset` from the image's
  // start; empty when the map names none before it.
  std::string NameAt(std::uint64_t offset) const;

  bool Empty() const { return fSymbols.empty(); }

 private:
  std::vector<std::pair<std::uint64_t, std::string>> fSymbols;  // offset, name; by offset
};

}  // namespace morvel

// The protocol's files: every line converted to windows-1251 (characters the
// code page lacks become '?'), followed by CR LF. The writer buffers; Close
// writes the rest, so a file is read or appended to only after its writer is
// closed.
#pragma once

#include <filesystem>
#include <fstream>
#include <string_view>

#include "results/line_writer.h"

namespace morvel {

class TFileLineWriter : public TLineWriter {
 public:
  enum class TOpenMode { omCreate, omAppend };

  // Raises EMorvelError when the file cannot be opened.
  TFileLineWriter(const std::filesystem::path& file, TOpenMode mode);

  // Raises EMorvelError when the line cannot be written.
  void WriteLine(std::string_view line) override;
  // Bytes written unchanged (already windows-1251).
  void WriteBytes(std::string_view bytes);
  // Raises EMorvelError when the last bytes cannot be written.
  void Close();

  const std::filesystem::path& File() const { return fFile; }

 private:
  void Check();

  std::filesystem::path fFile;
  std::ofstream fOut;
};

}  // namespace morvel

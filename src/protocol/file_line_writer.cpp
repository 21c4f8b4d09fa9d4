#include "protocol/file_line_writer.h"

#include "base/encoding.h"
#include "base/error.h"
#include "base/platform.h"

namespace morvel {

TFileLineWriter::TFileLineWriter(const std::filesystem::path& file, TOpenMode mode) : fFile(file) {
  const std::ios::openmode openMode =
      std::ios::binary | std::ios::out | (mode == TOpenMode::omAppend ? std::ios::app : std::ios::trunc);
  fOut.open(file, openMode);
  if (!fOut) throw EMorvelError("Cannot open file \"" + PathToUtf8(file) + "\" for writing");
}

void TFileLineWriter::WriteLine(std::string_view line) {
  std::string bytes = Utf8ToCp1251(line);
  bytes += "\r\n";
  WriteBytes(bytes);
}

void TFileLineWriter::WriteBytes(std::string_view bytes) {
  // Buffered: one file is written by one writer at a time, and a protocol of a
  // large employer has hundreds of thousands of lines, each of which cost a
  // system call when flushed. Close writes the rest and tells of any failure.
  // A protocol of a large employer takes a while to write: a run asked to end
  // stops here, and the writer's owner removes the unfinished file.
  StopWhenTerminationRequested();
  fOut.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  Check();
}

void TFileLineWriter::Close() {
  if (!fOut.is_open()) return;
  fOut.close();
  Check();
}

void TFileLineWriter::Check() {
  if (fOut.fail()) throw EMorvelError("Cannot write file \"" + PathToUtf8(fFile) + "\"");
}

}  // namespace morvel

// The format check of List files against the shipped List schema. Each "Перечень"
// element is checked on its own, wherever it stands: a saved server answer wraps
// its List in the answer's root element, and one file may hold several Lists.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace morvel {

class TListFormatCheck {
 public:
  // The schema is read at the first check.
  explicit TListFormatCheck(std::filesystem::path schemaFile);
  ~TListFormatCheck();
  TListFormatCheck(const TListFormatCheck&) = delete;
  TListFormatCheck& operator=(const TListFormatCheck&) = delete;

  // The lines that describe what is wrong with the `index`-th "Перечень" element
  // of the file (counted from 0 in document order); empty when it is valid. A
  // file that is not well-formed gives its parse error for every index; without
  // a usable schema every check gives the single line
  // "Не удается найти необходимый компонент для проверки формата Перечня".
  // The results of one file are kept until another file is checked. Never raises.
  std::vector<std::string> Check(const std::string& path, std::size_t index);

 private:
  struct TSchema;
  std::vector<std::vector<std::string>> CheckFile(const std::string& path);

  std::filesystem::path fSchemaFile;
  std::unique_ptr<TSchema> fSchema;
  bool fSchemaTried = false;
  std::string fCheckedPath;
  std::vector<std::vector<std::string>> fResults;
};

}  // namespace morvel

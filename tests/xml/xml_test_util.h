// Reading small documents written by the tests.
#pragma once

#include <memory>
#include <string>

#include "support/test_support.h"
#include "xml/my_node.h"

namespace morvel::test {

// Writes the bytes to a file of a fresh folder and reads it into a tree.
inline TMyTree ParseText(const std::string& bytes) {
  TempDir dir;
  const auto file = dir / "doc.xml";
  WriteFile(file, bytes);
  return LoadXMLTree(file.string());
}

}  // namespace morvel::test

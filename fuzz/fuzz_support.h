// What every fuzz target shares: the classifiers the readers consult, loaded
// once per process, and a private folder for the inputs that are read from files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

#include "config/classifiers.h"

namespace morvel::fuzz {

inline const TClassifiers& Classifiers() {
  static const TClassifiers classifiers = [] {
    TClassifiers c;
    const std::filesystem::path data(MORVEL_DATA_DIR);
    LoadClassifierFiles(c, data / "perech-vlmr.xsd", data / "perech-vlmr-additional.xml", [](const std::string&) {});
    return c;
  }();
  return classifiers;
}

// A folder of this process's own, made on first use.
inline const std::filesystem::path& WorkFolder() {
  static const std::filesystem::path folder = [] {
    std::filesystem::path f = std::filesystem::temp_directory_path() / ("morvel-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(f);
    return f;
  }();
  return folder;
}

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace morvel::fuzz

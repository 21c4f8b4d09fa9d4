// Base of every class that writes to the log.
#pragma once

#include <exception>
#include <string>

namespace morvel {

class TLoggingObject {
 public:
  virtual ~TLoggingObject() = default;
  virtual void Log(const std::string& entry, bool isError = false);
  // Logs the exception with its stack-trace file.
  virtual void LogError(const std::exception& e);
};

}  // namespace morvel

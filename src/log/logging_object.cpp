#include "log/logging_object.h"

#include "log/logger.h"

namespace morvel {

void TLoggingObject::Log(const std::string& entry, bool isError) {
  TSingleton::GetInstance<TLogger>().AddEntry(entry, isError);
}

void TLoggingObject::LogError(const std::exception& e) {
  TSingleton::GetInstance<TLogger>().LogException(e);
}

}  // namespace morvel

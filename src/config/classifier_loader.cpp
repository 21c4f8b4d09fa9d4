#include "config/classifiers.h"

namespace morvel {

// Placeholder until the classifier reader lands: the document counts as not loaded.
bool LoadClassifierFiles(TClassifiers&, const std::filesystem::path&, const std::filesystem::path&,
                         const TClassifierLog&) {
  return false;
}

}  // namespace morvel

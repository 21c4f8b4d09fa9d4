// The progress callback through which the searcher and the pipeline report.
#pragma once

#include <functional>
#include <string>

namespace morvel {

using TProgressUpdate = std::function<void(int Min, int Max, int Curr, const std::string& Messag)>;

}  // namespace morvel

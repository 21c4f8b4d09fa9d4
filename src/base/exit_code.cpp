#include "base/exit_code.h"

namespace morvel {
namespace {
int gExitCode = 0;
}

int ExitCode() { return gExitCode; }
void SetExitCode(int code) { gExitCode = code; }

}  // namespace morvel

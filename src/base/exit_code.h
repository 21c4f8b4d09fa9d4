// The process-wide exit code: stages of a run raise it to report their outcome and
// the process ends with whatever it holds.
#pragma once

namespace morvel {

int ExitCode();
void SetExitCode(int code);

}  // namespace morvel

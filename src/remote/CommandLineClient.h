#pragma once

#include <optional>

namespace campanor {

// The program's commands to the instance running for this user (--status,
// --run, --ring, --open-table, --emergency, --help). nullopt when the
// arguments hold none of them: the program then starts as usual. Otherwise
// the exit status: 0 done, 1 refused (the reason on standard error), 2 a
// command line that makes no sense, 3 no instance running for this user.
std::optional<int> runOutsideCommand(int argc, char* argv[]);

} // namespace campanor

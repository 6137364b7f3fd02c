#pragma once

#include <optional>

namespace campanor {

// `campanor --plan YYYY-MM-DD`: prints what the day holds and what will run,
// with no window and without the single-instance check, so it also works
// while the program runs. The exit status when the command line asks for it,
// else nullopt.
std::optional<int> runPlanCommand(int argc, char* argv[]);

} // namespace campanor

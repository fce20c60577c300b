#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/project_count.h"

namespace tallix::cli {

// Counts the project and prints the results to out; problems go to err, one line each.
// Returns the exit status.
int Run(const CliOptions& options, std::ostream& out, std::ostream& err);

// The same for a single project read by `readProject`: VisitProjectMembers, or a stand-in.
int RunProject(const CliOptions& options, const ProjectReader& readProject, std::ostream& out,
               std::ostream& err);

// The whole command line: the arguments without the program name in, the exit status out.
// Memory that runs out anywhere ends the run as GuardingMemory says.
int Main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Runs `run`; when memory runs out in it, on any thread, names that on err and returns
// kExitOutOfMemory instead of ending the program.
int GuardingMemory(std::ostream& err, const std::function<int()>& run);

}  // namespace tallix::cli

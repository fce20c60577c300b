#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/run.h"

namespace tallix::cli::testing {

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the command line in-process, as `tallix ARGS...`, and keeps what it printed.
inline RunResult RunCli(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    RunResult result;
    result.status = Main(args, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

}  // namespace tallix::cli::testing

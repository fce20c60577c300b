#include <csignal>

#include "cli/process_arguments.h"

namespace tallix::cli {

std::vector<std::string> ProcessArguments(int argc, char** argv) {
    // A reader that goes away (`tallix ... | head`) makes a write fail, which the run
    // reports with its own status, instead of ending the program with a signal.
    std::signal(SIGPIPE, SIG_IGN);
    return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

}  // namespace tallix::cli

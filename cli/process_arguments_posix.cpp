#include "cli/process_arguments.h"

namespace tallix::cli {

std::vector<std::string> ProcessArguments(int argc, char** argv) {
    return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

}  // namespace tallix::cli

#include <iostream>

#include "cli/process_arguments.h"
#include "cli/run.h"

int main(int argc, char** argv) {
    return tallix::cli::Main(tallix::cli::ProcessArguments(argc, argv), std::cout, std::cerr);
}

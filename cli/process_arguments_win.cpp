#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include "cli/process_arguments.h"
#include "engine/text/wide_text.h"

namespace tallix::cli {

std::vector<std::string> ProcessArguments(int, char**) {
    // Output is UTF-8 (the JSON must be); let a console show it as such.
    ::SetConsoleOutputCP(CP_UTF8);
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide != nullptr && i < count; ++i) {
        args.push_back(WideToUtf8(wide[i]));
    }
    ::LocalFree(wide);
    return args;
}

}  // namespace tallix::cli

#pragma once

#include <cstdio>
#include <string>

namespace tallix {

// The program's application information, shared by the window, the command line and the
// Windows version resource.
inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 62;
inline constexpr const char* kApplicationTitle = "Tallix";
inline constexpr const char* kExecutableName = "Ordwen";

// "1.00.0062": major, minor as two digits, revision as four.
inline std::string VersionText() {
    char text[32];
    std::snprintf(text, sizeof text, "%d.%02d.%04d", kVersionMajor, kVersionMinor,
                  kVersionRevision);
    return text;
}

}  // namespace tallix

#pragma once

// The program's application information, shared by the window, the command line and the
// Windows version resource. The resource compiler reads only the macros: it defines
// RC_INVOKED and cannot parse the C++ below.
#define TALLIX_VERSION_MAJOR 1
#define TALLIX_VERSION_MINOR 0
#define TALLIX_VERSION_REVISION 62
// The same numbers as text, major, minor as two digits, revision as four; a test holds it
// to VersionText().
#define TALLIX_VERSION_TEXT "1.00.0062"
#define TALLIX_APPLICATION_TITLE "Tallix"
#define TALLIX_EXECUTABLE_NAME "Ordwen"

#ifndef RC_INVOKED

#include <cstdio>
#include <string>

namespace tallix {

inline constexpr int kVersionMajor = TALLIX_VERSION_MAJOR;
inline constexpr int kVersionMinor = TALLIX_VERSION_MINOR;
inline constexpr int kVersionRevision = TALLIX_VERSION_REVISION;
inline constexpr const char* kApplicationTitle = TALLIX_APPLICATION_TITLE;
inline constexpr const char* kExecutableName = TALLIX_EXECUTABLE_NAME;

// "1.00.0062": major, minor as two digits, revision as four.
inline std::string VersionText() {
    char text[32];
    std::snprintf(text, sizeof text, "%d.%02d.%04d", kVersionMajor, kVersionMinor,
                  kVersionRevision);
    return text;
}

}  // namespace tallix

#endif  // RC_INVOKED

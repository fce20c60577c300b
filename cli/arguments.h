#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/counting/member_count.h"
#include "engine/projects/source_kind.h"

namespace tallix::cli {

// Exit statuses of the command line; scripts rely on these numbers.
enum ExitStatus : int {
    kExitSuccess = 0,
    kExitProjectUnusable = 1,
    kExitBadUsage = 2,
    kExitMembersUnreadable = 3,
    kExitReportUnwritable = 4,
    kExitOutputUnwritable = 5,
    kExitNothingToDeposit = 6,
    kExitOutOfMemory = 7,
};

// What one run is asked to do, after the arguments have been checked.
struct CliOptions {
    std::string project;  // exactly as given on the command line
    SourceKind kind = SourceKind::Vb6;
    bool kindGiven = false;  // --vb6 or --vbnet rather than the extension
    CountOptions counting;
    bool json = false;
    bool csv = false;            // one comma-separated row per member instead of the table
    std::string report;          // where to write the five-line report too; "" for none
    bool inventory = false;      // what the projects are made of, rather than their counts
    bool csvReferences = false;  // --csv=references: the inventory's references, one a row
    // The software-copyright deposit: the PDF to write instead of printing the counts ("" for
    // none), the header's name and version when given, and every page rather than 60.
    std::string deposit;
    std::optional<std::string> softwareName;
    std::optional<std::string> softwareVersion;
    bool allPages = false;
};

// The parser never exits or prints: it says what to run, or what to print and with which
// status, so that the whole command line can be driven from tests.
struct ParseOutcome {
    std::optional<CliOptions> options;  // set when the project is to be counted
    int exitCode = kExitSuccess;
    std::string out;  // help or version text
    std::string err;  // usage error
};

// A usage error: the message, the usage line and where to read more, with status 2.
ParseOutcome BadUsage(const std::string& message);

// The arguments without the program name.
ParseOutcome ParseArguments(const std::vector<std::string>& args);

// The kind a project path implies when none is given: ".vbproj" in any letter case means
// VB.NET, everything else VB6.
SourceKind KindFromProjectPath(std::string_view path);

}  // namespace tallix::cli

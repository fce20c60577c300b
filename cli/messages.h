#pragma once

#include <string>

#include "engine/counting/member_count.h"
#include "engine/files/file_system.h"
#include "engine/projects/project_set.h"
#include "engine/projects/sdk_project.h"

namespace tallix::cli {

// Every message of the command line's runs, worded in one place. Paths and names are shown
// through ShowControls, as they may come from a hostile project file.

// A short reason for a file that could not be read, with the system's own detail when it
// gave one; "" when there was no problem. The JSON's "error" value.
std::string ProblemReason(const FileProblem& problem);

std::string ProjectMissingMessage(const std::string& project);
std::string ProjectUnreadableMessage(const std::string& project, const FileProblem& problem);
std::string MemberUnreadableMessage(const MemberCount& member);
std::string MemberUnreadableMessage(const std::string& name, const std::string& path,
                                    const FileProblem& problem);
// A deposit with no line to list: no file was written.
std::string NothingToDepositMessage(const std::string& project, const std::string& deposit);
std::string ReportUnwritableMessage(const std::string& report, const std::string& detail);
std::string OutputUnwritableMessage();
// A project a group or solution names that is not counted, and why.
std::string SkippedProjectMessage(const SkippedProject& skipped);
// A folder, group or solution that yields no project to count.
std::string NoProjectsMessage(const std::string& set, SetKind kind);
// A folder given as the set that could not be listed at all.
std::string FolderUnreadableMessage(const std::string& folder, const FileProblem& problem);
// A folder below it that could not be listed: its projects are not counted.
std::string FolderUnlistedMessage(const std::string& folder, const FileProblem& problem);
// An SDK-style project's folder that could not be listed: its files are not counted.
std::string MembersUnlistedMessage(const std::string& project, const std::string& folder,
                                   const FileProblem& problem);
// What a project's reader took without evaluating it.
std::string ProjectNoteMessage(const std::string& project, const ProjectNote& note);
// Memory ran out: the run stopped.
std::string OutOfMemoryMessage();
// The counted rows could not be read back from their temporary file.
std::string RowsLostMessage();

}  // namespace tallix::cli

#pragma once

#include <string>
#include <vector>

#include "engine/counting/ordered_counter.h"
#include "engine/files/file_system.h"
#include "engine/listing/listing.h"
#include "engine/projects/project_readers.h"
#include "engine/projects/project_set.h"

namespace tallix {

// The members of one project as a listing takes them: every name in project order, each
// found as the counters find it (OpenMember). A file the project names twice is listed
// twice, as it is counted twice.
std::vector<ListingMember> ProjectListingMembers(const std::string& project,
                                                 const std::vector<std::string>& names,
                                                 SourceKind kind,
                                                 unsigned workers = DefaultWorkers());

// The same with the folder members are found in given apart from the project file: the
// window keeps the folder of the project it last opened.
std::vector<ListingMember> FolderListingMembers(const std::string& folder,
                                                const std::string& project,
                                                const std::vector<std::string>& names,
                                                SourceKind kind,
                                                unsigned workers = DefaultWorkers());

// A project of a set with the member names its file gives.
struct NamedProject {
    SetProject project;
    FileProblem problem;  // the project file missing or unreadable: no names then
    std::vector<std::string> names;
    std::vector<FolderProblem> unlisted;  // as ReadProjectFile gives them
    std::vector<ProjectNote> notes;
};

// Reads each project file a set names (a missing one has the problem Missing).
std::vector<NamedProject> ReadSetProjects(const std::vector<SetProject>& projects);

// The members of a set's projects: in set order, each file once, at the first place any
// project names it. A file that projects of both kinds name is read by the VB.NET rules.
// Members that could not be found are all kept, with their problem, where they were named.
std::vector<ListingMember> SetListingMembers(const std::vector<NamedProject>& projects,
                                             unsigned workers = DefaultWorkers());

}  // namespace tallix

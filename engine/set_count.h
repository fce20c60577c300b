#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/file_system.h"
#include "engine/member_count.h"
#include "engine/parallel.h"
#include "engine/project_set.h"

namespace tallix {

// One project of a set, counted as a single project is.
struct CountedProject {
    SetProject project;
    FileProblem problem;               // the project file missing or unreadable: no members then
    std::vector<MemberCount> members;  // project order
    ResultTexts texts;
};

struct SetCount {
    std::vector<CountedProject> projects;  // the set's order
    // Over all projects, each member file once however many projects name it.
    std::int64_t total = 0;
    LineTally tally;
};

// Members joined to one folder, counted on up to `workers` threads; project order.
std::vector<MemberCount> CountMembers(const std::string& folder,
                                      const std::vector<std::string>& names, SourceKind kind,
                                      CountOptions options, unsigned workers = DefaultWorkers());

// Reads and counts every project, all their members on up to `workers` threads at once.
// A project file is read when the existence test finds it.
SetCount CountProjects(const std::vector<SetProject>& projects, CountOptions options,
                       unsigned workers = DefaultWorkers());

}  // namespace tallix

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/counting/member_count.h"
#include "engine/counting/ordered_counter.h"
#include "engine/projects/project_readers.h"
#include "engine/projects/project_set.h"

namespace tallix {

// What counting a set hands on, in the set's order, on the thread that counts it.
class SetCountSink {
public:
    virtual ~SetCountSink() = default;
    // A project's members follow; false stops the count before this project.
    virtual bool BeginProject(const SetProject& project) = 0;
    // Each member in project order.
    virtual void Member(const MemberCount& member) = 0;
    // How reading the project went: the problem is Missing when the existence test did not
    // find the project file, and then no member came.
    virtual void EndProject(const SetProject& project, const ProjectRead& read) = 0;
};

struct SetTotal {
    std::int64_t lines = 0;  // counted under the options
    LineTally tally;
};

// Counts every project in order, all their members on up to `workers` threads at once, and
// hands each on as soon as all before it are; members are read from each project file as
// they are counted. Holds a bounded number of members however large the set. Returns the
// grand total: see OnceOnlyTotal.
SetTotal CountSet(const std::vector<SetProject>& projects, CountOptions options, SetCountSink& sink,
                  unsigned workers = DefaultWorkers());

// Members joined to one folder, counted on up to `workers` threads; project order.
std::vector<MemberCount> CountMembers(const std::string& folder,
                                      const std::vector<std::string>& names, SourceKind kind,
                                      CountOptions options, unsigned workers = DefaultWorkers());

}  // namespace tallix

#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/counting/member_count.h"
#include "engine/counting/parallel.h"
#include "engine/files/file_system.h"
#include "engine/projects/project_set.h"

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

// Counts members as a reader names them, a batch at a time on up to `workers` threads,
// and hands each on in the order named. Holds at most one batch, however many members a
// project names, so a caller that streams its output stays within bounded memory.
class MemberBatchCounter {
public:
    using Sink = std::function<void(const MemberCount& member)>;

    MemberBatchCounter(std::string folder, SourceKind kind, CountOptions options, Sink onMember,
                       unsigned workers = DefaultWorkers(), std::size_t batchSize = 256);

    void Add(std::string name);
    // Counts and hands on what is left; call once after the last name.
    void Finish();

private:
    void CountBatch();

    std::string folder_;
    SourceKind kind_;
    CountOptions options_;
    Sink onMember_;
    unsigned workers_;
    std::size_t batchSize_;
    std::vector<std::string> names_;
    std::vector<MemberCount> counted_;
    std::vector<FileLocator> locators_;  // one per worker, kept from batch to batch
};

// Members joined to one folder, counted on up to `workers` threads; project order.
std::vector<MemberCount> CountMembers(const std::string& folder,
                                      const std::vector<std::string>& names, SourceKind kind,
                                      CountOptions options, unsigned workers = DefaultWorkers());

// Reads and counts every project, all their members on up to `workers` threads at once.
// A project file is read when the existence test finds it.
SetCount CountProjects(const std::vector<SetProject>& projects, CountOptions options,
                       unsigned workers = DefaultWorkers());

// Counts the projects ReadProjectSet finds in a folder, in its order, counting them while
// the folder is still being walked.
SetCount CountFolder(const std::string& folder, CountOptions options,
                     unsigned workers = DefaultWorkers());

}  // namespace tallix

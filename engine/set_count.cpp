#include "engine/set_count.h"

#include <algorithm>
#include <optional>
#include <set>

#include "engine/file_identity.h"
#include "engine/project_readers.h"

namespace tallix {

namespace {

struct MemberJob {
    std::size_t project;
    std::size_t member;
};

// Adds each member whose file has not been added before.
void AddOnce(SetCount& count, const std::vector<std::optional<FileIdentity>>& identities,
             const std::vector<MemberJob>& jobs) {
    std::set<FileIdentity> seenFiles;
    std::set<std::string> seenPaths;
    for (std::size_t j = 0; j < jobs.size(); ++j) {
        const MemberCount& member = count.projects[jobs[j].project].members[jobs[j].member];
        if (member.problem.error != FileError::None) {
            continue;
        }
        const bool first = identities[j] ? seenFiles.insert(*identities[j]).second
                                         : seenPaths.insert(member.path).second;
        if (!first) {
            continue;
        }
        count.total += member.lines;
        count.tally.code += member.tally.code;
        count.tally.comment += member.tally.comment;
        count.tally.blank += member.tally.blank;
    }
}

}  // namespace

MemberBatchCounter::MemberBatchCounter(std::string folder, SourceKind kind, CountOptions options,
                                       Sink onMember, unsigned workers, std::size_t batchSize)
    : folder_(std::move(folder)),
      kind_(kind),
      options_(options),
      onMember_(std::move(onMember)),
      workers_(std::max(workers, 1u)),
      batchSize_(std::max<std::size_t>(batchSize, 1)),
      locators_(workers_) {
}

void MemberBatchCounter::Add(std::string name) {
    names_.push_back(std::move(name));
    if (names_.size() == batchSize_) {
        CountBatch();
    }
}

void MemberBatchCounter::Finish() {
    if (!names_.empty()) {
        CountBatch();
    }
}

void MemberBatchCounter::CountBatch() {
    counted_.resize(names_.size());
    ParallelFor(names_.size(), workers_, [&](std::size_t i, unsigned worker) {
        counted_[i] = CountMember(folder_, names_[i], kind_, options_, locators_[worker]);
    });
    for (const MemberCount& member : counted_) {
        onMember_(member);
    }
    names_.clear();
    counted_.clear();
}

std::vector<MemberCount> CountMembers(const std::string& folder,
                                      const std::vector<std::string>& names, SourceKind kind,
                                      CountOptions options, unsigned workers) {
    std::vector<MemberCount> members;
    members.reserve(names.size());
    MemberBatchCounter counter(
        folder, kind, options, [&](const MemberCount& member) { members.push_back(member); },
        workers, std::max<std::size_t>(names.size(), 1));
    for (const std::string& name : names) {
        counter.Add(name);
    }
    counter.Finish();
    return members;
}

SetCount CountProjects(const std::vector<SetProject>& projects, CountOptions options,
                       unsigned workers) {
    SetCount count;
    count.projects.resize(projects.size());
    std::vector<std::vector<std::string>> names(projects.size());
    ParallelFor(projects.size(), workers, [&](std::size_t i, unsigned) {
        CountedProject& counted = count.projects[i];
        counted.project = projects[i];
        if (!FileExists(projects[i].path)) {
            counted.problem = {FileError::Missing, ""};
            return;
        }
        ProjectMembers read = ReadProjectFile(projects[i].path, projects[i].kind);
        counted.problem = read.problem;
        names[i] = std::move(read.names);
    });

    // All members of all projects form one queue, so that many small projects keep every
    // thread as busy as one large one.
    std::vector<MemberJob> jobs;
    std::vector<std::string> folders(projects.size());
    for (std::size_t p = 0; p < projects.size(); ++p) {
        folders[p] = ProjectFolder(projects[p].path);
        count.projects[p].members.resize(names[p].size());
        for (std::size_t m = 0; m < names[p].size(); ++m) {
            jobs.push_back({p, m});
        }
    }
    std::vector<std::optional<FileIdentity>> identities(jobs.size());
    std::vector<FileLocator> locators(std::max(workers, 1u));
    ParallelFor(jobs.size(), workers, [&](std::size_t j, unsigned worker) {
        const auto [p, m] = jobs[j];
        MemberCount& member = count.projects[p].members[m];
        member = CountMember(folders[p], names[p][m], projects[p].kind, options, locators[worker]);
        if (member.problem.error == FileError::None) {
            identities[j] = IdentifyFile(member.path);
        }
    });

    for (CountedProject& counted : count.projects) {
        counted.texts = BuildResultTexts(counted.members);
    }
    AddOnce(count, identities, jobs);
    return count;
}

}  // namespace tallix

#include "engine/counting/set_count.h"

#include <algorithm>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <set>

#include "engine/files/file_identity.h"
#include "engine/projects/project_readers.h"

namespace tallix {

namespace {

// Adds each member whose file has not been added before, in the set's order.
void AddOnce(SetCount& count) {
    std::set<FileIdentity> seenFiles;
    std::set<std::string> seenPaths;
    for (const CountedProject& project : count.projects) {
        for (const MemberCount& member : project.members) {
            if (member.problem.error != FileError::None) {
                continue;
            }
            const bool first = member.identity ? seenFiles.insert(*member.identity).second
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

namespace {

// One project while it is counted: its members are counted where they stand, each by a job
// of its own, so that many small projects keep every thread as busy as one large one.
struct ProjectInProgress {
    CountedProject counted;
    std::string folder;
};

class SetCounter {
public:
    SetCounter(CountOptions options, unsigned workers)
        : options_(options), workers_(std::max(workers, 1u)), locators_(workers_) {}

    // From any thread, before Run or from one of its jobs.
    void Add(const SetProject& project) {
        ProjectInProgress* added = nullptr;
        {
            const std::lock_guard lock(lock_);
            added = &projects_.emplace_back();  // a deque: earlier ones stay where they are
        }
        added->counted.project = project;
        added->folder = ProjectFolder(project.path);
        jobs_.Add([this, added](unsigned) { Read(*added); });
    }

    void AddJob(JobQueue::Job job) { jobs_.Add(std::move(job)); }

    // Counts everything added, in the order added.
    std::deque<ProjectInProgress> Run() {
        jobs_.Run(workers_);
        return std::move(projects_);
    }

private:
    void Read(ProjectInProgress& project) {
        CountedProject& counted = project.counted;
        if (!FileExists(counted.project.path)) {
            counted.problem = {FileError::Missing, ""};
            return;
        }
        ProjectMembers read = ReadProjectFile(counted.project.path, counted.project.kind);
        counted.problem = read.problem;
        counted.members.resize(read.names.size());
        for (std::size_t m = 0; m < read.names.size(); ++m) {
            counted.members[m].name = std::move(read.names[m]);
            jobs_.Add([this, &project, m](unsigned worker) { Count(project, m, worker); });
        }
    }

    void Count(ProjectInProgress& project, std::size_t m, unsigned worker) {
        MemberCount& member = project.counted.members[m];
        const std::string name = std::move(member.name);
        member = CountMember(project.folder, name, project.counted.project.kind, options_,
                             locators_[worker]);
    }

    CountOptions options_;
    unsigned workers_;
    std::vector<FileLocator> locators_;  // one per worker
    JobQueue jobs_;
    std::mutex lock_;
    std::deque<ProjectInProgress> projects_;
};

SetCount Finish(std::vector<CountedProject> projects) {
    SetCount count;
    count.projects = std::move(projects);
    for (CountedProject& counted : count.projects) {
        counted.texts = BuildResultTexts(counted.members);
    }
    AddOnce(count);
    return count;
}

}  // namespace

SetCount CountProjects(const std::vector<SetProject>& projects, CountOptions options,
                       unsigned workers) {
    SetCounter counter(options, workers);
    for (const SetProject& project : projects) {
        counter.Add(project);
    }
    std::vector<CountedProject> counted;
    for (ProjectInProgress& project : counter.Run()) {
        counted.push_back(std::move(project.counted));
    }
    return Finish(std::move(counted));
}

SetCount CountFolder(const std::string& folder, CountOptions options, unsigned workers) {
    SetCounter counter(options, workers);
    std::vector<std::string> found;
    // The walk is a job too: the other threads count the projects it finds while it goes on.
    counter.AddJob([&](unsigned) {
        WalkProjectFiles(folder, [&](const std::string& relative) {
            found.push_back(relative);
            const std::string path = FolderProjectPath(folder, relative);
            counter.Add({path, KindOfProjectFile(path)});
        });
    });
    std::map<std::string, CountedProject> byPath;
    for (ProjectInProgress& project : counter.Run()) {
        std::string path = project.counted.project.path;
        byPath.emplace(std::move(path), std::move(project.counted));
    }
    // The same order, and the same file taken once, as when the folder is read first.
    std::vector<CountedProject> counted;
    for (const SetProject& project : OrderFolderProjects(folder, std::move(found))) {
        counted.push_back(std::move(byPath.at(project.path)));
    }
    return Finish(std::move(counted));
}

}  // namespace tallix

#include "engine/inventory/set_inventory.h"

#include <algorithm>
#include <deque>
#include <map>
#include <memory>

namespace tallix {

namespace {

// A counted member on its way through the ordered counter. The counter hands on what it
// counted only as a MemberCount; the inventory travels in the job, which the member's
// place is, and is taken in the order the jobs were added.
struct MemberJob : CountPlace {
    MemberJob(CountPlace place, ListedMember member, CountOptions countOptions)
        : CountPlace(std::move(place)), listed(std::move(member)), options(countOptions) {}

    ListedMember listed;
    CountOptions options;
    mutable InventoryMember result;  // written by the thread that reads the member
};

// Which files more than one entry names.
class SharedFiles {
public:
    void Add(const std::string& project, const InventoryMember& member) {
        if (!member.count.identity) {
            return;
        }
        const auto [at, added] = byIdentity_.emplace(*member.count.identity, files_.size());
        if (added) {
            files_.push_back({member.count.path, {}, 0});
        }
        SharedFile& file = files_[at->second];
        ++file.named;
        if (std::find(file.projects.begin(), file.projects.end(), project) == file.projects.end()) {
            file.projects.push_back(project);
        }
    }

    std::vector<SharedFile> Result() const {
        std::vector<SharedFile> shared;
        std::copy_if(files_.begin(), files_.end(), std::back_inserter(shared),
                     [](const SharedFile& file) { return file.named > 1; });
        return shared;
    }

private:
    std::vector<SharedFile> files_;
    std::map<FileIdentity, std::size_t> byIdentity_;
};

// Gathers what the counter hands on into projects, and the projects into the set.
class SetGathering {
public:
    SetGathering(CountOptions options,
                 const std::function<void(const ProjectInventory&)>& onProject)
        : options_(options), onProject_(onProject), set_(options) {}

    void BeginProject(const SetProject& project) {
        current_ = ProjectInventory{project, {}, {}, {}};
    }

    // The next counted member, which is the oldest job.
    void CountedMember() {
        std::shared_ptr<const MemberJob> job = std::move(jobs_.front());
        jobs_.pop_front();
        current_.members.push_back(std::move(job->result));
    }

    void ListedMember(InventoryMember member) { current_.members.push_back(std::move(member)); }

    void EndProject(ProjectDescription description) {
        current_.description = std::move(description);
        const SourceKind kind = current_.project.kind;
        TotalsBuilder totals(options_);
        for (const InventoryMember& member : current_.members) {
            totals.Add(member, kind);
            set_.Add(member, kind);
            shared_.Add(current_.project.path, member);
        }
        current_.totals = totals.Result();
        references_.Add(current_.project.path, current_.description.references);
        onProject_(current_);
        current_ = {};
    }

    void AddJob(std::shared_ptr<const MemberJob> job) { jobs_.push_back(std::move(job)); }

    SetInventory Result() const { return {set_.Result(), shared_.Result(), references_.Result()}; }

private:
    CountOptions options_;
    const std::function<void(const ProjectInventory&)>& onProject_;
    ProjectInventory current_;
    std::deque<std::shared_ptr<const MemberJob>> jobs_;
    TotalsBuilder set_;
    SharedFiles shared_;
    ReferenceMerger references_;
};

}  // namespace

SetInventory InventorySet(const std::vector<SetProject>& projects, CountOptions options,
                          const std::function<void(const ProjectInventory&)>& onProject,
                          unsigned workers) {
    SetGathering gathering(options, onProject);
    OrderedCounter counter(
        [](const CountPlace& place, const std::string&, FileLocator& locator) {
            const auto& job = static_cast<const MemberJob&>(place);
            job.result =
                ReadInventoryMember(job.folder, job.listed, job.kind, job.options, locator);
            return job.result.count;
        },
        [&](const MemberCount&) { gathering.CountedMember(); }, workers);
    for (const SetProject& project : projects) {
        counter.AddMark([&gathering, &project] { gathering.BeginProject(project); });
        auto description = std::make_shared<ProjectDescription>();
        if (FileExists(project.path)) {
            *description = ReadProjectDescription(project.path, project.kind);
        } else {
            description->problem = {FileError::Missing, ""};
        }
        const CountPlace place{ProjectFolder(project.path), project.kind};
        for (const ListedMember& listed : description->members) {
            if (!listed.counted) {
                FileLocator unused;
                counter.AddMark([&gathering, member = ReadInventoryMember(
                                                 place.folder, listed, project.kind, options,
                                                 unused)] { gathering.ListedMember(member); });
                continue;
            }
            auto job = std::make_shared<const MemberJob>(place, listed, options);
            gathering.AddJob(job);
            counter.Add(std::move(job), listed.name);
        }
        counter.AddMark(
            [&gathering, description] { gathering.EndProject(std::move(*description)); });
    }
    counter.Finish();
    return gathering.Result();
}

}  // namespace tallix

#include "engine/listing/listing_members.h"

#include <map>
#include <optional>
#include <set>

#include "engine/counting/member_count.h"
#include "engine/files/file_identity.h"
#include "engine/listing/on_threads.h"
#include "engine/projects/project_readers.h"

namespace tallix {

namespace {

struct Found {
    ListingMember member;
    std::optional<FileIdentity> identity;
};

ListingMember Named(const std::string& name, const std::string& project, SourceKind kind) {
    ListingMember member;
    member.name = name;
    member.project = project;
    member.kind = kind;
    return member;
}

// Finds every member as CountMember does, on up to `workers` threads, in the order given.
std::vector<Found> FindMembers(std::vector<std::pair<std::string, ListingMember>> named,
                               unsigned workers) {
    std::vector<Found> found(named.size());
    std::vector<FileLocator> locators(std::max(workers, 1u));
    OnThreads(named.size(), workers, [&](std::size_t i, unsigned worker) {
        auto& [folder, member] = named[i];
        OpenedMember opened = OpenMember(folder, member.name, locators[worker]);
        member.path = std::move(opened.path);
        if (opened.file.IsOpen()) {
            found[i].identity = opened.file.Identity();
        } else {
            member.problem = opened.file.Problem();
        }
        found[i].member = std::move(member);
    });
    return found;
}

}  // namespace

std::vector<ListingMember> FolderListingMembers(const std::string& folder,
                                                const std::string& project,
                                                const std::vector<std::string>& names,
                                                SourceKind kind, unsigned workers) {
    std::vector<std::pair<std::string, ListingMember>> named;
    named.reserve(names.size());
    for (const std::string& name : names) {
        named.emplace_back(folder, Named(name, project, kind));
    }
    std::vector<ListingMember> members;
    members.reserve(names.size());
    for (Found& found : FindMembers(std::move(named), workers)) {
        members.push_back(std::move(found.member));
    }
    return members;
}

std::vector<ListingMember> ProjectListingMembers(const std::string& project,
                                                 const std::vector<std::string>& names,
                                                 SourceKind kind, unsigned workers) {
    return FolderListingMembers(ProjectFolder(project), project, names, kind, workers);
}

std::vector<NamedProject> ReadSetProjects(const std::vector<SetProject>& projects) {
    std::vector<NamedProject> named;
    for (const SetProject& project : projects) {
        NamedProject& entry = named.emplace_back();
        entry.project = project;
        if (!FileExists(project.path)) {
            entry.problem = {FileError::Missing, ""};
            continue;
        }
        ProjectMembers read = ReadProjectFile(project.path, project.kind);
        entry.problem = std::move(read.problem);
        entry.names = std::move(read.names);
        entry.unlisted = std::move(read.unlisted);
        entry.notes = std::move(read.notes);
    }
    return named;
}

std::vector<ListingMember> SetListingMembers(const std::vector<NamedProject>& projects,
                                             unsigned workers) {
    std::vector<std::pair<std::string, ListingMember>> named;
    for (const NamedProject& project : projects) {
        const std::string folder = ProjectFolder(project.project.path);
        for (const std::string& name : project.names) {
            named.emplace_back(folder, Named(name, project.project.path, project.project.kind));
        }
    }
    std::vector<ListingMember> members;
    std::map<FileIdentity, std::size_t> placeOf;
    std::set<std::string> seenPaths;  // files that gave no identity
    for (Found& found : FindMembers(std::move(named), workers)) {
        ListingMember& member = found.member;
        if (member.problem.error != FileError::None) {
            members.push_back(std::move(member));
            continue;
        }
        if (found.identity) {
            const auto [place, first] = placeOf.emplace(*found.identity, members.size());
            if (!first) {
                if (member.kind == SourceKind::VbNet) {
                    members[place->second].kind = SourceKind::VbNet;
                }
                continue;
            }
        } else if (!seenPaths.insert(member.path).second) {
            continue;
        }
        members.push_back(std::move(member));
    }
    return members;
}

}  // namespace tallix

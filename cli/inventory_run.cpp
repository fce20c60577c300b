#include "cli/inventory_run.h"

#include <algorithm>
#include <memory>

#include "cli/inventory_output.h"
#include "cli/messages.h"
#include "engine/files/file_system.h"
#include "engine/inventory/set_inventory.h"
#include "engine/projects/project_set.h"

namespace tallix::cli {
namespace {

std::unique_ptr<InventoryWriter> MakeWriter(const CliOptions& options, std::ostream& out,
                                            bool summary) {
    if (options.csvReferences) {
        return MakeCsvReferenceWriter(out);
    }
    if (options.csv) {
        return MakeCsvMemberWriter(out);
    }
    if (options.json) {
        return MakeJsonWriter(out, options.counting);
    }
    return MakeTextWriter(out, summary);
}

// Names on err what went wrong in a project; the status that applies.
int ReportProblems(const ProjectInventory& project, std::ostream& err) {
    const std::string& path = project.project.path;
    const ProjectDescription& description = project.description;
    if (description.problem.error == FileError::Missing) {
        err << ProjectMissingMessage(path) << '\n';
        return kExitProjectUnusable;
    }
    if (description.problem.error != FileError::None) {
        err << ProjectUnreadableMessage(path, description.problem) << '\n';
        return kExitProjectUnusable;
    }
    int status = kExitSuccess;
    for (const ProjectNote& note : description.notes) {
        err << ProjectNoteMessage(path, note) << '\n';
    }
    for (const InventoryMember& member : project.members) {
        if (member.count.problem.error != FileError::None) {
            err << MemberUnreadableMessage(member.count) << '\n';
            status = kExitMembersUnreadable;
        }
    }
    const std::string folder = ProjectFolder(path);
    for (const FolderProblem& unlisted : description.unlisted) {
        err << MembersUnlistedMessage(path, MemberPath(folder, unlisted.path), unlisted.problem)
            << '\n';
        status = kExitMembersUnreadable;
    }
    return status;
}

// The projects of a group, solution or folder, as counting reads them; what it skips is
// named on err and the status raised.
std::optional<std::vector<SetProject>> ReadSet(const std::string& path, std::ostream& err,
                                               int& status) {
    const ProjectSet set = ReadProjectSet(path);
    if (set.kind == SetKind::Folder) {
        for (const FolderProblem& unlisted : set.unlisted) {
            if (unlisted.path.empty()) {
                err << FolderUnreadableMessage(path, unlisted.problem) << '\n';
                return std::nullopt;
            }
            err << FolderUnlistedMessage(FolderProjectPath(path, unlisted.path), unlisted.problem)
                << '\n';
            status = kExitProjectUnusable;
        }
    } else if (set.problem.error == FileError::Missing) {
        err << ProjectMissingMessage(path) << '\n';
        return std::nullopt;
    } else if (set.problem.error != FileError::None) {
        err << ProjectUnreadableMessage(path, set.problem) << '\n';
        return std::nullopt;
    }
    for (const SkippedProject& skipped : set.skipped) {
        err << SkippedProjectMessage(skipped) << '\n';
        if (skipped.reason == SkipReason::Missing || skipped.reason == SkipReason::Unusable) {
            status = kExitProjectUnusable;
        }
    }
    if (set.projects.empty()) {
        if (set.kind != SetKind::Folder || set.unlisted.empty()) {
            err << NoProjectsMessage(path, set.kind) << '\n';
        }
        return std::nullopt;
    }
    return set.projects;
}

}  // namespace

int RunInventory(const CliOptions& options, std::ostream& out, std::ostream& err) {
    const bool single = KindOfSetPath(options.project) == SetKind::Project;
    int status = kExitSuccess;
    std::vector<SetProject> projects;
    if (single) {
        if (!FileExists(options.project)) {
            err << ProjectMissingMessage(options.project) << '\n';
            return kExitProjectUnusable;
        }
        projects.push_back({options.project, options.kind});
    } else {
        if (options.kindGiven) {
            err << BadUsage("工程组、解决方案和文件夹不能与 --vb6、--vbnet 同用").err;
            return kExitBadUsage;
        }
        auto set = ReadSet(options.project, err, status);
        if (!set) {
            return kExitProjectUnusable;
        }
        projects = std::move(*set);
    }
    const std::unique_ptr<InventoryWriter> writer = MakeWriter(options, out, !single);
    const SetInventory inventory =
        InventorySet(projects, options.counting, [&](const ProjectInventory& project) {
            writer->Project(project);
            status = std::max(status, ReportProblems(project, err));
        });
    writer->Finish(inventory);
    out.flush();
    if (!out) {
        err << OutputUnwritableMessage() << '\n';
        return kExitOutputUnwritable;
    }
    return status;
}

}  // namespace tallix::cli

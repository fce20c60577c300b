#include "cli/deposit_run.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "cli/json_output.h"
#include "cli/messages.h"
#include "cli/set_run.h"
#include "cli/terminal_text.h"
#include "engine/listing/listing_members.h"
#include "engine/projects/project_readers.h"
#include "engine/projects/project_set.h"
#include "engine/projects/project_title.h"
#include "persistence/deposit/deposit_writer.h"
#include "persistence/report_writer.h"

namespace tallix::cli {
namespace {

using Json = nlohmann::ordered_json;

// The members to list, or the status that ends the run before anything is listed.
struct Members {
    std::vector<ListingMember> members;
    int status = kExitSuccess;
    bool usable = true;
};

// What reading a project said beyond its members, named as the count names it.
int ReportRead(const std::string& project, const std::vector<FolderProblem>& unlisted,
               const std::vector<ProjectNote>& notes, std::ostream& err) {
    for (const ProjectNote& note : notes) {
        err << ProjectNoteMessage(project, note) << '\n';
    }
    const std::string folder = ProjectFolder(project);
    for (const FolderProblem& folderProblem : unlisted) {
        err << MembersUnlistedMessage(project, MemberPath(folder, folderProblem.path),
                                      folderProblem.problem)
            << '\n';
    }
    return unlisted.empty() ? kExitSuccess : kExitMembersUnreadable;
}

Members SingleProjectMembers(const CliOptions& options, std::ostream& err) {
    if (!FileExists(options.project)) {
        err << ProjectMissingMessage(options.project) << '\n';
        return {{}, kExitProjectUnusable, false};
    }
    std::vector<std::string> names;
    const ProjectRead read =
        VisitProjectMembers(options.project, options.kind, [&](std::string name) {
            names.push_back(std::move(name));
            return true;
        });
    if (read.problem.error != FileError::None) {
        err << ProjectUnreadableMessage(options.project, read.problem) << '\n';
        return {{}, kExitProjectUnusable, false};
    }
    Members found;
    found.status = ReportRead(options.project, read.unlisted, read.notes, err);
    found.members = ProjectListingMembers(options.project, names, options.kind);
    return found;
}

Members SetMembers(const CliOptions& options, std::ostream& err) {
    const SetStart start = StartSet(options, err);
    if (!start.usable) {
        return {{}, start.status, false};
    }
    Members found;
    found.status = start.status;
    const std::vector<NamedProject> projects = ReadSetProjects(start.set.projects);
    for (const NamedProject& project : projects) {
        const std::string& path = project.project.path;
        if (project.problem.error == FileError::Missing) {
            err << ProjectMissingMessage(path) << '\n';
        } else if (project.problem.error != FileError::None) {
            err << ProjectUnreadableMessage(path, project.problem) << '\n';
        }
        if (project.problem.error != FileError::None) {
            found.status = std::max<int>(found.status, kExitProjectUnusable);
            continue;
        }
        found.status =
            std::max(found.status, ReportRead(path, project.unlisted, project.notes, err));
    }
    found.members = SetListingMembers(projects);
    return found;
}

// The header's name and version: as given, or as the project gives them.
DepositHeader HeaderFor(const CliOptions& options) {
    std::string path = options.project;
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) {
        path.pop_back();
    }
    const ProjectTitle title = ReadProjectTitle(path, options.kind);
    return {options.softwareName.value_or(title.name),
            options.softwareVersion.value_or(title.version)};
}

Json PagesJson(const std::vector<PageRange>& pages) {
    Json ranges = Json::array();
    for (const PageRange& range : pages) {
        ranges.push_back(Json{{"first", range.first}, {"last", range.last}});
    }
    return ranges;
}

void WriteSummary(const CliOptions& options, const DepositHeader& header, const ListingPlan& plan,
                  std::ostream& out) {
    if (options.json) {
        const Json summary{{"project", options.project},
                           {"deposit", options.deposit},
                           {"software_name", header.softwareName},
                           {"software_version", header.softwareVersion},
                           {"skip_blank", options.counting.skipBlankLines},
                           {"skip_comments", options.counting.skipCommentLines},
                           {"lines", plan.lines},
                           {"listing_pages", plan.pages},
                           {"deposited_pages", PagesJson(plan.deposited)},
                           {"document_pages", plan.DepositedPageCount()}};
        out << DumpNested(summary) << '\n';
        return;
    }
    for (const std::string& line : DepositSummary(plan)) {
        out << line << '\n';
    }
    out << "已写入：" << ShowControls(options.deposit) << '\n';
}

// The per-file list of the report, as Start gives it: "name:count" for members that list
// any line.
std::string FoundLines(const ListingPlan& plan) {
    std::string found;
    for (const ListingMember& member : plan.members) {
        if (member.lines > 0) {
            found += (found.empty() ? "" : ",") + member.name + ':' + std::to_string(member.lines);
        }
    }
    return found;
}

}  // namespace

int RunDeposit(const CliOptions& options, std::ostream& out, std::ostream& err) {
    const bool set = KindOfSetPath(options.project) != SetKind::Project;
    Members found = set ? SetMembers(options, err) : SingleProjectMembers(options, err);
    if (!found.usable) {
        return found.status;
    }
    const DepositHeader header = HeaderFor(options);
    const DepositResult result = WriteDeposit(
        {options.deposit, header, options.allPages, options.counting}, std::move(found.members));
    int status = found.status;
    for (const ListingMember& member : result.plan.members) {
        if (member.problem.error != FileError::None) {
            err << MemberUnreadableMessage(member.name, member.path, member.problem) << '\n';
            status = std::max<int>(status, kExitMembersUnreadable);
        }
    }
    switch (result.end) {
        case DepositEnd::NothingToDeposit:
            err << NothingToDepositMessage(options.project, options.deposit) << '\n';
            return std::max<int>(status, kExitNothingToDeposit);
        case DepositEnd::NotWritten:
            err << ReportUnwritableMessage(options.deposit, result.reason) << '\n';
            return std::max<int>(status, kExitReportUnwritable);
        case DepositEnd::Written:
            break;
    }
    if (!options.report.empty()) {
        const auto problem = WriteReport(options.report, {options.project, FoundLines(result.plan),
                                                          std::to_string(result.plan.lines)});
        if (problem) {
            err << ReportUnwritableMessage(options.report, *problem) << '\n';
            status = std::max<int>(status, kExitReportUnwritable);
        }
    }
    WriteSummary(options, header, result.plan, out);
    out.flush();
    if (!out) {
        err << OutputUnwritableMessage() << '\n';
        return kExitOutputUnwritable;
    }
    return status;
}

}  // namespace tallix::cli

#include "cli/set_run.h"

#include <algorithm>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/csv_output.h"
#include "cli/json_output.h"
#include "cli/member_spool.h"
#include "cli/messages.h"
#include "cli/project_count.h"
#include "cli/table_output.h"
#include "cli/terminal_text.h"
#include "engine/counting/set_count.h"
#include "engine/projects/project_set.h"

namespace tallix::cli {
namespace {

// The options a single project given on its own would have had.
CliOptions OptionsFor(const CliOptions& options, const SetProject& project) {
    CliOptions single = options;
    single.project = project.path;
    single.kind = project.kind;
    return single;
}

// Writes each project as soon as it is counted, in the form the options ask for, and names
// what went wrong in it; only the project being counted is held, its members spooled.
class SetWriter : public SetCountSink {
public:
    SetWriter(const CliOptions& options, std::ostream& out, std::ostream& err)
        : options_(options), out_(out), err_(err) {
        if (options_.csv) {
            WriteCsvHeader(out_);
        } else if (options_.json) {
            out_ << "{\n  \"projects\": [";
        }
    }

    bool BeginProject(const SetProject&) override {
        spool_ = std::make_unique<MemberSpool>();
        summary_ = {};
        return whole_ && out_.good();
    }

    void Member(const MemberCount& member) override {
        AddMember(summary_, member);
        spool_->Add(member);
    }

    void EndProject(const SetProject& project, const ProjectRead& read) override {
        if (read.problem.error != FileError::None) {
            WriteFailed(project, read.problem);
            status_ = std::max<int>(status_, kExitProjectUnusable);
            return;
        }
        WriteCounted(project);
        for (const ProjectNote& note : read.notes) {
            err_ << ProjectNoteMessage(project.path, note) << '\n';
        }
        spool_->ForEach([&](const MemberCount& member) {
            if (member.problem.error != FileError::None) {
                err_ << MemberUnreadableMessage(member) << '\n';
                status_ = std::max<int>(status_, kExitMembersUnreadable);
            }
            return true;
        });
        const std::string folder = ProjectFolder(project.path);
        for (const FolderProblem& unlisted : read.unlisted) {
            err_ << MembersUnlistedMessage(project.path, MemberPath(folder, unlisted.path),
                                           unlisted.problem)
                 << '\n';
            status_ = std::max<int>(status_, kExitMembersUnreadable);
        }
    }

    // Ends the output with the grand total; returns the status over all projects.
    int Finish(const SetTotal& total) {
        if (options_.json) {
            out_ << (firstJson_ ? "]" : "\n  ]");
            if (whole_) {
                out_ << ",\n  \"total\": " << total.lines;
            }
            out_ << "\n}\n";
        } else if (!options_.csv && whole_) {
            out_ << "总计（多个工程共用的文件只计一次）：统计行数 " << total.lines << "，代码行 "
                 << total.tally.code << "，注释行 " << total.tally.comment << "，空白行 "
                 << total.tally.blank << '\n';
        }
        out_.flush();
        if (!whole_) {
            err_ << RowsLostMessage() << '\n';
        }
        if (!out_) {
            err_ << OutputUnwritableMessage() << '\n';
        }
        return whole_ && out_ ? status_ : kExitOutputUnwritable;
    }

private:
    void WriteFailed(const SetProject& project, const FileProblem& problem) {
        if (problem.error == FileError::Missing) {
            err_ << ProjectMissingMessage(project.path) << '\n';
        } else {
            err_ << ProjectUnreadableMessage(project.path, problem) << '\n';
        }
        if (options_.csv) {
            // A project that could not be read has a row of its own, with no member.
            MemberCount none;
            none.problem = problem;
            WriteCsvRow(out_, project.path, none);
        } else if (options_.json) {
            NextJsonProject();
            const nlohmann::ordered_json failed{
                {"project", project.path},
                {"kind", project.kind == SourceKind::VbNet ? "vbnet" : "vb6"},
                {"error", ProblemReason(problem)}};
            WriteNested(out_, DumpNested(failed), "    ");
        }
    }

    void WriteCounted(const SetProject& project) {
        if (options_.csv) {
            whole_ = spool_->ForEach([&](const MemberCount& member) {
                WriteCsvRow(out_, project.path, member);
                return out_.good();
            }) && whole_;
        } else if (options_.json) {
            // The very object the project would print on its own, so the two cannot drift
            // apart.
            NextJsonProject();
            whole_ =
                WriteJson(OptionsFor(options_, project), summary_, *spool_, out_, "    ") && whole_;
        } else {
            out_ << "工程：" << ShowControls(project.path) << '\n';
            whole_ = WriteTable(summary_, *spool_, out_) && whole_;
            out_ << '\n';
        }
    }

    void NextJsonProject() {
        out_ << (firstJson_ ? "\n" : ",\n");
        firstJson_ = false;
    }

    const CliOptions& options_;
    std::ostream& out_;
    std::ostream& err_;
    std::unique_ptr<MemberSpool> spool_;
    CountSummary summary_;
    int status_ = kExitSuccess;
    bool whole_ = true;  // every spooled row was read back
    bool firstJson_ = true;
};

// Names the folders a folder's walk could not list; the largest status that applies.
int ReportUnlisted(const ProjectSet& set, const std::string& folder, std::ostream& err) {
    for (const FolderProblem& unlisted : set.unlisted) {
        err << FolderUnlistedMessage(FolderProjectPath(folder, unlisted.path), unlisted.problem)
            << '\n';
    }
    return set.unlisted.empty() ? kExitSuccess : kExitProjectUnusable;
}

}  // namespace

SetStart StartSet(const CliOptions& options, std::ostream& err) {
    SetStart start{ReadProjectSet(options.project)};
    const ProjectSet& set = start.set;
    const auto fail = [&]() {
        start.usable = false;
        start.status = kExitProjectUnusable;
        return std::move(start);
    };
    if (set.kind == SetKind::Folder) {
        const auto root = std::find_if(set.unlisted.begin(), set.unlisted.end(),
                                       [](const FolderProblem& p) { return p.path.empty(); });
        if (root != set.unlisted.end()) {
            err << FolderUnreadableMessage(options.project, root->problem) << '\n';
            return fail();
        }
        start.status = ReportUnlisted(set, options.project, err);
        if (set.projects.empty()) {
            if (start.status == kExitSuccess) {
                err << NoProjectsMessage(options.project, set.kind) << '\n';
            }
            return fail();
        }
    } else if (set.problem.error == FileError::Missing) {
        err << ProjectMissingMessage(options.project) << '\n';
        return fail();
    } else if (set.problem.error != FileError::None) {
        err << ProjectUnreadableMessage(options.project, set.problem) << '\n';
        return fail();
    }
    for (const SkippedProject& skipped : set.skipped) {
        err << SkippedProjectMessage(skipped) << '\n';
        if (skipped.reason == SkipReason::Missing || skipped.reason == SkipReason::Unusable) {
            start.status = kExitProjectUnusable;
        }
    }
    // A group or solution with nothing to count fails as a folder without projects does.
    if (set.projects.empty()) {
        err << NoProjectsMessage(options.project, set.kind) << '\n';
        return fail();
    }
    return start;
}

int RunSet(const CliOptions& options, std::ostream& out, std::ostream& err) {
    const SetStart start = StartSet(options, err);
    if (!start.usable) {
        return start.status;
    }
    SetWriter writer(options, out, err);
    const SetTotal total = CountSet(start.set.projects, options.counting, writer);
    return std::max(start.status, writer.Finish(total));
}

}  // namespace tallix::cli

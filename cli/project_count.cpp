#include "cli/project_count.h"

#include "engine/file_system.h"
#include "engine/project_readers.h"

namespace tallix::cli {

CountOutcome CountProject(const CliOptions& options) {
    CountOutcome outcome;
    if (!FileExists(options.project)) {
        outcome.failure = "文件" + options.project + "不存在！";
        return outcome;
    }
    ProjectMembers read = ReadProjectFile(options.project, options.kind);
    if (read.problem.error != FileError::None) {
        outcome.failure = "文件" + options.project + "无法读取！";
        return outcome;
    }

    ProjectCount& count = outcome.count;
    count.project = options.project;
    count.kind = options.kind;
    count.counting = options.counting;
    const std::string folder = ProjectFolder(options.project);
    count.members.reserve(read.names.size());
    FileLocator locator;
    for (const std::string& name : read.names) {
        count.members.push_back(CountMember(folder, name, options.kind, options.counting, locator));
    }
    count.texts = BuildResultTexts(count.members);
    return outcome;
}

}  // namespace tallix::cli

#include "engine/counting/member_count.h"

namespace tallix {

OpenedMember OpenMember(const std::string& folder, const std::string& name, FileLocator& locator) {
    // Most members are written as they are on disk: opening the path as written finds them
    // without a look-up first. Only when that fails is the name searched for.
    std::string path = MemberPath(folder, name);
    InputFile file = InputFile::Open(path);
    if (!file.IsOpen()) {
        if (auto found = locator.Locate(path); found && *found != path) {
            path = std::move(*found);
            file = InputFile::Open(path);
        }
    }
    return {std::move(path), std::move(file)};
}

MemberCount CountMember(const std::string& folder, const std::string& name, SourceKind kind,
                        CountOptions options, FileLocator& locator) {
    MemberCount member;
    member.name = name;
    OpenedMember opened = OpenMember(folder, name, locator);
    member.path = std::move(opened.path);
    InputFile& file = opened.file;
    FileTally tally = file.IsOpen() ? TallySource(file, kind) : FileTally{{}, file.Problem()};
    member.tally = tally.tally;
    member.problem = std::move(tally.problem);
    if (member.problem.error == FileError::None) {
        member.identity = file.Identity();
    }
    member.lines = member.tally.Counted(options.skipBlankLines, options.skipCommentLines);
    return member;
}

ResultTexts BuildResultTexts(const std::vector<MemberCount>& members) {
    ResultTexts texts;
    for (const auto& member : members) {
        texts.total += member.lines;
        if (member.lines <= 0) {
            continue;
        }
        if (!texts.foundLines.empty()) {
            texts.foundLines += ',';
        }
        texts.foundLines += member.name + ':' + std::to_string(member.lines);
    }
    texts.totalLines = std::to_string(texts.total);
    return texts;
}

}  // namespace tallix

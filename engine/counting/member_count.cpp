#include "engine/counting/member_count.h"

namespace tallix {

MemberCount CountMember(const std::string& folder, const std::string& name, SourceKind kind,
                        CountOptions options, FileLocator& locator) {
    MemberCount member;
    member.name = name;
    // Most members are written as they are on disk: opening the path as written finds them
    // without a look-up first. Only when that fails is the name searched for.
    member.path = MemberPath(folder, name);
    InputFile file = InputFile::Open(member.path);
    if (!file.IsOpen()) {
        if (auto found = locator.Locate(member.path); found && *found != member.path) {
            member.path = std::move(*found);
            file = InputFile::Open(member.path);
        }
    }
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

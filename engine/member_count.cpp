#include "engine/member_count.h"

namespace tallix {

MemberCount CountMember(const std::string& folder, const std::string& name, SourceKind kind,
                        CountOptions options, FileLocator& locator) {
    MemberCount member;
    member.name = name;
    const std::string written = MemberPath(folder, name);
    member.path = locator.Locate(written).value_or(written);
    FileTally file = TallyFile(member.path, kind);
    member.tally = file.tally;
    member.problem = std::move(file.problem);
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

#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/counting/member_count.h"

namespace tallix {

// The grand total of a set, in which each member file counts once however many projects
// name it (by any path, in any letter case, through any hard link). A file that projects
// of both kinds name counts as the VB.NET rules count it, which leave nothing of it out,
// wherever it stands in the set: the total does not depend on the order of the projects.
// Members that could not be read count nothing.
class OnceOnlyTotal {
public:
    explicit OnceOnlyTotal(CountOptions options) : options_(options) {}

    // Adds a member counted under the rules of `kind`.
    void Add(const MemberCount& member, SourceKind kind);

    std::int64_t Lines() const {
        return tally_.Counted(options_.skipBlankLines, options_.skipCommentLines);
    }
    const LineTally& Tally() const { return tally_; }

private:
    // File identities, with the kind each was counted under, in an open-addressing table:
    // sixteen bytes and one a file, for sets of a million members.
    enum Seen : std::uint8_t { kFree, kVb6, kVbNet };
    Seen& Slot(const FileIdentity& identity);
    void Grow();

    CountOptions options_;
    LineTally tally_;
    std::vector<FileIdentity> identities_;
    std::vector<Seen> seen_;
    std::size_t used_ = 0;
};

}  // namespace tallix

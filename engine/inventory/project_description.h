#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/files/file_system.h"
#include "engine/files/folder_walk.h"
#include "engine/inventory/references.h"
#include "engine/projects/sdk_project.h"
#include "engine/projects/source_kind.h"

namespace tallix {

// What a member is. VB6 members are what their project line says; a VB.NET member is a
// Form when it has a .Designer.vb partner beside it, Code otherwise.
enum class MemberKind {
    Form,
    Module,
    Class,
    UserControl,
    PropertyPage,
    UserDocument,
    Designer,  // a VB6 designer (Designer=): listed, but not counted
    Code,
};
inline constexpr std::size_t kMemberKinds = 8;

// The name of a kind as the output writes it: "Form", "Module", ..., "Code".
std::string_view MemberKindName(MemberKind kind);

// A member as its project file lists it.
struct ListedMember {
    std::string name;  // as the project writes it, exactly as the counter takes it
    MemberKind kind = MemberKind::Code;
    bool counted = true;  // false for what the counter does not count

    friend bool operator==(const ListedMember&, const ListedMember&) = default;
};

// The member a VB6 project line lists: the lines the counter counts, with the kind of their
// prefix, and Designer= lines, which it does not count.
std::optional<ListedMember> Vb6ListedMember(std::string_view line);

// What a project file says of the project.
struct ProjectDescription {
    std::string type;  // VB6: the Type= line (Exe, OleDll, Control...); "" when there is none
    std::vector<ListedMember> members;    // in project order
    std::vector<Reference> references;    // in project order
    FileProblem problem;                  // what kept the file from being read to its end
    std::vector<FolderProblem> unlisted;  // an SDK-style project's folders not listed
    std::vector<ProjectNote> notes;       // what its readers took without evaluating it
};

// Reads a project file with the rules of its kind. The members are those the counters'
// reader finds (VisitProjectMembers), in its order; a VB6 project is read once, line by
// line, a VB.NET one once more for its references. No member when the file could not be
// read to its end.
ProjectDescription ReadProjectDescription(const std::string& path, SourceKind kind);

// The same for a VB6 project's bytes from any source, and in memory.
ProjectDescription DescribeVb6Project(ByteSource& source);
ProjectDescription DescribeVb6Project(std::string_view bytes);

}  // namespace tallix

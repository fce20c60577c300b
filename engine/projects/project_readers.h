#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/files/file_system.h"
#include "engine/files/folder_walk.h"
#include "engine/projects/sdk_project.h"
#include "engine/projects/source_kind.h"
#include "engine/text/encoding_sniffer.h"

namespace tallix {

// The member a single project line names, if it names one. Lines are decoded text.
std::optional<std::string> Vb6MemberName(std::string_view line);

// The same for a VB6 line, with the key before "=" that listed the member ("Form",
// "Module", "Class", "UserControl", "PropertyPage" or "UserDocument").
struct Vb6MemberLine {
    std::string_view key;
    std::string name;
};
std::optional<Vb6MemberLine> Vb6MemberEntry(std::string_view line);
std::optional<std::string> VbNetMemberName(std::string_view line);

// How a project file of the kind is decoded: VB6 projects are ANSI unless marked, VB.NET
// projects are XML.
EncodingRule ProjectEncodingRule(SourceKind kind);

// Every member a project file names, in file order, from the file's raw bytes.
std::vector<std::string> ReadVb6Project(std::string_view projectBytes);
std::vector<std::string> ReadVbNetProject(std::string_view projectBytes);

// Takes one member name; returns false to stop reading.
using MemberVisitor = std::function<bool(std::string name)>;

// How reading a project's members went.
struct ProjectRead {
    FileProblem problem;  // what kept the file from being read to its end; None otherwise
    // An SDK-style project's folders whose files could not be listed, and what its reader
    // took without evaluating.
    std::vector<FolderProblem> unlisted;
    std::vector<ProjectNote> notes;
};

// Reads a project file from disk with the rules of the kind (Vb6: VB6 rules; any other
// kind: VB.NET rules) and hands on each member name in file order, without keeping them.
// The problem is None when the file was read whole or the visitor stopped. The path is
// taken literally apart from letter case. An SDK-style VB.NET project's members are those
// SdkProjectMembers finds, in its order.
ProjectRead VisitProjectMembers(const std::string& path, SourceKind kind,
                                const MemberVisitor& onMember);

// The same for a project's bytes from any source.
FileProblem VisitProjectMembers(ByteSource& source, SourceKind kind, const MemberVisitor& onMember);

struct ProjectMembers {
    std::vector<std::string> names;
    FileProblem problem;  // error None when the file was read to its end
    std::vector<FolderProblem> unlisted;
    std::vector<ProjectNote> notes;
};

// Every member a project file names, read as VisitProjectMembers does; no names when the
// file could not be read to its end.
ProjectMembers ReadProjectFile(const std::string& path, SourceKind kind);

}  // namespace tallix

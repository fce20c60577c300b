#include "engine/inventory/member_reading.h"

#include "engine/inventory/member_scanner.h"
#include "engine/text/case_folding.h"

namespace tallix {

namespace {

// As the counter reads members: small enough to stay in the cache from the copy to the scan.
constexpr std::size_t kBlockSize = 64 * 1024;

void ReadPartner(const std::string& folder, const std::string& name, FileLocator& locator,
                 InventoryMember& member) {
    OpenedMember opened = OpenMember(folder, name, locator);
    if (!opened.file.IsOpen()) {
        const FileError error = opened.file.Problem().error;
        if (error == FileError::Missing || error == FileError::NotAFile) {
            return;  // no partner: the member is code
        }
        member.listed.kind = MemberKind::Form;
        member.inventory.notes.push_back(
            {MemberNote::Kind::PartnerUnreadable, 0, 0, opened.file.Problem().detail});
        return;
    }
    member.listed.kind = MemberKind::Form;
    DesignerFileScanner scanner;
    char buffer[kBlockSize];
    while (const std::size_t got = opened.file.Read(buffer, sizeof buffer)) {
        scanner.Feed({buffer, got});
    }
    if (opened.file.Problem().error != FileError::None) {
        member.inventory.notes.push_back(
            {MemberNote::Kind::PartnerUnreadable, 0, 0, opened.file.Problem().detail});
        return;
    }
    DesignerFile designer = scanner.Finish();
    member.inventory.designerLines = designer.lines;
    member.inventory.controls = std::move(designer.controls);
}

}  // namespace

MemberReading ReadMemberSource(ByteSource& source, SourceKind kind) {
    MemberScanner scanner(kind);
    char buffer[kBlockSize];
    while (const std::size_t got = source.Read(buffer, sizeof buffer)) {
        scanner.Feed({buffer, got});
    }
    MemberReading reading;
    reading.problem = source.Problem();
    // A file that fails half-way counts nothing rather than a part that looks whole.
    if (reading.problem.error == FileError::None) {
        reading.inventory = scanner.Finish();
        reading.tally = scanner.Tally();
    }
    return reading;
}

std::optional<std::string> DesignerPartnerName(const std::string& memberName) {
    constexpr std::string_view kVb = ".vb";
    if (memberName.size() <= kVb.size() ||
        !EqualIgnoringCase(std::string_view(memberName).substr(memberName.size() - kVb.size()),
                           kVb)) {
        return std::nullopt;
    }
    return memberName.substr(0, memberName.size() - kVb.size()) + ".Designer.vb";
}

InventoryMember ReadInventoryMember(const std::string& folder, const ListedMember& listed,
                                    SourceKind kind, CountOptions options, FileLocator& locator) {
    InventoryMember member;
    member.listed = listed;
    member.count.name = listed.name;
    if (!listed.counted) {
        member.count.path = MemberPath(folder, listed.name);
        return member;
    }
    OpenedMember opened = OpenMember(folder, listed.name, locator);
    member.count.path = std::move(opened.path);
    InputFile& file = opened.file;
    if (file.IsOpen()) {
        MemberReading reading = ReadMemberSource(file, kind);
        member.count.problem = std::move(reading.problem);
        member.count.tally = reading.tally;
        member.inventory = std::move(reading.inventory);
        if (member.count.problem.error == FileError::None) {
            member.count.identity = file.Identity();
        }
    } else {
        member.count.problem = file.Problem();
    }
    member.count.lines =
        member.count.tally.Counted(options.skipBlankLines, options.skipCommentLines);
    if (kind != SourceKind::Vb6) {
        if (const auto partner = DesignerPartnerName(listed.name)) {
            ReadPartner(folder, *partner, locator, member);
        }
    }
    return member;
}

}  // namespace tallix

#pragma once

#include <optional>
#include <string>

#include "engine/counting/member_count.h"
#include "engine/files/file_system.h"
#include "engine/inventory/member_inventory.h"
#include "engine/inventory/project_description.h"
#include "engine/projects/source_kind.h"

namespace tallix {

// A member of an inventory: as its project lists it, counted as the counter counts it, and
// what it holds.
struct InventoryMember {
    ListedMember listed;  // a VB.NET member's kind is settled here
    MemberCount count;    // exactly what CountMember gives
    MemberInventory inventory;
};

// What reading a member's bytes gives: the tally (the line counter's) and the scanner's
// inventory, or neither when the source fails before its end (error None otherwise).
struct MemberReading {
    LineTally tally;
    MemberInventory inventory;
    FileProblem problem;
};

// Reads the source to its end in blocks, each block fed to the scanner, which counts the
// lines as the line counter does.
MemberReading ReadMemberSource(ByteSource& source, SourceKind kind);

// The file name of a VB.NET member's designer partner: "Form1.vb" has "Form1.Designer.vb";
// nothing for a member that does not end in ".vb".
std::optional<std::string> DesignerPartnerName(const std::string& memberName);

// Reads a counted member's file once, in blocks, opened as CountMember opens it, and feeds
// each block to the inventory's scanner. A VB.NET member with a .Designer.vb partner beside
// it is a Form, and the partner's lines and controls are its designer lines and controls.
// A member the counter does not count is listed and not read.
InventoryMember ReadInventoryMember(const std::string& folder, const ListedMember& listed,
                                    SourceKind kind, CountOptions options, FileLocator& locator);

}  // namespace tallix

#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tallix {

// What a member's source holds beside its line counts: the lines a designer wrote, its
// procedures, its API declarations and the controls of its designer block.

// A Windows API declaration: Declare [PtrSafe] [Ansi|Unicode|Auto] Sub|Function name Lib "x".
struct DeclareStatement {
    std::string name;     // as written, decoded; "" when the statement names none
    std::string library;  // as LibraryKey has it; "" when the statement names none
    std::int64_t line = 0;

    friend bool operator==(const DeclareStatement&, const DeclareStatement&) = default;
};

// Something in a member's text that the inventory could not take as it stands.
struct MemberNote {
    enum class Kind {
        DesignerNotClosed,  // `count` Begin blocks still open where the designer part ends
        EndWithoutBegin,    // an End at `line` closes no Begin
        NoNameAttribute,    // a VB6 member without "Attribute VB_Name": nothing of it counts
        Binary,             // NUL bytes from `line` on: a binary file, or UTF-16
        PartnerUnreadable,  // the .Designer.vb partner exists but could not be read
    };
    Kind kind = Kind::DesignerNotClosed;
    std::int64_t line = 0;
    std::int64_t count = 0;
    std::string detail;  // the system's reason for PartnerUnreadable

    friend bool operator==(const MemberNote&, const MemberNote&) = default;
};

struct MemberInventory {
    // VB6: the lines ahead of "Attribute VB_Name", which counting leaves out; VB.NET: the
    // lines of the .Designer.vb partner.
    std::int64_t designerLines = 0;
    // Sub, Function, Property and Operator statements, each counted once at its first line.
    std::int64_t procedures = 0;
    std::vector<DeclareStatement> declares;
    std::map<std::string, std::int64_t> controls;  // by type, as the designer writes it
    std::vector<MemberNote> notes;

    std::int64_t ControlCount() const;
    friend bool operator==(const MemberInventory&, const MemberInventory&) = default;
};

// The library a Declare names, as it is grouped: letters in lower case and a ".dll" at the
// end left out, so that "USER32", "user32" and "User32.dll" are one library.
std::string LibraryKey(std::string_view written);

}  // namespace tallix

#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "engine/counting/line_counter.h"
#include "engine/inventory/member_inventory.h"
#include "engine/projects/source_kind.h"

namespace tallix {

// Takes a member's bytes, fed in blocks of any size, and finds what the inventory lists:
// under VB6 rules the designer part ahead of "Attribute VB_Name" with the controls of its
// nested Begin blocks, and in the code the procedures and Declare statements. A statement
// is looked at where it starts, so a procedure named in a string, in a comment or on a line
// that continues another (" _") is not one; a lambda ("Function(x) ...") is not one either.
// Bytes are tested as ASCII, as the counter tests them; only the names kept are decoded,
// as code page 936 unless the member starts with the UTF-8 byte-order mark. Never fails:
// what it cannot take is a note.
//
// It counts the lines too, on the same pass and with the line counter's rules, so that a
// member is read and classified once: Tally() after Finish() is what LineCounter gives.
class MemberScanner {
public:
    explicit MemberScanner(SourceKind kind);
    ~MemberScanner();
    MemberScanner(const MemberScanner&) = delete;
    MemberScanner& operator=(const MemberScanner&) = delete;

    void Feed(std::string_view block);
    MemberInventory Finish();
    const LineTally& Tally() const;

private:
    class Lines;
    std::unique_ptr<Lines> lines_;
};

// What a VB.NET form's .Designer.vb partner holds: its lines, and the controls its
// InitializeComponent creates, one for each "Me.Name = New System.Windows.Forms.Type(...)"
// whose Name is a field the file declares ("Friend WithEvents Name As ...").
struct DesignerFile {
    std::int64_t lines = 0;
    std::map<std::string, std::int64_t> controls;
};

class DesignerFileScanner {
public:
    DesignerFileScanner();
    ~DesignerFileScanner();
    DesignerFileScanner(const DesignerFileScanner&) = delete;
    DesignerFileScanner& operator=(const DesignerFileScanner&) = delete;

    void Feed(std::string_view block);
    DesignerFile Finish();

private:
    class Lines;
    std::unique_ptr<Lines> lines_;
};

MemberInventory ScanMemberText(std::string_view bytes, SourceKind kind);
DesignerFile ScanDesignerFileText(std::string_view bytes);

}  // namespace tallix

#pragma once

#include <string>
#include <string_view>

#include "engine/inventory/member_inventory.h"
#include "engine/inventory/project_description.h"
#include "engine/inventory/references.h"

namespace tallix::cli {

// The inventory's words, in one place, as the counting's are in messages.h. Names and paths
// go through ShowControls.

// A member kind in Chinese: 窗体, 模块, 类模块...
std::string_view MemberKindLabel(MemberKind kind);

// The heading of a kind of reference in the text report: 类型库引用, ActiveX 部件...
std::string_view ReferenceKindHeading(ReferenceKind kind);

// A kind of reference as the JSON and CSV write it: type_library, component...
std::string_view ReferenceKindName(ReferenceKind kind);

// A member note as the JSON and CSV write its kind: designer_not_closed...
std::string_view MemberNoteName(MemberNote::Kind kind);

// What a note says of its member, without the member's name.
std::string MemberNoteText(const MemberNote& note);

// A reference line that is not of its kind's form.
std::string MalformedReferenceText(const Reference& reference);

}  // namespace tallix::cli

#include "engine/inventory/inventory_totals.h"

namespace tallix {

bool TotalsBuilder::FirstTime(const InventoryMember& member) {
    if (member.count.identity) {
        return identities_.insert(*member.count.identity).second;
    }
    return paths_.insert(member.count.path).second;
}

void TotalsBuilder::Add(const InventoryMember& member, SourceKind kind) {
    lines_.Add(member.count, kind);
    if (!FirstTime(member)) {
        return;
    }
    ++totals_.members;
    ++totals_.byKind[static_cast<std::size_t>(member.listed.kind)];
    if (!member.listed.counted) {
        ++totals_.listedOnly;
        return;
    }
    if (member.count.problem.error != FileError::None) {
        ++totals_.unreadable;
        return;
    }
    const MemberInventory& inventory = member.inventory;
    for (const MemberNote& note : inventory.notes) {
        totals_.binary += note.kind == MemberNote::Kind::Binary ? 1 : 0;
    }
    totals_.designerLines += inventory.designerLines;
    totals_.procedures += inventory.procedures;
    totals_.declares += static_cast<std::int64_t>(inventory.declares.size());
    for (const DeclareStatement& declare : inventory.declares) {
        ++totals_.declaresByLibrary[declare.library];
    }
    for (const auto& [type, count] : inventory.controls) {
        totals_.controls += count;
        totals_.controlsByType[type] += count;
    }
}

InventoryTotals TotalsBuilder::Result() const {
    InventoryTotals totals = totals_;
    totals.lines = lines_.Lines();
    totals.tally = lines_.Tally();
    return totals;
}

}  // namespace tallix

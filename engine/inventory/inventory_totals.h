#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "engine/counting/member_count.h"
#include "engine/counting/once_only_total.h"
#include "engine/inventory/member_reading.h"

namespace tallix {

// The sums of a project's or a set's inventory, in which each member file counts once
// however many times it is named: the lines as OnceOnlyTotal has them, and the rest as the
// first member that named the file found it.
struct InventoryTotals {
    std::int64_t members = 0;  // files listed, each once
    std::array<std::int64_t, kMemberKinds> byKind{};
    std::int64_t listedOnly = 0;  // of them, those the counter does not count (designers)
    std::int64_t unreadable = 0;
    std::int64_t binary = 0;
    std::int64_t lines = 0;  // counted under the options
    LineTally tally;
    std::int64_t designerLines = 0;
    std::int64_t procedures = 0;
    std::int64_t declares = 0;
    std::map<std::string, std::int64_t> declaresByLibrary;
    std::int64_t controls = 0;
    std::map<std::string, std::int64_t> controlsByType;

    std::int64_t ByKind(MemberKind kind) const { return byKind[static_cast<std::size_t>(kind)]; }
};

class TotalsBuilder {
public:
    explicit TotalsBuilder(CountOptions options) : lines_(options) {}

    // Adds a member counted under the rules of `kind`; a file seen before adds nothing.
    void Add(const InventoryMember& member, SourceKind kind);
    InventoryTotals Result() const;

private:
    bool FirstTime(const InventoryMember& member);

    OnceOnlyTotal lines_;
    InventoryTotals totals_;
    std::set<FileIdentity> identities_;
    std::set<std::string> paths_;  // of the files that were not opened
};

}  // namespace tallix

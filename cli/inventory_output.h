#pragma once

#include <memory>
#include <ostream>

#include "engine/counting/member_count.h"
#include "engine/inventory/set_inventory.h"

namespace tallix::cli {

// Writes an inventory in one of its forms as it comes: each project as soon as it is in,
// then what the set comes to. Stops writing, but not taking, once out fails.
class InventoryWriter {
public:
    virtual ~InventoryWriter() = default;
    virtual void Project(const ProjectInventory& project) = 0;
    virtual void Finish(const SetInventory& set) = 0;
};

// A short Chinese report per project; for a set (`summary`), the set's summary after them.
std::unique_ptr<InventoryWriter> MakeTextWriter(std::ostream& out, bool summary);

// One UTF-8 JSON document, laid out as a two-space dump of it would be: see the README for
// its schema, whose version is kInventorySchema.
inline constexpr int kInventorySchema = 1;
std::unique_ptr<InventoryWriter> MakeJsonWriter(std::ostream& out, CountOptions options);

// One row per member: project, member, kind, lines, code, comment, blank, designer,
// procedures, declares, controls, problem.
std::unique_ptr<InventoryWriter> MakeCsvMemberWriter(std::ostream& out);

// One row per reference, after the last project: project, kind, name, guid, version,
// location, detail, conflict, problem.
std::unique_ptr<InventoryWriter> MakeCsvReferenceWriter(std::ostream& out);

}  // namespace tallix::cli

#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/counting/ordered_counter.h"
#include "engine/inventory/inventory_totals.h"
#include "engine/inventory/member_reading.h"
#include "engine/inventory/project_description.h"
#include "engine/inventory/reference_merge.h"
#include "engine/projects/project_set.h"

namespace tallix {

// One project of an inventory.
struct ProjectInventory {
    SetProject project;
    // What its file says; the problem is Missing when the existence test did not find it,
    // and then there is nothing else.
    ProjectDescription description;
    std::vector<InventoryMember> members;  // in project order
    InventoryTotals totals;                // each file once, as in a set
};

// A file that more than one member entry names, in one project or in several.
struct SharedFile {
    std::string path;                   // as the first entry found it
    std::vector<std::string> projects;  // each once, in the set's order
    std::int64_t named = 0;             // how many entries name it

    friend bool operator==(const SharedFile&, const SharedFile&) = default;
};

struct SetInventory {
    InventoryTotals totals;  // each file once over the whole set
    std::vector<SharedFile> shared;
    std::vector<MergedReference> references;
};

// The inventory of every project in order: each one's members read on up to `workers`
// threads, handed to onProject, on the calling thread, as soon as all of it is in, in the
// set's order. Returns what the set comes to.
SetInventory InventorySet(const std::vector<SetProject>& projects, CountOptions options,
                          const std::function<void(const ProjectInventory&)>& onProject,
                          unsigned workers = DefaultWorkers());

}  // namespace tallix

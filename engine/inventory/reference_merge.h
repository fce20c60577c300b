#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/inventory/references.h"

namespace tallix {

// One project's use of a merged reference.
struct ReferenceUse {
    std::string project;
    std::string version;  // as the project asks for it; "" when it names none

    friend bool operator==(const ReferenceUse&, const ReferenceUse&) = default;
};

// A library, component or project that the projects of a set ask for, once.
struct MergedReference {
    std::string key;                                  // ReferenceKey's
    ReferenceKind kind = ReferenceKind::TypeLibrary;  // as the first project names it
    std::string name;                                 // the first name given
    std::string guid;
    std::vector<ReferenceUse> uses;     // in the set's order
    std::vector<std::string> versions;  // the versions asked for, each once, in that order
    // Two projects ask for different versions: a COM library or component by GUID, an
    // assembly or a package by name. A project that names no version asks for none.
    bool Conflict() const { return versions.size() > 1; }

    friend bool operator==(const MergedReference&, const MergedReference&) = default;
};

// What makes two references one: the GUID of a type library, component or COM reference
// (Reference=, Object= and <COMReference> alike, braces and letter case aside); the name of
// an assembly or of a package, letter case aside; the file of a project reference, found
// from the referring project's folder. Nothing for a malformed reference or one without
// what identifies it.
std::optional<std::string> ReferenceKey(const Reference& reference,
                                        const std::string& projectFolder);

// Merges the references of a set's projects, fed in the set's order.
class ReferenceMerger {
public:
    void Add(const std::string& project, const std::vector<Reference>& references);
    std::vector<MergedReference> Result() const { return merged_; }

private:
    std::vector<MergedReference> merged_;
    std::map<std::string, std::size_t> byKey_;
};

}  // namespace tallix

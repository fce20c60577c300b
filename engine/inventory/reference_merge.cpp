#include "engine/inventory/reference_merge.h"

#include <algorithm>

#include "engine/files/file_identity.h"
#include "engine/files/file_system.h"
#include "engine/files/path_glob.h"
#include "engine/text/case_folding.h"

namespace tallix {

namespace {

std::string Folded(std::string_view text) {
    std::string folded;
    for (const char32_t c : FoldedCharacters(text)) {
        folded += std::to_string(static_cast<std::uint32_t>(c)) + ',';
    }
    return folded;
}

std::string ProjectFileKey(const std::string& projectFolder, const std::string& location) {
    const std::string path = MemberPath(projectFolder, location);
    if (const auto found = LocateFile(path)) {
        if (const auto identity = IdentifyFile(*found)) {
            return "file:" + std::to_string(identity->volume) + ":" +
                   std::to_string(identity->index);
        }
    }
    return "path:" + Folded(NormalisedItemPath(path));
}

bool SameVersion(const std::string& a, const std::string& b) {
    return EqualIgnoringCase(a, b);
}

}  // namespace

std::optional<std::string> ReferenceKey(const Reference& reference,
                                        const std::string& projectFolder) {
    if (reference.malformed) {
        return std::nullopt;
    }
    switch (reference.kind) {
        case ReferenceKind::TypeLibrary:
        case ReferenceKind::Component:
        case ReferenceKind::Com:
            if (reference.guid.empty()) {
                return std::nullopt;
            }
            return "guid:" + Folded(reference.guid);
        case ReferenceKind::Assembly:
            return reference.name.empty() ? std::nullopt
                                          : std::optional("assembly:" + Folded(reference.name));
        case ReferenceKind::Package:
            return reference.name.empty() ? std::nullopt
                                          : std::optional("package:" + Folded(reference.name));
        case ReferenceKind::VbProject:
        case ReferenceKind::Project:
            break;
    }
    if (reference.location.empty()) {
        return std::nullopt;
    }
    return "project:" + ProjectFileKey(projectFolder, reference.location);
}

void ReferenceMerger::Add(const std::string& project, const std::vector<Reference>& references) {
    const std::string folder = ProjectFolder(project);
    for (const Reference& reference : references) {
        const auto key = ReferenceKey(reference, folder);
        if (!key) {
            continue;
        }
        const auto [at, added] = byKey_.emplace(*key, merged_.size());
        if (added) {
            merged_.push_back({*key, reference.kind, reference.name, reference.guid, {}, {}});
        }
        MergedReference& merged = merged_[at->second];
        if (merged.name.empty()) {
            merged.name = reference.name;
        }
        const ReferenceUse use{project, reference.version};
        if (std::find(merged.uses.begin(), merged.uses.end(), use) == merged.uses.end()) {
            merged.uses.push_back(use);
        }
        if (!reference.version.empty() &&
            std::none_of(merged.versions.begin(), merged.versions.end(),
                         [&](const std::string& v) { return SameVersion(v, reference.version); })) {
            merged.versions.push_back(reference.version);
        }
    }
}

}  // namespace tallix

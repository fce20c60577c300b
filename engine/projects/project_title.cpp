#include "engine/projects/project_title.h"

namespace tallix {

namespace {

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

// The project's own properties are read in a later change; until then every project takes
// the fallback.
ProjectTitle ReadProjectTitle(const std::string& path, SourceKind) {
    return {BaseName(path), "V1.0"};
}

}  // namespace tallix

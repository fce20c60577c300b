#pragma once

#include <string>

#include "engine/projects/source_kind.h"

namespace tallix {

// The software name and version a project gives itself: what a copyright deposit's pages
// carry in their header unless the user says otherwise.
struct ProjectTitle {
    std::string name;
    std::string version;  // "V1.0"
};

// VB6: the "Title=" line, else "Name=", else the file's base name, each without its quotes;
// "V" + MajorVer + "." + MinorVer (1 and 0 for the one missing). VB.NET: <Product>, else
// <AssemblyName>, else the base name; "V" + <Version> (no second "V"). Whatever the project
// does not give, or a file that cannot be read, falls back to the project file's base name
// and "V1.0"; a property that names another property is not taken.
ProjectTitle ReadProjectTitle(const std::string& path, SourceKind kind);

}  // namespace tallix

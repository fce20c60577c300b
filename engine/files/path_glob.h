#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tallix {

// Item patterns as MSBuild writes them, matched against paths relative to a project folder.
// Either separator may be used on both sides. "*" is any run of characters within one
// folder name, "?" one character, and a "**" segment any number of folders, none included.
// Letters match without regard to case, as on Windows (Unicode simple case folding).
bool GlobMatch(std::string_view pattern, std::string_view path);

// Whether a pattern holds "*" or "?", and so names more than one literal path.
bool HasGlob(std::string_view pattern);

// The entries of a ";"-separated item list, each trimmed of white space; empty ones dropped.
std::vector<std::string> SplitItemList(std::string_view list);

// A relative or absolute item path written the way a project writes it, with "." and
// doubled separators dropped and "name\.." pairs taken out, the names joined by the first
// separator written after the root (a backslash when there is none). A leading ".." stays
// (it leaves the project's folder), and so does a root: "/", "\", a drive ("C:\") or a
// share ("\\server\"), as written. Patterns are normalised alike.
std::string NormalisedItemPath(std::string_view path);

// Whether a path starts at a root rather than at the project's folder.
bool IsRootedPath(std::string_view path);

// The order in which paths are listed: by code point of the case-folded text, so "a.vb" and "B.vb"
// sort by letter whatever their case; paths that differ only in case fall back to the
// bytes, so the order is total.
bool PathLess(std::string_view a, std::string_view b);

// Whether two relative paths name the same file on Windows: equal but for letter case and
// the choice of separator.
bool SamePathIgnoringCase(std::string_view a, std::string_view b);

}  // namespace tallix

#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "engine/files/file_system.h"

namespace tallix {

// Decides whether the walk enters a folder: its name and its path relative to the root.
using FolderFilter = std::function<bool(std::string_view name, std::string_view relative)>;
// Takes a regular file's path relative to the root, folder names joined with "/".
using FileVisitor = std::function<void(const std::string& relative)>;

// A folder that could not be listed, and why.
struct FolderProblem {
    std::string path;  // relative to the root, "/" between names; "" for the root itself
    FileProblem problem;
};
using FolderProblemHandler = std::function<void(FolderProblem problem)>;

// Visits every regular file under `root` (UTF-8; "" is the current folder) and under the
// folders `enter` accepts. Links to folders are never followed, so the walk stays inside
// the root and cannot loop; links to files are visited as the files they name, and links
// that name nothing are passed over. A folder that cannot be listed, the root included
// (missing, no permission, a path too long), is handed to onProblem, and its files that
// were listed before the failure are still visited. The order of visits is unspecified.
void WalkFiles(const std::string& root, const FolderFilter& enter, const FileVisitor& onFile,
               const FolderProblemHandler& onProblem);

// Whether a UTF-8 path names a folder (links followed).
bool IsFolder(const std::string& path);

}  // namespace tallix

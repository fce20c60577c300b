#include "engine/files/folder_walk.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace tallix {

namespace {

namespace fs = std::filesystem;

fs::path FromUtf8(std::string_view utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string ToUtf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

FolderProblem ProblemOf(std::string relative, const std::error_code& error) {
    const bool missing = error == std::errc::no_such_file_or_directory;
    return {std::move(relative),
            {missing ? FileError::Missing : FileError::Unreadable, SystemErrorText(error)}};
}

}  // namespace

void WalkFiles(const std::string& root, const FolderFilter& enter, const FileVisitor& onFile,
               const FolderProblemHandler& onProblem) {
    // An explicit stack rather than recursion: deep trees cannot exhaust the call stack.
    std::vector<std::string> pending{""};
    const fs::path base = root.empty() ? fs::path(".") : FromUtf8(root);
    while (!pending.empty()) {
        const std::string relative = std::move(pending.back());
        pending.pop_back();
        std::error_code error;
        fs::directory_iterator it(relative.empty() ? base : base / FromUtf8(relative), error);
        for (; !error && it != fs::directory_iterator(); it.increment(error)) {
            const std::string name = ToUtf8(it->path().filename());
            const std::string child = relative.empty() ? name : relative + "/" + name;
            // The entry's own type comes with the listing on most systems, so asking it
            // costs no look-up; only a link is followed, to see what it names.
            std::error_code ignored;
            const bool link = it->is_symlink(ignored);
            if (!link && it->is_directory(ignored)) {
                if (enter(name, child)) {
                    pending.push_back(child);
                }
            } else if (it->is_regular_file(ignored)) {
                onFile(child);
            }
        }
        if (error) {
            onProblem(ProblemOf(relative, error));
        }
    }
}

bool IsFolder(const std::string& path) {
    std::error_code ignored;
    return !path.empty() && fs::is_directory(FromUtf8(path), ignored);
}

}  // namespace tallix

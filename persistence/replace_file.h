#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tallix {

// Takes the next part of a file's new content; false once it could not be written, and the
// rest is then not wanted.
using ContentSink = std::function<bool(std::string_view bytes)>;

// Writes a file's new content through the sink, part by part, so that it never needs to be
// in memory whole; returns the reason when it could not make the content, and the file is
// then not replaced.
using ContentWriter = std::function<std::optional<std::string>(const ContentSink& write)>;

// What to do with an existing file in a folder that allows no new file, where the temporary
// file cannot be made.
enum class WhenNoNewFile {
    Fail,          // keep the file as it is
    WriteInPlace,  // truncate it and write it there: a failure part-way leaves part of it
};

// Replaces a file's content so that the path holds either its old content or the whole new
// one, never a part: the bytes go to a temporary file beside it, which then replaces it. A
// file marked read-only is not replaced. On POSIX a symbolic link is followed, through any
// chain of links, to the file it names, which is written (made, when missing) while the
// link stays. Returns the system's reason, or the writer's, when the file was not written.
std::optional<std::string> ReplaceFileContents(const std::string& path, const ContentWriter& write,
                                               WhenNoNewFile noNewFile = WhenNoNewFile::Fail);

// The same for content in hand.
std::optional<std::string> ReplaceFileContents(const std::string& path, const std::string& bytes,
                                               WhenNoNewFile noNewFile = WhenNoNewFile::Fail);

}  // namespace tallix

#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "engine/counting/member_count.h"

namespace tallix::cli {

struct SpoolSettings {
    // Rows are kept in memory up to about this many bytes, then moved to a temporary file.
    std::size_t memoryLimit = std::size_t{1} << 20;
    // Opens the temporary file for reading and writing; nullptr when none can be had.
    std::function<std::FILE*()> openTemporary = [] { return std::tmpfile(); };
};

// The rows of a run, in the order counted, for a second look after the last member: the
// table's widths and the per-file list come only at the end. Memory stays flat however many
// members a project names; without a usable temporary file the rows stay in memory.
class MemberSpool {
public:
    explicit MemberSpool(SpoolSettings settings = {});
    ~MemberSpool();
    MemberSpool(const MemberSpool&) = delete;
    MemberSpool& operator=(const MemberSpool&) = delete;

    void Add(const MemberCount& row);

    // Hands each row to onRow in the order added, until onRow returns false. Returns false
    // when the rows could not all be read back.
    bool ForEach(const std::function<bool(const MemberCount&)>& onRow);

private:
    void MoveToFile();
    bool ReplayFile(const std::function<bool(const MemberCount&)>& onRow, bool& going);

    SpoolSettings settings_;
    std::string memory_;  // encoded rows not in the file, after those that are
    std::FILE* file_ = nullptr;
    std::uint64_t fileBytes_ = 0;  // encoded rows written to the file and flushed
    bool fileUsable_ = true;       // false once the file could not be made or written
};

}  // namespace tallix::cli

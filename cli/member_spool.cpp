#include "cli/member_spool.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace tallix::cli {
namespace {

// A row as stored: the four numbers, the error and the three texts' lengths, then the texts. The
// bytes are read back only by the process that wrote them, so no byte order is fixed.
struct RowHead {
    std::int64_t lines;
    std::int64_t code;
    std::int64_t comment;
    std::int64_t blank;
    std::uint64_t error;  // a FileError
    std::uint64_t nameSize;
    std::uint64_t pathSize;
    std::uint64_t detailSize;
};

constexpr std::size_t kReadBlock = 256 * 1024;

void AppendRow(std::string& bytes, const MemberCount& row) {
    const RowHead head{row.lines,
                       row.tally.code,
                       row.tally.comment,
                       row.tally.blank,
                       static_cast<std::uint64_t>(row.problem.error),
                       row.name.size(),
                       row.path.size(),
                       row.problem.detail.size()};
    bytes.append(reinterpret_cast<const char*>(&head), sizeof head);
    bytes += row.name;
    bytes += row.path;
    bytes += row.problem.detail;
}

// Hands on every whole row at the start of bytes; returns how many bytes they took.
std::size_t ReplayRows(std::string_view bytes, const std::function<bool(const MemberCount&)>& onRow,
                       bool& going) {
    std::size_t used = 0;
    MemberCount row;
    while (going && bytes.size() - used >= sizeof(RowHead)) {
        RowHead head;
        std::memcpy(&head, bytes.data() + used, sizeof head);
        // Each size is at most the bytes left, so their sum cannot wrap.
        const std::size_t left = bytes.size() - used - sizeof head;
        if (head.nameSize > left || head.pathSize > left || head.detailSize > left ||
            head.nameSize + head.pathSize + head.detailSize > left) {
            break;
        }
        const char* text = bytes.data() + used + sizeof head;
        row.lines = head.lines;
        row.tally = {head.code, head.comment, head.blank};
        row.problem.error = static_cast<FileError>(head.error);
        row.name.assign(text, head.nameSize);
        row.path.assign(text + head.nameSize, head.pathSize);
        row.problem.detail.assign(text + head.nameSize + head.pathSize, head.detailSize);
        used += sizeof head + head.nameSize + head.pathSize + head.detailSize;
        going = onRow(row);
    }
    return used;
}

}  // namespace

MemberSpool::MemberSpool(SpoolSettings settings) : settings_(std::move(settings)) {
}

MemberSpool::~MemberSpool() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

void MemberSpool::Add(const MemberCount& row) {
    AppendRow(memory_, row);
    if (memory_.size() >= settings_.memoryLimit) {
        MoveToFile();
    }
}

void MemberSpool::MoveToFile() {
    if (!fileUsable_) {
        return;
    }
    if (file_ == nullptr) {
        file_ = settings_.openTemporary();
        // Unbuffered: a failed write must not leave bytes behind that a later seek flushes.
        if (file_ == nullptr || std::setvbuf(file_, nullptr, _IONBF, 0) != 0) {
            fileUsable_ = false;
            return;
        }
    }
    // On failure the file keeps its first fileBytes_ good bytes and the rest stays here.
    if (std::fseek(file_, 0, SEEK_END) != 0 ||
        std::fwrite(memory_.data(), 1, memory_.size(), file_) != memory_.size()) {
        fileUsable_ = false;
        return;
    }
    fileBytes_ += memory_.size();
    memory_.clear();
}

bool MemberSpool::ReplayFile(const std::function<bool(const MemberCount&)>& onRow, bool& going) {
    if (std::fseek(file_, 0, SEEK_SET) != 0) {
        return false;
    }
    const auto block = std::make_unique<char[]>(kReadBlock);
    std::string pending;
    for (std::uint64_t left = fileBytes_; left > 0 && going;) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(left, kReadBlock));
        const std::size_t got = std::fread(block.get(), 1, want, file_);
        if (got == 0) {
            return false;
        }
        left -= got;
        pending.append(block.get(), got);
        pending.erase(0, ReplayRows(pending, onRow, going));
    }
    return !going || pending.empty();
}

bool MemberSpool::ForEach(const std::function<bool(const MemberCount&)>& onRow) {
    bool going = true;
    if (fileBytes_ > 0 && !ReplayFile(onRow, going)) {
        return false;
    }
    if (going) {
        ReplayRows(memory_, onRow, going);
    }
    return true;
}

}  // namespace tallix::cli

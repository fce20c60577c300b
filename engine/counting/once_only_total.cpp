#include "engine/counting/once_only_total.h"

#include "engine/counting/line_counter.h"

namespace tallix {

namespace {

std::size_t Hash(const FileIdentity& identity) {
    std::uint64_t h = identity.index * 0x9E3779B97F4A7C15 ^ identity.volume;
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9;
    return static_cast<std::size_t>(h ^ (h >> 32));
}

void Subtract(LineTally& from, const LineTally& tally) {
    from.code -= tally.code;
    from.comment -= tally.comment;
    from.blank -= tally.blank;
}

void AddTo(LineTally& to, const LineTally& tally) {
    to.code += tally.code;
    to.comment += tally.comment;
    to.blank += tally.blank;
}

}  // namespace

void OnceOnlyTotal::Add(const MemberCount& member, SourceKind kind) {
    if (member.problem.error != FileError::None || !member.identity) {
        return;
    }
    const Seen counted = kind == SourceKind::Vb6 ? kVb6 : kVbNet;
    Seen& seen = Slot(*member.identity);
    if (seen == kFree) {
        seen = counted;
        ++used_;
        AddTo(tally_, member.tally);
    } else if (seen == kVb6 && counted == kVbNet) {
        // What the VB6 rules counted of the file goes, what the VB.NET rules count comes:
        // the file is read again, which only happens for a file named both ways.
        Subtract(tally_, TallyFile(member.path, SourceKind::Vb6).tally);
        AddTo(tally_, member.tally);
        seen = kVbNet;
    }
}

OnceOnlyTotal::Seen& OnceOnlyTotal::Slot(const FileIdentity& identity) {
    if ((used_ + 1) * 2 > seen_.size()) {
        Grow();
    }
    const std::size_t mask = seen_.size() - 1;
    for (std::size_t at = Hash(identity) & mask;; at = (at + 1) & mask) {
        if (seen_[at] == kFree) {
            identities_[at] = identity;
            return seen_[at];
        }
        if (identities_[at] == identity) {
            return seen_[at];
        }
    }
}

void OnceOnlyTotal::Grow() {
    std::vector<FileIdentity> identities = std::move(identities_);
    std::vector<Seen> seen = std::move(seen_);
    const std::size_t size = seen.empty() ? 64 : seen.size() * 2;
    identities_.assign(size, {});
    seen_.assign(size, kFree);
    const std::size_t mask = size - 1;
    for (std::size_t i = 0; i < seen.size(); ++i) {
        if (seen[i] == kFree) {
            continue;
        }
        std::size_t at = Hash(identities[i]) & mask;
        while (seen_[at] != kFree) {
            at = (at + 1) & mask;
        }
        identities_[at] = identities[i];
        seen_[at] = seen[i];
    }
}

}  // namespace tallix

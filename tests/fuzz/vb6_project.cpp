// The VB6 project reader on arbitrary bytes: one name per member line, in order, each taken
// from its own line as the member rules say, valid UTF-8 and free of line ends.

#include <array>
#include <string>

#include "engine/projects/project_readers.h"
#include "engine/text/text_lines.h"
#include "fuzz_support.h"

namespace tallix::fuzz {
namespace {

struct MemberPrefix {
    std::string_view text;
    bool namedAfterSemicolon;
};

constexpr std::array<MemberPrefix, 6> kPrefixes{{
    {"Form=", false},
    {"Module=", true},
    {"Class=", true},
    {"UserControl=", false},
    {"PropertyPage=", false},
    {"UserDocument=", false},
}};

const MemberPrefix* PrefixOf(std::string_view line) {
    for (const auto& prefix : kPrefixes) {
        if (line.starts_with(prefix.text)) {
            return &prefix;
        }
    }
    return nullptr;
}

void CheckName(const std::string& name, std::string_view line, const MemberPrefix& prefix) {
    Require(IsValidUtf8(name), "a member name is valid UTF-8");
    Require(!HasLineEndByte(name), "a member name holds no CR or LF");
    if (!prefix.namedAfterSemicolon) {
        Require(line.substr(line.find('=') + 1) == name,
                "a form-like member is everything after the first =");
        return;
    }
    Require(name.empty() || (name.front() != ' ' && name.back() != ' '),
            "a module or class name is trimmed");
    Require(line.find(name) != std::string_view::npos, "a module or class name is in its line");
}

}  // namespace
}  // namespace tallix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallix::fuzz;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> names = tallix::ReadVb6Project(bytes);
    std::size_t next = 0;
    for (const std::string& line : LinesAsRead(bytes, tallix::EncodingRule::AnsiUnlessMarked)) {
        const MemberPrefix* prefix = PrefixOf(line);
        if (prefix == nullptr) {
            continue;
        }
        Require(next < names.size(), "every member line gives a name");
        CheckName(names[next++], line, *prefix);
    }
    Require(next == names.size(), "every name comes from a member line");
    return 0;
}

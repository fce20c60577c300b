// The VB.NET project reader on arbitrary bytes: names come in order from Compile lines,
// each quoted in its own line, never an assembly-information or designer file, valid UTF-8
// and free of line ends.

#include <string>

#include "engine/projects/project_readers.h"
#include "engine/text/text_lines.h"
#include "fuzz_support.h"

namespace tallix::fuzz {
namespace {

bool IsCompileLine(std::string_view line) {
    const auto first = line.find_first_not_of(' ');
    return first != std::string_view::npos && line.substr(first).starts_with("<Compile Include=");
}

void CheckName(const std::string& name) {
    Require(IsValidUtf8(name), "a member name is valid UTF-8");
    Require(!HasLineEndByte(name), "a member name holds no CR or LF");
    Require(name.find("AssemblyInfo.") == std::string::npos &&
                name.find(".Designer.") == std::string::npos,
            "assembly information and designer files are never members");
}

}  // namespace
}  // namespace tallix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallix::fuzz;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> names = tallix::ReadVbNetProject(bytes);
    std::size_t next = 0;
    for (const std::string& line : LinesAsRead(bytes, tallix::EncodingRule::Xml)) {
        if (next == names.size()) {
            break;
        }
        if (!IsCompileLine(line)) {
            continue;
        }
        // A Compile line that names nothing is passed over; one that names a member holds
        // it between quotes.
        if (line.find('"' + names[next] + '"') == std::string::npos) {
            continue;
        }
        CheckName(names[next++]);
    }
    Require(next == names.size(), "every name comes, in order, quoted from a Compile line");
    return 0;
}

// The SDK-style project scanner on arbitrary text: whatever the text, it ends, it reads the
// same however the text is cut into pieces, and every pattern it returns is a trimmed,
// non-empty entry of a ";" list. Each pattern is then matched against a few paths, which
// must end too.

#include <string>

#include "engine/files/path_glob.h"
#include "engine/projects/sdk_project.h"
#include "fuzz_support.h"

namespace tallix::fuzz {
namespace {

void CheckPatterns(const std::vector<std::string>& patterns) {
    for (const std::string& pattern : patterns) {
        Require(!pattern.empty(), "a pattern is never empty");
        Require(pattern.find(';') == std::string::npos, "a pattern is one entry of its list");
        Require(pattern.front() != ' ' && pattern.back() != ' ', "a pattern is trimmed");
        for (const char* path : {"a.vb", "Sub/B.vb", "x/y/z/w/v.vb", ".."}) {
            const bool matched = GlobMatch(pattern, path);
            Require(matched == GlobMatch(pattern, path), "matching is repeatable");
        }
    }
}

}  // namespace
}  // namespace tallix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallix::fuzz;
    if (size == 0) {
        return 0;
    }
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const tallix::SdkProjectScan whole = tallix::ScanSdkProject(text);
    tallix::SdkProjectScanner pieces;
    const std::size_t step = data[0] % 16 + 1;
    for (std::size_t i = 0; i < text.size(); i += step) {
        pieces.Feed(text.substr(i, step));
    }
    const tallix::SdkProjectScan& cut = pieces.Result();
    Require(cut.sdkStyle == whole.sdkStyle && cut.defaultItems == whole.defaultItems,
            "the cut text reads as the whole");
    Require(cut.rules.size() == whole.rules.size(), "the cut text has the same rules");
    for (std::size_t i = 0; i < whole.rules.size(); ++i) {
        Require(cut.rules[i].action == whole.rules[i].action &&
                    cut.rules[i].patterns == whole.rules[i].patterns &&
                    cut.rules[i].excludes == whole.rules[i].excludes,
                "the cut text has the same rules");
        CheckPatterns(whole.rules[i].patterns);
        CheckPatterns(whole.rules[i].excludes);
    }
    return 0;
}

// The save dialog's name normalisation on arbitrary paths, folders kept or upper-cased:
// normalising twice changes nothing, kept folders are kept as given, the rest ends up in
// upper case and ends with the pattern's extension. The first byte picks the pattern; the rest is
// the path, UTF-8 or not.

#include <array>
#include <string>

#include "fuzz_support.h"
#include "ui/dialog_paths.h"

namespace tallix::fuzz {
namespace {

// The report dialog's own pattern first, then others of the same form.
constexpr std::array<const char*, 4> kPatterns{"*.LOG", "*.log", "*.Txt", "*"};

void CheckNormalisation(const std::string& path, const std::string& pattern,
                        tallix::FolderCase folders) {
    const std::string once = NormaliseSavePath(path, pattern, folders);
    Require(NormaliseSavePath(once, pattern, folders) == once,
            "normalising a normalised name changes nothing");
    const std::size_t dot = pattern.find('.');
    const std::string extension = dot == std::string::npos ? "" : UpperCase(pattern.substr(dot));
    Require(once.ends_with(extension), "the name ends with the pattern's extension");
    const std::size_t separator = path.find_last_of("/\\");
    const std::size_t nameStart =
        separator == std::string::npos || folders == FolderCase::UpperCased ? 0 : separator + 1;
    Require(once.starts_with(path.substr(0, nameStart)), "kept folders are kept as given");
    const std::string name = once.substr(nameStart);
    Require(name == UpperCase(name), "what is upper-cased is in upper case");
    for (const char c : name) {
        Require(c < 'a' || c > 'z', "no ASCII letter of what is upper-cased is in lower case");
    }
}

}  // namespace
}  // namespace tallix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallix::fuzz;
    if (size == 0) {
        return 0;
    }
    const std::string path(reinterpret_cast<const char*>(data) + 1, size - 1);
    const char* pattern = kPatterns[data[0] % kPatterns.size()];
    CheckNormalisation(path, pattern, tallix::FolderCase::Kept);
    CheckNormalisation(path, pattern, tallix::FolderCase::UpperCased);
    return 0;
}

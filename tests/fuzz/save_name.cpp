// The save dialog's name normalisation on arbitrary paths: normalising twice changes
// nothing, the folders are kept as given, the file name ends up in upper case and ends
// with the pattern's extension. The first byte picks the pattern and whether the rest is
// read as UTF-8 or as raw UTF-16 (lone surrogates included).

#include <QString>
#include <algorithm>
#include <array>

#include "fuzz_support.h"
#include "ui/dialog_paths.h"

namespace tallix::fuzz {
namespace {

// The report dialog's own pattern first, then others of the same form.
constexpr std::array<const char16_t*, 4> kPatterns{u"*.LOG", u"*.log", u"*.Txt", u"*"};

QString PathFrom(std::uint8_t mode, const char* bytes, std::size_t size) {
    if ((mode & 0x80) == 0) return QString::fromUtf8(bytes, static_cast<qsizetype>(size));
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes),
                              static_cast<qsizetype>(size / 2));
}

void CheckNormalisation(const QString& path, const QString& pattern) {
    const QString once = NormaliseSavePath(path, pattern);
    Require(NormaliseSavePath(once, pattern) == once,
            "normalising a normalised name changes nothing");
    const qsizetype dot = pattern.indexOf(u'.');
    const QString extension = dot < 0 ? QString() : pattern.mid(dot).toUpper();
    Require(once.endsWith(extension), "the name ends with the pattern's extension");
    const qsizetype nameStart = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1;
    Require(once.startsWith(path.first(nameStart)), "the folders are kept as given");
    const QString name = once.mid(nameStart);
    Require(name == name.toUpper(), "the file name is in upper case");
}

}  // namespace
}  // namespace tallix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallix::fuzz;
    if (size == 0) return 0;
    const QString path = PathFrom(data[0], reinterpret_cast<const char*>(data) + 1, size - 1);
    const QString pattern = QString::fromUtf16(kPatterns[data[0] % kPatterns.size()]);
    CheckNormalisation(path, pattern);
    return 0;
}

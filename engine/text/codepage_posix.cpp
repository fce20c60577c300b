// POSIX side of the code-page conversions: code page 936 through iconv, with the cells that
// iconv leaves empty and Windows maps to the private-use area.

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string>

#include "engine/text/codepage.h"

namespace tallix {

namespace {
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (Valid()) {
            iconv_close(cd_);
        }
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as possible; returns false at a sequence it cannot convert, with
    // input pointing at it.
    bool Convert(std::string_view& input, std::string& out) {
        char buffer[4096];
        while (!input.empty()) {
            char* in = const_cast<char*>(input.data());
            std::size_t inLeft = input.size();
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t result = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
            out.append(buffer, outPtr);
            input.remove_prefix(input.size() - inLeft);
            if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
                return false;
            }
        }
        return true;
    }

private:
    iconv_t cd_;
};

// Converts with iconv; where it meets input it cannot convert, `onBad` writes a stand-in
// and says how many input bytes it stood for.
template <typename OnBad>
std::string ConvertLeniently(const char* to, const char* from, std::string_view input,
                             OnBad onBad) {
    std::string out;
    out.reserve(input.size() * 3 / 2);
    Iconv converter(to, from);
    while (!input.empty()) {
        if (converter.Valid() && converter.Convert(input, out)) {
            break;
        }
        input.remove_prefix(std::min(input.size(), onBad(out, input)));
    }
    return out;
}

bool IsLeadByte(unsigned char b) {
    return b >= 0x81 && b <= 0xFE;
}

// Cells of code page 936 that iconv leaves empty and Windows maps to the private-use area,
// row by row (0x7F is never a trail byte): GBK's three user-defined areas, and after them,
// from U+E766 on in byte order, every other cell that GBK leaves empty.
struct PrivateUseArea {
    unsigned char firstLead, lastLead, firstTrail, lastTrail;
    char32_t firstCharacter;

    unsigned RowSize() const {
        return lastTrail - firstTrail + 1u - (firstTrail < 0x7F && lastTrail > 0x7F ? 1u : 0u);
    }
    char32_t LastCharacter() const {
        return firstCharacter + (lastLead - firstLead + 1u) * RowSize() - 1u;
    }
};

// clang-format off
constexpr PrivateUseArea kPrivateUseAreas[] = {
    {0xAA, 0xAF, 0xA1, 0xFE, 0xE000},
    {0xF8, 0xFE, 0xA1, 0xFE, 0xE234},
    {0xA1, 0xA7, 0x40, 0xA0, 0xE4C6},
    {0xA2, 0xA2, 0xAB, 0xB0, 0xE766},
    {0xA2, 0xA2, 0xE3, 0xE4, 0xE76C},
    {0xA2, 0xA2, 0xEF, 0xF0, 0xE76E},
    {0xA2, 0xA2, 0xFD, 0xFE, 0xE770},
    {0xA4, 0xA4, 0xF4, 0xFE, 0xE772},
    {0xA5, 0xA5, 0xF7, 0xFE, 0xE77D},
    {0xA6, 0xA6, 0xB9, 0xC0, 0xE785},
    {0xA6, 0xA6, 0xD9, 0xDF, 0xE78D},
    {0xA6, 0xA6, 0xEC, 0xED, 0xE794},
    {0xA6, 0xA6, 0xF3, 0xF3, 0xE796},
    {0xA6, 0xA6, 0xF6, 0xFE, 0xE797},
    {0xA7, 0xA7, 0xC2, 0xD0, 0xE7A0},
    {0xA7, 0xA7, 0xF2, 0xFE, 0xE7AF},
    {0xA8, 0xA8, 0x96, 0xA0, 0xE7BC},
    {0xA8, 0xA8, 0xBC, 0xBC, 0xE7C7},
    {0xA8, 0xA8, 0xBF, 0xBF, 0xE7C8},
    {0xA8, 0xA8, 0xC1, 0xC4, 0xE7C9},
    {0xA8, 0xA8, 0xEA, 0xFE, 0xE7CD},
    {0xA9, 0xA9, 0x58, 0x58, 0xE7E2},
    {0xA9, 0xA9, 0x5B, 0x5B, 0xE7E3},
    {0xA9, 0xA9, 0x5D, 0x5F, 0xE7E4},
    {0xA9, 0xA9, 0x89, 0x95, 0xE7E7},
    {0xA9, 0xA9, 0x97, 0xA3, 0xE7F4},
    {0xA9, 0xA9, 0xF0, 0xFE, 0xE801},
    {0xD7, 0xD7, 0xFA, 0xFE, 0xE810},
    {0xFE, 0xFE, 0x50, 0xA0, 0xE815},
};
// clang-format on

std::optional<char32_t> PrivateUseCharacter(unsigned char lead, unsigned char trail) {
    for (const auto& area : kPrivateUseAreas) {
        if (lead < area.firstLead || lead > area.lastLead || trail < area.firstTrail ||
            trail > area.lastTrail || trail == 0x7F) {
            continue;
        }
        const unsigned column = trail - area.firstTrail - (trail > 0x7F && area.firstTrail < 0x7F);
        return area.firstCharacter + (lead - area.firstLead) * area.RowSize() + column;
    }
    return std::nullopt;
}

std::optional<std::string> PrivateUseBytes(char32_t c) {
    for (const auto& area : kPrivateUseAreas) {
        if (c < area.firstCharacter || c > area.LastCharacter()) {
            continue;
        }
        const unsigned index = c - area.firstCharacter;
        unsigned trail = area.firstTrail + index % area.RowSize();
        if (area.firstTrail < 0x7F && trail >= 0x7F) {
            ++trail;
        }
        return std::string{static_cast<char>(area.firstLead + index / area.RowSize()),
                           static_cast<char>(trail)};
    }
    return std::nullopt;
}

// The private-use characters above are all three bytes long in UTF-8.
std::string ThreeByteUtf8(char32_t c) {
    return {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
            static_cast<char>(0x80 | (c & 0x3F))};
}

std::optional<char32_t> ThreeByteCharacter(std::string_view s) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    if (s.size() < 3 || (byte(0) & 0xF0) != 0xE0 || (byte(1) & 0xC0) != 0x80 ||
        (byte(2) & 0xC0) != 0x80) {
        return std::nullopt;
    }
    return static_cast<char32_t>((byte(0) & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F));
}

// One character of UTF-8, or one stray byte.
std::size_t Utf8CharacterLength(std::string_view s) {
    std::size_t length = 1;
    while (length < 4 && length < s.size() &&
           (static_cast<unsigned char>(s[length]) & 0xC0) == 0x80) {
        ++length;
    }
    return (static_cast<unsigned char>(s[0]) >= 0xC0) ? length : 1;
}

}  // namespace

std::string AnsiToUtf8(std::string_view ansi) {
    // A lead byte and a trail byte are one character to Windows even where its table has
    // none, so such a pair is taken whole: its second byte may be a backslash.
    return ConvertLeniently("UTF-8", "CP936", ansi, [](std::string& out, std::string_view rest) {
        const auto lead = static_cast<unsigned char>(rest[0]);
        const auto trail = rest.size() > 1 ? static_cast<unsigned char>(rest[1]) : 0;
        if (!IsLeadByte(lead) || !IsTrailByte(trail)) {
            out += kReplacement;
            return std::size_t{1};
        }
        const auto privateUse = PrivateUseCharacter(lead, trail);
        out += privateUse ? ThreeByteUtf8(*privateUse) : std::string(kReplacement);
        return std::size_t{2};
    });
}

std::string Utf8ToAnsi(std::string_view utf8) {
    return ConvertLeniently("CP936", "UTF-8", utf8, [](std::string& out, std::string_view rest) {
        const auto character = ThreeByteCharacter(rest);
        const auto bytes = character ? PrivateUseBytes(*character) : std::nullopt;
        out += bytes.value_or("?");
        return Utf8CharacterLength(rest);
    });
}

}  // namespace tallix

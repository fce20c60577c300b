#include "engine/text/encoding_sniffer.h"

#include <algorithm>
#include <array>

namespace tallix {

namespace {

bool IsXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

struct NamedEncoding {
    std::string_view name;
    TextEncoding encoding;
};

constexpr std::array<NamedEncoding, 14> kEncodingNames{{
    {"utf-8", TextEncoding::Utf8},
    {"utf8", TextEncoding::Utf8},
    {"us-ascii", TextEncoding::Utf8},
    {"ascii", TextEncoding::Utf8},
    {"gb2312", TextEncoding::Ansi},
    {"gbk", TextEncoding::Ansi},
    {"gb18030", TextEncoding::Ansi},
    {"cp936", TextEncoding::Ansi},
    {"x-gbk", TextEncoding::Ansi},
    {"windows-936", TextEncoding::Ansi},
    {"windows-1252", TextEncoding::Windows1252},
    {"cp1252", TextEncoding::Windows1252},
    {"iso-8859-1", TextEncoding::Windows1252},
    {"latin1", TextEncoding::Windows1252},
}};

// "<?" as XML writes it in UTF-16 without a mark.
std::optional<TextEncoding> UnmarkedUtf16(std::string_view head) {
    if (head.starts_with(std::string_view("<\0?\0", 4))) {
        return TextEncoding::Utf16Le;
    }
    if (head.starts_with(std::string_view("\0<\0?", 4))) {
        return TextEncoding::Utf16Be;
    }
    return std::nullopt;
}

}  // namespace

std::optional<TextEncoding> XmlDeclaredEncoding(std::string_view text) {
    if (text.starts_with(kUtf8Bom)) {
        text.remove_prefix(kUtf8Bom.size());
    }
    if (!text.starts_with("<?xml") || text.size() < 6 || !IsXmlSpace(text[5])) {
        return std::nullopt;
    }
    const std::string_view declaration = text.substr(0, text.find("?>"));
    std::size_t at = declaration.find("encoding");
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    at += 8;
    while (at < declaration.size() && IsXmlSpace(declaration[at])) {
        ++at;
    }
    if (at >= declaration.size() || declaration[at] != '=') {
        return std::nullopt;
    }
    ++at;
    while (at < declaration.size() && IsXmlSpace(declaration[at])) {
        ++at;
    }
    if (at >= declaration.size() || (declaration[at] != '"' && declaration[at] != '\'')) {
        return std::nullopt;
    }
    const auto close = declaration.find(declaration[at], at + 1);
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string name = LowerAscii(declaration.substr(at + 1, close - at - 1));
    const auto known = std::find_if(kEncodingNames.begin(), kEncodingNames.end(),
                                    [&](const NamedEncoding& entry) { return entry.name == name; });
    if (known == kEncodingNames.end()) {
        return std::nullopt;
    }
    return known->encoding;
}

bool EncodingSniffer::Feed(std::string_view bytes) {
    if (decided_) {
        return true;
    }
    if (!headRead_) {
        head_.append(bytes.substr(0, kHeadSize - std::min(kHeadSize, head_.size())));
        const std::size_t wanted = rule_ == EncodingRule::Xml ? kHeadSize : kUtf8Bom.size();
        // A UTF-16 mark is whole at two bytes.
        if (head_.size() >= wanted || EncodingOfMark(head_)) {
            headRead_ = true;
            decided_ = HeadDecides();
        }
    }
    if (rule_ != EncodingRule::AnsiUnlessMarked && utf8Valid_) {
        CheckUtf8(bytes);
    }
    // What the head says comes first: a declared Windows-1252 is not valid UTF-8 either.
    if (!decided_ && headRead_ && !utf8Valid_) {
        decided_ = TextEncoding::Ansi;
    }
    return decided_.has_value();
}

std::optional<TextEncoding> EncodingSniffer::HeadDecides() const {
    if (const auto marked = EncodingOfMark(head_)) {
        return marked;
    }
    switch (rule_) {
        case EncodingRule::AnsiUnlessMarked:
            return TextEncoding::Ansi;
        case EncodingRule::Utf8UnlessInvalid:
            return std::nullopt;
        case EncodingRule::Xml:
            break;
    }
    if (const auto utf16 = UnmarkedUtf16(head_)) {
        return utf16;
    }
    // A declared UTF-8 has to be seen whole before it is believed.
    const auto declared = XmlDeclaredEncoding(head_);
    if (declared && *declared != TextEncoding::Utf8) {
        return declared;
    }
    return std::nullopt;
}

void EncodingSniffer::CheckUtf8(std::string_view bytes) {
    std::string joined;
    if (!utf8Held_.empty()) {
        joined = utf8Held_ + std::string(bytes);
        bytes = joined;
        utf8Held_.clear();
    }
    for (std::size_t at = 0; at < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        if (byte < 0x80) {
            ++at;
            continue;
        }
        const std::string_view rest = bytes.substr(at);
        const std::size_t length = Utf8SequenceLength(rest);
        if (length > 0) {
            at += length;
        } else if (IsUtf8PrefixCut(rest)) {
            utf8Held_ = std::string(rest);
            return;
        } else {
            utf8Valid_ = false;
            return;
        }
    }
}

TextEncoding EncodingSniffer::Result() const {
    if (decided_) {
        return *decided_;
    }
    // A text shorter than a head: what there is of it decides.
    if (!headRead_) {
        if (const auto fromHead = HeadDecides()) {
            return *fromHead;
        }
    }
    const bool valid = utf8Valid_ && utf8Held_.empty();
    return valid ? TextEncoding::Utf8 : TextEncoding::Ansi;
}

}  // namespace tallix

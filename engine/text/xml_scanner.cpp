#include "engine/text/xml_scanner.h"

#include <algorithm>

#include "engine/text/text_decoding.h"

namespace tallix {

namespace {

bool IsXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A character a numeric reference names, or U+FFFD for one no text may hold.
void AppendReferenced(std::string& out, unsigned long point) {
    if (point == 0 || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
        out += "\xEF\xBF\xBD";
    } else {
        AppendUtf8(out, static_cast<char32_t>(point));
    }
}

// The text between "<" and ">" of an element tag.
struct ParsedTag {
    XmlTag tag;
    bool closing = false;
};

ParsedTag ParseTag(std::string_view text) {
    ParsedTag parsed;
    XmlTag& tag = parsed.tag;
    if (text.starts_with('/')) {
        parsed.closing = true;
        text.remove_prefix(1);
    }
    if (text.ends_with('/')) {
        tag.empty = true;
        text.remove_suffix(1);
    }
    std::size_t i = 0;
    while (i < text.size() && !IsXmlSpace(text[i])) {
        ++i;
    }
    tag.name = text.substr(0, i);
    while (i < text.size()) {
        while (i < text.size() && IsXmlSpace(text[i])) {
            ++i;
        }
        const std::size_t keyStart = i;
        while (i < text.size() && text[i] != '=' && !IsXmlSpace(text[i])) {
            ++i;
        }
        const std::string_view key = text.substr(keyStart, i - keyStart);
        while (i < text.size() && IsXmlSpace(text[i])) {
            ++i;
        }
        if (i >= text.size() || text[i] != '=') {
            // A name without a value: the next one starts here, unless nothing was read.
            i += key.empty() ? 1 : 0;
            continue;
        }
        ++i;
        while (i < text.size() && IsXmlSpace(text[i])) {
            ++i;
        }
        if (i >= text.size() || (text[i] != '"' && text[i] != '\'')) {
            continue;
        }
        const char quote = text[i++];
        const auto close = text.find(quote, i);
        if (close == std::string_view::npos) {
            break;
        }
        tag.attributes.emplace_back(key, text.substr(i, close - i));
        i = close + 1;
    }
    return parsed;
}

}  // namespace

std::optional<std::string_view> XmlTag::Attribute(std::string_view wanted) const {
    for (const auto& [key, value] : attributes) {
        if (key == wanted) {
            return value;
        }
    }
    return std::nullopt;
}

void XmlScanner::Feed(std::string_view text) {
    std::size_t textStart = 0;  // of the character data not yet handed on
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (!inTag_) {
            if (c == '<') {
                if (at > textStart) {
                    handler_.OnText(text.substr(textStart, at - textStart));
                }
                inTag_ = true;
                tagTooLong_ = false;
                quote_ = 0;
                tag_.clear();
            }
            continue;
        }
        const bool comment = tag_.starts_with("!--");
        const bool cdata = tag_.starts_with("![CDATA[");
        if (c == '>' && quote_ == 0 &&
            (comment ? tag_.ends_with("--") : !cdata || tag_.ends_with("]]"))) {
            inTag_ = false;
            textStart = at + 1;
            if (!comment && !cdata && !tagTooLong_) {
                EndTag();
            }
            continue;
        }
        // Quotes count only inside element tags: comments and the like may hold lone ones.
        if (!comment && !cdata && (tag_.empty() || (tag_[0] != '!' && tag_[0] != '?'))) {
            if (quote_ == 0 && (c == '"' || c == '\'')) {
                quote_ = c;
            } else if (c == quote_) {
                quote_ = 0;
            }
        }
        if (tag_.size() < kMaxTag) {
            tag_ += c;
        } else if (!comment && !cdata) {
            tagTooLong_ = true;
        } else {
            // Only the end of a long comment matters.
            tag_.erase(3, tag_.size() - 8);
            tag_ += c;
        }
    }
    if (!inTag_ && textStart < text.size()) {
        handler_.OnText(text.substr(textStart));
    }
}

void XmlScanner::EndTag() {
    if (tag_.empty() || tag_[0] == '?' || tag_[0] == '!') {
        return;
    }
    const ParsedTag parsed = ParseTag(tag_);
    if (parsed.closing) {
        handler_.OnEndTag(parsed.tag.name);
    } else {
        handler_.OnStartTag(parsed.tag);
    }
}

std::string DecodeXmlReferences(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto semicolon = value[i] == '&' ? value.find(';', i) : std::string_view::npos;
        if (semicolon == std::string_view::npos || semicolon - i > 10) {
            out += value[i];
            continue;
        }
        const std::string_view name = value.substr(i + 1, semicolon - i - 1);
        static constexpr std::pair<std::string_view, char> kNamed[] = {
            {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
        const auto named = std::find_if(std::begin(kNamed), std::end(kNamed),
                                        [&](const auto& entry) { return entry.first == name; });
        if (named != std::end(kNamed)) {
            out += named->second;
        } else if (name.size() > 1 && name[0] == '#') {
            const bool hex = name[1] == 'x';
            const std::string digits(name.substr(hex ? 2 : 1));
            const auto valid = !digits.empty() && digits.size() <= 8 &&
                               digits.find_first_not_of(hex ? "0123456789abcdefABCDEF"
                                                            : "0123456789") == std::string::npos;
            if (!valid) {
                out += value[i];
                continue;
            }
            AppendReferenced(out, std::stoul(digits, nullptr, hex ? 16 : 10));
        } else {
            out += value[i];
            continue;
        }
        i = semicolon;
    }
    return out;
}

std::string_view TrimXmlSpace(std::string_view text) {
    while (!text.empty() && IsXmlSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsXmlSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace tallix

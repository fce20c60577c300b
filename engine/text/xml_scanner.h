#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tallix {

// A start tag or an empty-element tag. The views point into the scanner and last for the
// call that hands the tag on.
struct XmlTag {
    std::string_view name;
    // As written: character references are not decoded. Attributes without a quoted value
    // are passed over.
    std::vector<std::pair<std::string_view, std::string_view>> attributes;
    bool empty = false;  // written as <Name ... />

    std::optional<std::string_view> Attribute(std::string_view wanted) const;
};

// What a scan finds, in document order.
class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    virtual void OnStartTag(const XmlTag& tag) = 0;
    virtual void OnEndTag(std::string_view name) = 0;
    // Character data between tags, in pieces of any size, references not decoded.
    virtual void OnText(std::string_view text) = 0;
};

// A tolerant scan of XML fed as decoded text in pieces of any size: it finds tags and the
// text between them, skips comments, CDATA sections, processing instructions and
// declarations, and never fails; malformed parts are passed over. Memory stays bounded
// whatever the text: a tag longer than kMaxTag is no tag of interest and is skipped.
class XmlScanner {
public:
    static constexpr std::size_t kMaxTag = 1 << 20;

    explicit XmlScanner(XmlHandler& handler) : handler_(handler) {}

    void Feed(std::string_view text);

private:
    void EndTag();

    XmlHandler& handler_;
    bool inTag_ = false;
    bool tagTooLong_ = false;
    char quote_ = 0;
    std::string tag_;
};

// Replaces the five named references and numeric ones; anything else stays as written.
std::string DecodeXmlReferences(std::string_view value);

// Removes XML white space (space, tab, CR, LF) at both ends.
std::string_view TrimXmlSpace(std::string_view text);

}  // namespace tallix

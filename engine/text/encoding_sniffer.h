#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/text/text_decoding.h"

namespace tallix {

// What decides the encoding of a kind of text file. A byte-order mark (UTF-8, or UTF-16
// either way) decides first in every rule.
enum class EncodingRule {
    // VB6 writes its projects and groups in the ANSI code page, and a short name in code
    // page 936 can be valid UTF-8 by chance: without a mark they are ANSI.
    AnsiUnlessMarked,
    // Solutions: UTF-8 when the whole text is valid UTF-8, else ANSI.
    Utf8UnlessInvalid,
    // XML projects: UTF-16 as XML tells it without a mark, then the encoding the declaration
    // names (GBK, GB2312 and GB18030 as ANSI; Windows-1252 and ISO-8859-1; UTF-8 and ASCII),
    // then XML's default, UTF-8, but ANSI for text that is not valid UTF-8, as older
    // projects are; a declared UTF-8 that is not valid UTF-8 is taken as ANSI too.
    Xml,
};

// Finds a text's encoding by a rule from its bytes, fed in order in blocks of any size.
class EncodingSniffer {
public:
    explicit EncodingSniffer(EncodingRule rule) : rule_(rule) {}

    // Takes the next bytes; true once the encoding is known, so that no more need be fed.
    bool Feed(std::string_view bytes);
    // The encoding of all that was fed.
    TextEncoding Result() const;

private:
    static constexpr std::size_t kHeadSize = 512;  // room for a mark and a declaration

    // What the start of the text decides alone: a mark, and for XML UTF-16 or a declared
    // encoding other than UTF-8.
    std::optional<TextEncoding> HeadDecides() const;
    void CheckUtf8(std::string_view bytes);

    EncodingRule rule_;
    std::string head_;
    bool headRead_ = false;
    std::optional<TextEncoding> decided_;
    bool utf8Valid_ = true;
    std::string utf8Held_;  // a sequence the last block cut
};

// The encoding the XML declaration at the start of text names, if it names one this
// program reads.
std::optional<TextEncoding> XmlDeclaredEncoding(std::string_view text);

}  // namespace tallix

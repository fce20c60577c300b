#include "engine/text/text_decoding.h"

#include <gtest/gtest.h>

#include "engine/text/encoding_sniffer.h"
#include "engine/text/text_lines.h"

namespace tallix {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

std::string LittleEndian(std::u16string_view text) {
    std::string bytes;
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::string BigEndian(std::u16string_view text) {
    std::string bytes;
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit >> 8);
        bytes += static_cast<char>(unit & 0xFF);
    }
    return bytes;
}

TEST(DecodeText, EachEncodingDecodesAndReplacesWhatItCannot) {
    struct Case {
        const char* label;
        TextEncoding encoding;
        std::string bytes;
        std::string text;
    };
    const Case cases[] = {
        {"UTF-16 LE", TextEncoding::Utf16Le, LittleEndian(u"\uFEFF模块.vb"), "\uFEFF模块.vb"},
        {"UTF-16 BE", TextEncoding::Utf16Be, BigEndian(u"模块"), "模块"},
        {"surrogate pair", TextEncoding::Utf16Le, LittleEndian(u"a\U0001F600b"), "a\U0001F600b"},
        {"lone high surrogate", TextEncoding::Utf16Le,
         LittleEndian(u"a\xD800") + LittleEndian(u"b"), "a" + std::string(kReplacement) + "b"},
        {"lone low surrogate", TextEncoding::Utf16Be, BigEndian(u"\xDC00"),
         std::string(kReplacement)},
        {"odd last byte", TextEncoding::Utf16Le, LittleEndian(u"a") + "b",
         "a" + std::string(kReplacement)},
        {"Windows-1252", TextEncoding::Windows1252, "caf\xE9 \x80 \x9F \xFF", "café € Ÿ ÿ"},
        {"Windows-1252 gap", TextEncoding::Windows1252, "a\x81z",
         "a" + std::string(kReplacement) + "z"},
        {"ANSI", TextEncoding::Ansi, "\xC4\xA3\xBF\xE9", "模块"},
        {"UTF-8", TextEncoding::Utf8, "\xE6\xA8\xA1\xC0", "模" + std::string(kReplacement)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeText(c.bytes, c.encoding), c.text) << c.label;
    }
}

TEST(StreamDecoder, AnySplitDecodesAsTheWhole) {
    const std::pair<TextEncoding, std::string> cases[] = {
        // A lead byte at the end, a pair whose trail is a backslash, a byte that cannot
        // trail, GB18030's four bytes, and an unassigned cell.
        {TextEncoding::Ansi, "a\xD6\xD0\x81\x5C\xA1\x7F\x81\x30\x84\x38\xAA\xA1\xFF\xD6"},
        {TextEncoding::Utf8,
         "\xEF\xBB\xBF\xE6\xA8\xA1\xF0\x9F\x98\x80\xE6\xA8\xC0\xAF\xED\xA0\x80\xE6"},
        {TextEncoding::Utf16Le, LittleEndian(u"\uFEFFa\U0001F600\xD800x\xDC00") + "z"},
        {TextEncoding::Utf16Be, BigEndian(u"模\U0001F600\xD800")},
        {TextEncoding::Windows1252, "\x80\x81\xE9"},
    };
    for (const auto& [encoding, bytes] : cases) {
        const std::string whole = DecodeText(bytes, encoding);
        for (std::size_t piece = 1; piece <= bytes.size(); ++piece) {
            StreamDecoder decoder(encoding);
            std::string text;
            for (std::size_t at = 0; at < bytes.size(); at += piece) {
                decoder.Feed(std::string_view(bytes).substr(at, piece), text);
            }
            decoder.Finish(text);
            EXPECT_EQ(text, whole) << static_cast<int>(encoding) << " in pieces of " << piece;
        }
    }
}

TEST(StreamDecoder, HoldsBackOnlyACharacterCut) {
    StreamDecoder decoder(TextEncoding::Utf8);
    std::string text;
    decoder.Feed("ab\xE6\xA8", text);
    EXPECT_EQ(text, "ab");
    decoder.Feed("\xA1", text);
    EXPECT_EQ(text, "ab模");
    decoder.Feed("\xE6", text);
    decoder.Finish(text);
    EXPECT_EQ(text, "ab模" + std::string(kReplacement)) << "a character never finished";
}

// A byte from 0x80 up at any place, in the eight-byte words and in the bytes after them.
TEST(IsAscii, FindsAHighByteWhereverItIs) {
    EXPECT_TRUE(IsAscii(""));
    for (const std::size_t size : {1, 7, 8, 9, 16, 17, 23}) {
        const std::string ascii(size, '\x7F');
        EXPECT_TRUE(IsAscii(ascii)) << size;
        for (std::size_t at = 0; at < size; ++at) {
            std::string high = ascii;
            high[at] = '\x80';
            EXPECT_FALSE(IsAscii(high)) << "0x80 at " << at << " of " << size;
            high[at] = '\xFF';
            EXPECT_FALSE(IsAscii(high)) << "0xFF at " << at << " of " << size;
        }
    }
}

TEST(XmlDeclaredEncoding, ReadsTheNameInTheDeclarationOnly) {
    struct Case {
        const char* text;
        std::optional<TextEncoding> encoding;
    };
    const Case cases[] = {
        {"<?xml version=\"1.0\" encoding=\"utf-8\"?>", TextEncoding::Utf8},
        {"\xEF\xBB\xBF<?xml version='1.0' encoding='GB2312'?>", TextEncoding::Ansi},
        {"<?xml version=\"1.0\"\r\n encoding = \"gbk\" ?>", TextEncoding::Ansi},
        {"<?xml encoding=\"GB18030\"?>", TextEncoding::Ansi},
        {"<?xml encoding=\"ISO-8859-1\"?>", TextEncoding::Windows1252},
        {"<?xml encoding=\"windows-1252\"?>", TextEncoding::Windows1252},
        {"<?xml encoding=\"us-ascii\"?>", TextEncoding::Utf8},
        {"<?xml encoding=\"shift_jis\"?>", std::nullopt},
        {"<?xml version=\"1.0\"?><a encoding=\"gbk\"/>", std::nullopt},
        {"<?xmlx encoding=\"gbk\"?>", std::nullopt},
        {" <?xml encoding=\"gbk\"?>", std::nullopt},
        {"<?xml encoding=\"gbk?>", std::nullopt},
        {"<?xml encoding=gbk?>", std::nullopt},
        {"<Project encoding=\"gbk\">", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(XmlDeclaredEncoding(c.text), c.encoding) << c.text;
    }
}

TextEncoding Sniff(EncodingRule rule, std::string_view bytes, std::size_t piece) {
    EncodingSniffer sniffer(rule);
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        if (sniffer.Feed(bytes.substr(at, piece))) {
            break;
        }
    }
    return sniffer.Result();
}

TEST(EncodingSniffer, EachRuleFindsItsEncoding) {
    using enum TextEncoding;
    using Rule = EncodingRule;
    const std::string gbk = "\xC4\xA3\xBF\xE9";           // "模块", not valid UTF-8
    const std::string shortGbk = "\xD6\xD0";              // "中"
    const std::string shortUtf8 = "\xC3\xA9";             // valid in both
    const std::string utf8 = "\xE6\xA8\xA1\xE5\x9D\x97";  // "模块"
    const std::string padding(600, 'x');                  // past the head
    struct Case {
        const char* label;
        Rule rule;
        std::string bytes;
        TextEncoding encoding;
    };
    const Case cases[] = {
        {"group, no mark", Rule::AnsiUnlessMarked, "Project=" + shortUtf8, Ansi},
        {"group, UTF-8 mark", Rule::AnsiUnlessMarked, "\xEF\xBB\xBFProject=" + utf8, Utf8},
        {"group, UTF-16 mark", Rule::AnsiUnlessMarked, LittleEndian(u"\uFEFFProject=x"), Utf16Le},
        {"group, big-endian mark", Rule::AnsiUnlessMarked, BigEndian(u"\uFEFFx"), Utf16Be},
        {"group, empty", Rule::AnsiUnlessMarked, "", Ansi},
        {"solution, valid UTF-8", Rule::Utf8UnlessInvalid, padding + utf8, Utf8},
        {"solution, GBK", Rule::Utf8UnlessInvalid, padding + gbk, Ansi},
        {"solution, cut at the end", Rule::Utf8UnlessInvalid, "x\xE6\xA8", Ansi},
        {"solution, short", Rule::Utf8UnlessInvalid, shortUtf8, Utf8},
        {"solution, UTF-16 mark", Rule::Utf8UnlessInvalid, LittleEndian(u"\uFEFFx"), Utf16Le},
        {"XML, no declaration, UTF-8", Rule::Xml, "<Project Sdk=\"S\">" + utf8, Utf8},
        {"XML, no declaration, GBK", Rule::Xml, "<Project>" + shortGbk, Ansi},
        {"XML, GBK past the head", Rule::Xml, "<Project>" + padding + gbk, Ansi},
        {"XML, declared GB2312", Rule::Xml, "<?xml version=\"1.0\" encoding=\"gb2312\"?>" + utf8,
         Ansi},
        {"XML, declared 1252", Rule::Xml, "<?xml encoding=\"iso-8859-1\"?><a>\xE9</a>",
         Windows1252},
        {"XML, declared 1252 past the head", Rule::Xml,
         "<?xml encoding=\"iso-8859-1\"?>" + padding + "\xE9", Windows1252},
        {"XML, declared UTF-8", Rule::Xml, "<?xml encoding=\"utf-8\"?>" + padding + utf8, Utf8},
        {"XML, declared UTF-8 that is not", Rule::Xml, "<?xml encoding=\"utf-8\"?>" + gbk, Ansi},
        {"XML, unmarked UTF-16", Rule::Xml, LittleEndian(u"<?xml version=\"1.0\"?>"), Utf16Le},
        {"XML, unmarked UTF-16 BE", Rule::Xml, BigEndian(u"<?xml?>"), Utf16Be},
        {"XML, marked", Rule::Xml, "\xEF\xBB\xBF<Project>" + gbk, Utf8},
        {"XML, empty", Rule::Xml, "", Utf8},
    };
    for (const Case& c : cases) {
        for (const std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{7},
                                        std::size_t{512}, std::size_t{100000}}) {
            EXPECT_EQ(Sniff(c.rule, c.bytes, piece), c.encoding)
                << c.label << ", in pieces of " << piece;
        }
    }
}

TEST(EncodingSniffer, StopsAsSoonAsItKnows) {
    EncodingSniffer marked(EncodingRule::Utf8UnlessInvalid);
    EXPECT_TRUE(marked.Feed("\xFF\xFE"));
    // Text that is not UTF-8 decides only once the head has shown no declaration.
    EncodingSniffer invalid(EncodingRule::Xml);
    EXPECT_FALSE(invalid.Feed("<Project>\xBF"));
    EXPECT_TRUE(invalid.Feed(std::string(600, 'x')));
    EXPECT_EQ(invalid.Result(), TextEncoding::Ansi);
    EncodingSniffer solution(EncodingRule::Utf8UnlessInvalid);
    EXPECT_FALSE(solution.Feed("abc"));
    EXPECT_TRUE(solution.Feed("\xBF"));
    EncodingSniffer valid(EncodingRule::Xml);
    EXPECT_FALSE(valid.Feed(std::string(600, 'x')));
    EXPECT_FALSE(valid.Feed("\xE6\xA8\xA1")) << "valid so far: only the end can tell";
}

TEST(TextLineReader, Utf16IsMadeUtf8BeforeLinesAreCut) {
    // U+0A0D holds an LF and a CR byte; the lines must not be cut there.
    const std::u16string text = u"\uFEFFProject=a\u0A0D.vbp\r\nProject=模块.vbp\nx";
    for (const auto& [bytes, encoding] : {std::pair{LittleEndian(text), TextEncoding::Utf16Le},
                                          std::pair{BigEndian(text), TextEncoding::Utf16Be}}) {
        for (std::size_t piece : {std::size_t{1}, std::size_t{3}, bytes.size()}) {
            std::vector<std::string> lines;
            TextLineReader reader([&](std::string_view line) { lines.emplace_back(line); },
                                  encoding);
            for (std::size_t at = 0; at < bytes.size(); at += piece) {
                reader.Feed(std::string_view(bytes).substr(at, piece));
            }
            reader.Finish();
            EXPECT_EQ(lines, (std::vector<std::string>{"\uFEFFProject=a\u0A0D.vbp",
                                                       "Project=模块.vbp", "x"}))
                << "pieces of " << piece;
        }
    }
}

}  // namespace
}  // namespace tallix

#include "engine/text/xml_scanner.h"

#include <gtest/gtest.h>

namespace tallix {
namespace {

// Writes each event as a short text: <name a=v>, </name>, <name/>, and text in quotes.
class Events : public XmlHandler {
public:
    void OnStartTag(const XmlTag& tag) override {
        flushText();
        seen += "<" + std::string(tag.name);
        for (const auto& [key, value] : tag.attributes) {
            seen += " " + std::string(key) + "=" + std::string(value);
        }
        seen += tag.empty ? "/>" : ">";
    }
    void OnEndTag(std::string_view name) override {
        flushText();
        seen += "</" + std::string(name) + ">";
    }
    void OnText(std::string_view text) override { text_ += text; }

    std::string Result() {
        flushText();
        return seen;
    }

private:
    void flushText() {
        if (!text_.empty()) {
            seen += "\"" + text_ + "\"";
            text_.clear();
        }
    }
    std::string seen;
    std::string text_;
};

TEST(XmlScanner, HandsOnTagsAndTextAndSkipsTheRest) {
    struct Case {
        const char* xml;
        const char* events;
    };
    const Case cases[] = {
        {"<a x=\"1\" y='2'>t</a>", "<a x=1 y=2>\"t\"</a>"},
        {"<Compile Include=\"a>b.vb\" />", "<Compile Include=a>b.vb/>"},
        {"<?xml version=\"1.0\"?><!DOCTYPE x><p/>", "<p/>"},
        {"<!-- <b> \" --><c/>", "<c/>"},
        {"<a><![CDATA[<b>]]></a>", "<a></a>"},
        {"<a lone noquote=x k=\"v\">", "<a k=v>"},
        {"text <a>", "\"text \"<a>"},
        {"<a", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        const std::string xml = c.xml;
        for (std::size_t piece = 1; piece <= std::max<std::size_t>(xml.size(), 1); ++piece) {
            Events events;
            XmlScanner scanner(events);
            for (std::size_t at = 0; at < xml.size(); at += piece) {
                scanner.Feed(std::string_view(xml).substr(at, piece));
            }
            EXPECT_EQ(events.Result(), c.events) << c.xml << " in pieces of " << piece;
        }
    }
}

TEST(XmlScanner, ATagTooLongForMemoryIsSkippedAndTheNextOneTaken) {
    Events events;
    XmlScanner scanner(events);
    scanner.Feed("<Compile Include=\"");
    const std::string block(64 * 1024, 'x');
    for (std::size_t fed = 0; fed <= XmlScanner::kMaxTag; fed += block.size()) {
        scanner.Feed(block);
    }
    scanner.Feed("\" /><b/>");
    EXPECT_EQ(events.Result(), "<b/>");
}

TEST(DecodeXmlReferences, NamedAndNumericOnes) {
    EXPECT_EQ(DecodeXmlReferences("a&amp;b&lt;&gt;&quot;&apos;"), "a&b<>\"'");
    EXPECT_EQ(DecodeXmlReferences("&#x41;&#66;&#x6A21;"), "AB模");
    EXPECT_EQ(DecodeXmlReferences("&#0;&#xD800;"), "\uFFFD\uFFFD");
    EXPECT_EQ(DecodeXmlReferences("&unknown; &#xZZ; & x &amp"), "&unknown; &#xZZ; & x &amp");
    EXPECT_EQ(TrimXmlSpace(" \t\r\nx y\n"), "x y");
}

}  // namespace
}  // namespace tallix

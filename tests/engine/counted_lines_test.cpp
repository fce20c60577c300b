// The lines a listing takes from a member: exactly those the line counter counts, under
// both kinds and all four pairs of options, decoded as counting decodes them.
#include "engine/listing/counted_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "engine/counting/line_counter.h"
#include "engine/listing/decoded_lines.h"
#include "engine/text/text_lines.h"
#include "failing_source.h"

namespace tallix {
namespace {

// Keeps every listed line as raw bytes, and how many pieces each came in.
class RawLines : public RawLineSink {
public:
    void Begin(TextEncoding encoding) override {
        ++begun;
        this->encoding = encoding;
    }
    void Piece(std::string_view bytes, bool endsLine) override {
        current += bytes;
        ++pieces;
        largest = std::max(largest, bytes.size());
        if (endsLine) {
            lines.push_back(std::move(current));
            current.clear();
        }
    }

    std::vector<std::string> lines;
    std::string current;
    int pieces = 0;
    std::size_t largest = 0;
    int begun = 0;
    TextEncoding encoding = TextEncoding::Ansi;
};

class TextLines : public TextLineSink {
public:
    void Text(std::string_view utf8, bool endsLine) override {
        current += utf8;
        if (endsLine) {
            lines.push_back(std::move(current));
            current.clear();
        }
    }
    std::vector<std::string> lines;
    std::string current;
};

std::vector<std::string> Listed(std::string_view bytes, SourceKind kind, CountOptions options,
                                std::size_t blockSize = 1 << 20) {
    RawLines sink;
    CountedLineReader reader(kind, options, sink);
    for (std::size_t at = 0; at < bytes.size(); at += blockSize) {
        reader.Feed(bytes.substr(at, blockSize));
    }
    reader.Finish();
    EXPECT_EQ(reader.Listed(), static_cast<std::int64_t>(sink.lines.size()));
    EXPECT_TRUE(sink.current.empty()) << "a line was left without its end";
    EXPECT_EQ(sink.begun, 1);
    return sink.lines;
}

std::vector<std::string> DecodedListing(std::string_view bytes, SourceKind kind,
                                        CountOptions options, std::size_t blockSize) {
    TextLines text;
    LineDecoder decoder(text);
    CountedLineReader reader(kind, options, decoder);
    for (std::size_t at = 0; at < bytes.size(); at += blockSize) {
        reader.Feed(bytes.substr(at, blockSize));
    }
    reader.Finish();
    return text.lines;
}

using Lines = std::vector<std::string>;
constexpr CountOptions kAll{false, false};
constexpr CountOptions kNoBlank{true, false};
constexpr CountOptions kNoComment{false, true};
constexpr CountOptions kCodeOnly{true, true};

struct ListingCase {
    const char* what;
    std::string bytes;
    SourceKind kind;
    CountOptions options;
    Lines lines;
};

const std::string kForm =
    "VERSION 5.00\r\nBegin VB.Form F\r\n   ' designer\r\nEnd\r\n"
    "Attribute VB_Name = \"F\"\r\nAttribute VB_Exposed = False\r\n"
    "Option Explicit\r\n\r\n  ' note\r\n\tx = 1\r\n  \r\n";

const ListingCase kCases[] = {
    {"VB6 starts after the name line",
     kForm,
     SourceKind::Vb6,
     kAll,
     {"Option Explicit", "", "  ' note", "\tx = 1", "  "}},
    {"blank lines left out",
     kForm,
     SourceKind::Vb6,
     kNoBlank,
     {"Option Explicit", "  ' note", "\tx = 1"}},
    {"comments left out",
     kForm,
     SourceKind::Vb6,
     kNoComment,
     {"Option Explicit", "", "\tx = 1", "  "}},
    {"code only", kForm, SourceKind::Vb6, kCodeOnly, {"Option Explicit", "\tx = 1"}},
    {"VB.NET lists every line",
     kForm,
     SourceKind::VbNet,
     kCodeOnly,
     {"VERSION 5.00", "Begin VB.Form F", "End", "Attribute VB_Name = \"F\"",
      "Attribute VB_Exposed = False", "Option Explicit", "\tx = 1"}},
    {"no name line lists nothing", "Option Explicit\r\nx = 1\r\n", SourceKind::Vb6, kAll, {}},
    {"attribute lines only in the first column",
     "Attribute VB_Name = \"M\"\r\n Attribute VB_X = 1\r\nattribute VB_Y\r\nAttribute VB\r\n"
     "Attribute VB_\r\nAttribute VB_Z\r\n",
     SourceKind::Vb6,
     kAll,
     {" Attribute VB_X = 1", "attribute VB_Y", "Attribute VB"}},
    {"the name line needs all 17 characters",
     "Attribute VB_Nam\r\nx\r\nAttribute VB_Name\r\ny\r\n",
     SourceKind::Vb6,
     kAll,
     {"y"}},
    {"CR, CR LF and lone LF all end lines",
     "a\rb\r\nc\nd",
     SourceKind::VbNet,
     kAll,
     {"a", "b", "c", "d"}},
    {"LF CR is two line ends", "a\n\rb", SourceKind::VbNet, kAll, {"a", "", "b"}},
    {"no empty line after the last line end", "a\r\n", SourceKind::VbNet, kAll, {"a"}},
    {"an empty file", "", SourceKind::VbNet, kAll, {}},
    {"one line end", "\r\n", SourceKind::VbNet, kAll, {""}},
    {"a tab is not a space",
     "\t\r\n\t' c\r\n   \r\n",
     SourceKind::VbNet,
     kCodeOnly,
     {"\t", "\t' c"}},
    {"only spaces before the quote make a comment",
     "   'a\r\n x'b\r\n''\r\n",
     SourceKind::VbNet,
     kNoComment,
     {" x'b"}},
    {"the byte-order mark makes code but is not listed",
     "\xEF\xBB\xBF\r\n' c\r\n",
     SourceKind::VbNet,
     kCodeOnly,
     {""}},
    {"a mark-like start in a later line stays",
     "x\r\n\xEF\xBB\xBFy\r\n",
     SourceKind::VbNet,
     kAll,
     {"x", "\xEF\xBB\xBFy"}},
    {"two of the mark's bytes are no mark", "\xEF\xBB", SourceKind::VbNet, kAll, {"\xEF\xBB"}},
    {"code page 936 bytes pass as they are",
     "' \xD6\xD0\xCE\xC4\r\nx = \"\xB0\xA1\"\r\n",
     SourceKind::VbNet,
     kNoComment,
     {"x = \"\xB0\xA1\""}},
};

TEST(CountedLineReader, ListsTheLinesTheCounterCounts) {
    for (const ListingCase& c : kCases) {
        SCOPED_TRACE(c.what);
        for (const std::size_t block :
             {std::size_t{1}, std::size_t{2}, std::size_t{5}, std::size_t{1 << 20}}) {
            EXPECT_EQ(Listed(c.bytes, c.kind, c.options, block), c.lines) << "blocks of " << block;
        }
        LineCounter counter(c.kind);
        counter.Feed(c.bytes);
        EXPECT_EQ(counter.Finish().Counted(c.options.skipBlankLines, c.options.skipCommentLines),
                  static_cast<std::int64_t>(c.lines.size()));
    }
}

TEST(CountedLineReader, NamesTheEncodingByTheFirstThreeBytes) {
    struct Case {
        std::string bytes;
        TextEncoding encoding;
    };
    const Case cases[] = {{"\xEF\xBB\xBFx", TextEncoding::Utf8},
                          {"\xEF\xBB\xBF", TextEncoding::Utf8},
                          {"\xEF\xBB", TextEncoding::Ansi},
                          {"x\xEF\xBB\xBF", TextEncoding::Ansi},
                          {"", TextEncoding::Ansi}};
    for (const Case& c : cases) {
        for (const std::size_t block : {std::size_t{1}, std::size_t{8}}) {
            RawLines sink;
            CountedLineReader reader(SourceKind::VbNet, kAll, sink);
            for (std::size_t at = 0; at < c.bytes.size(); at += block) {
                reader.Feed(std::string_view(c.bytes).substr(at, block));
            }
            reader.Finish();
            EXPECT_EQ(reader.Encoding(), c.encoding) << c.bytes;
            EXPECT_EQ(sink.encoding, c.encoding) << c.bytes;
        }
    }
}

// Lines far longer than a piece come whole, in pieces of bounded size; lines of spaces
// that the options may still leave out are held as a number, not as bytes.
TEST(CountedLineReader, LongLinesComeInPiecesAndWhole) {
    const std::string longCode = "x = \"" + std::string(300'000, 'a') + "\"";
    const std::string spaces(200'000, ' ');
    const std::string text =
        longCode + "\r\n" + spaces + "\r\n" + spaces + "' c\r\n" + spaces + "y\r\nshort\r\n";
    struct Case {
        CountOptions options;
        Lines lines;
    };
    const Case cases[] = {
        {kAll, {longCode, spaces, spaces + "' c", spaces + "y", "short"}},
        {kNoBlank, {longCode, spaces + "' c", spaces + "y", "short"}},
        {kNoComment, {longCode, spaces, spaces + "y", "short"}},
        {kCodeOnly, {longCode, spaces + "y", "short"}},
    };
    for (const Case& c : cases) {
        for (const std::size_t block : {std::size_t{4096}, std::size_t{1 << 20}}) {
            RawLines sink;
            CountedLineReader reader(SourceKind::VbNet, c.options, sink);
            for (std::size_t at = 0; at < text.size(); at += block) {
                reader.Feed(std::string_view(text).substr(at, block));
            }
            reader.Finish();
            ASSERT_EQ(sink.lines.size(), c.lines.size());
            for (std::size_t i = 0; i < c.lines.size(); ++i) {
                EXPECT_EQ(sink.lines[i].size(), c.lines[i].size()) << i;
                EXPECT_TRUE(sink.lines[i] == c.lines[i]) << i;
            }
            if (block < text.size()) {
                EXPECT_GT(sink.pieces, static_cast<int>(c.lines.size()) + 4)
                    << "long lines cut by blocks come in several pieces";
                EXPECT_LE(sink.largest, CountedLineReader::kMaxPieceBytes + block);
            } else {
                EXPECT_EQ(sink.pieces, static_cast<int>(c.lines.size()))
                    << "a line the block holds comes whole";
            }
        }
    }
}

// A line a block holds whole comes in one piece, straight from the block.
TEST(CountedLineReader, WholeLinesComeInOnePiece) {
    RawLines sink;
    CountedLineReader reader(SourceKind::VbNet, kAll, sink);
    reader.Feed("one\r\ntwo\r\nthr");
    reader.Feed("ee\r\n");
    reader.Finish();
    EXPECT_EQ(sink.lines, (Lines{"one", "two", "three"}));
    EXPECT_EQ(sink.pieces, 3);
}

// Random members built from the parts that matter to the rules: line ends, spaces, tabs,
// quotes, attribute heads, code page 936 and UTF-8 bytes, the byte-order mark.
std::string RandomMember(std::mt19937& random) {
    static const std::vector<std::string> parts = {"\r",
                                                   "\n",
                                                   "\r\n",
                                                   " ",
                                                   "  ",
                                                   "\t",
                                                   "'",
                                                   "x",
                                                   "Attribute VB_Name",
                                                   "Attribute VB_x",
                                                   "Attribute VB",
                                                   "A",
                                                   "\xD6\xD0",
                                                   "\xB0",
                                                   "\x81\x30\x84\x38",
                                                   "\xE4\xB8\xAD",
                                                   "\xEF\xBB\xBF",
                                                   "\xFF",
                                                   "\x80",
                                                   "\xE4\xB8",
                                                   "Rem"};
    std::string member;
    if (random() % 4 == 0) {
        member = "\xEF\xBB\xBF";
    }
    const std::size_t count = random() % 40;
    for (std::size_t i = 0; i < count; ++i) {
        member += parts[random() % parts.size()];
    }
    return member;
}

// The listed lines as the counting rules read them off the decoded lines, one at a time.
Lines ReferenceListing(std::string_view bytes, SourceKind kind, CountOptions options) {
    Lines lines;
    bool codeFlag = false;
    bool first = true;
    for (std::string line : SplitTextLines(bytes)) {
        const bool firstLine = std::exchange(first, false);
        if (kind == SourceKind::Vb6) {
            codeFlag = codeFlag || line.starts_with("Attribute VB_Name");
            if (!codeFlag || line.starts_with("Attribute VB_")) {
                continue;
            }
        }
        const auto nonSpace = line.find_first_not_of(' ');
        if (nonSpace == std::string::npos ? options.skipBlankLines
                                          : line[nonSpace] == '\'' && options.skipCommentLines) {
            continue;
        }
        if (firstLine && line.starts_with(kUtf8Bom)) {
            line.erase(0, kUtf8Bom.size());
        }
        lines.push_back(line);
    }
    return lines;
}

TEST(CountedLineReader, RandomMembersListWhatIsCountedAndDecodeAsCountingDoes) {
    std::mt19937 random(20240917);
    int nonEmpty = 0;
    for (int round = 0; round < 4000; ++round) {
        const std::string member = RandomMember(random);
        const std::size_t block = 1 + random() % 9;
        for (const SourceKind kind : {SourceKind::Vb6, SourceKind::VbNet}) {
            testing::FailingSource source(member, std::string::npos, block);
            const FileTally tally = TallySource(source, kind);
            for (const CountOptions options : {kAll, kNoBlank, kNoComment, kCodeOnly}) {
                const Lines listed = DecodedListing(member, kind, options, block);
                ASSERT_EQ(static_cast<std::int64_t>(listed.size()),
                          tally.tally.Counted(options.skipBlankLines, options.skipCommentLines))
                    << ::testing::PrintToString(member);
                ASSERT_EQ(listed, ReferenceListing(member, kind, options))
                    << ::testing::PrintToString(member);
                nonEmpty += !listed.empty();
            }
        }
    }
    EXPECT_GT(nonEmpty, 10000) << "the random members list something";
}

}  // namespace
}  // namespace tallix

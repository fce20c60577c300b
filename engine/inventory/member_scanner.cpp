#include "engine/inventory/member_scanner.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "engine/counting/line_counter.h"
#include "engine/inventory/line_splitter.h"
#include "engine/inventory/statement_bits.h"
#include "engine/text/codepage.h"
#include "engine/text/text_decoding.h"

namespace tallix {

namespace {

using inventory_lines::IsBlank;

constexpr std::string_view kNameAttribute = "Attribute VB_Name";

constexpr std::array<bool, 256> IdentifierBytes() {
    std::array<bool, 256> bytes{};
    for (int c = 0; c < 256; ++c) {
        bytes[c] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                   c == '_' || c >= 0x80;
    }
    return bytes;
}
constexpr std::array<bool, 256> kIdentifierBytes = IdentifierBytes();

bool IsIdentifierByte(char c) {
    return kIdentifierBytes[static_cast<unsigned char>(c)];
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Visual Basic's words are the same in any letter case; `lower` is written in lower case.
bool IsWord(std::string_view token, std::string_view lower) {
    if (token.size() != lower.size()) {
        return false;
    }
    for (std::size_t i = 0; i < token.size(); ++i) {
        if (Lower(token[i]) != lower[i]) {
            return false;
        }
    }
    return true;
}

template <std::size_t N>
bool IsOneOf(std::string_view token, const std::array<std::string_view, N>& words) {
    for (const std::string_view word : words) {
        if (IsWord(token, word)) {
            return true;
        }
    }
    return false;
}

constexpr std::array<std::string_view, 4> kDeclareCharsets{"ptrsafe", "ansi", "unicode", "auto"};

// What a word at the head of a statement is.
enum class HeadWord { Other, Modifier, Sub, Function, Property, Operator, Declare };

// Up to eight bytes of a word as one number, the first in the lowest byte.
constexpr std::uint64_t Pack(std::string_view text) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < text.size() && i < 8; ++i) {
        value |= std::uint64_t{static_cast<unsigned char>(text[i])} << (8 * i);
    }
    return value;
}

// A word of up to sixteen bytes as two numbers.
struct PackedWord {
    std::uint64_t head = 0;
    std::uint64_t tail = 0;

    friend constexpr bool operator==(const PackedWord&, const PackedWord&) = default;
};

constexpr PackedWord PackWord(std::string_view lower) {
    return {Pack(lower), lower.size() > 8 ? Pack(lower.substr(8)) : 0};
}

// An identifier's bytes in lower case: setting bit 5 lower-cases the letters and leaves
// digits as they are; it changes "_" and bytes from 0x80 up, which no keyword holds, into
// bytes that no letter becomes.
PackedWord PackLower(std::string_view word) {
    constexpr std::uint64_t kCase = 0x2020202020202020;
    PackedWord packed;
    for (std::size_t i = 0; i < word.size() && i < 8; ++i) {
        packed.head |= std::uint64_t{static_cast<unsigned char>(word[i])} << (8 * i);
    }
    for (std::size_t i = 8; i < word.size(); ++i) {
        packed.tail |= std::uint64_t{static_cast<unsigned char>(word[i])} << (8 * (i - 8));
    }
    const std::size_t head = std::min<std::size_t>(word.size(), 8);
    packed.head |= kCase >> (8 * (8 - head));
    if (word.size() > 8) {
        packed.tail |= kCase >> (8 * (16 - word.size()));
    }
    return packed;
}

struct HeadKeyword {
    PackedWord packed;
    std::size_t length;
    HeadWord word;
};

// The words that may stand ahead of the keyword of a declaration, in VB6 and VB.NET, and
// the keywords: every statement that may declare comes here.
constexpr HeadKeyword Keyword(std::string_view lower, HeadWord word) {
    return {PackWord(lower), lower.size(), word};
}
// By length, so that a word is compared with the few of its own length.
constexpr std::array<HeadKeyword, 25> kHeadKeywords{
    Keyword("sub", HeadWord::Sub),
    Keyword("async", HeadWord::Modifier),
    Keyword("public", HeadWord::Modifier),
    Keyword("friend", HeadWord::Modifier),
    Keyword("static", HeadWord::Modifier),
    Keyword("shared", HeadWord::Modifier),
    Keyword("private", HeadWord::Modifier),
    Keyword("declare", HeadWord::Declare),
    Keyword("shadows", HeadWord::Modifier),
    Keyword("partial", HeadWord::Modifier),
    Keyword("default", HeadWord::Modifier),
    Keyword("function", HeadWord::Function),
    Keyword("property", HeadWord::Property),
    Keyword("operator", HeadWord::Operator),
    Keyword("readonly", HeadWord::Modifier),
    Keyword("iterator", HeadWord::Modifier),
    Keyword("widening", HeadWord::Modifier),
    Keyword("protected", HeadWord::Modifier),
    Keyword("overloads", HeadWord::Modifier),
    Keyword("overrides", HeadWord::Modifier),
    Keyword("writeonly", HeadWord::Modifier),
    Keyword("narrowing", HeadWord::Modifier),
    Keyword("overridable", HeadWord::Modifier),
    Keyword("mustoverride", HeadWord::Modifier),
    Keyword("notoverridable", HeadWord::Modifier),
};

constexpr std::size_t kLongestKeyword = 14;
static_assert(std::is_sorted(kHeadKeywords.begin(), kHeadKeywords.end(),
                             [](const HeadKeyword& a, const HeadKeyword& b) {
                                 return a.length < b.length;
                             }));

// Where the keywords of each length start in the table; those of length n end at [n + 1].
constexpr std::array<std::size_t, kLongestKeyword + 2> KeywordsByLength() {
    std::array<std::size_t, kLongestKeyword + 2> starts{};
    for (std::size_t length = 0; length <= kLongestKeyword + 1; ++length) {
        std::size_t at = 0;
        while (at < kHeadKeywords.size() && kHeadKeywords[at].length < length) {
            ++at;
        }
        starts[length] = at;
    }
    return starts;
}
constexpr std::array<std::size_t, kLongestKeyword + 2> kKeywordsByLength = KeywordsByLength();

HeadWord ClassifyHeadWord(std::string_view word) {
    if (word.size() > kLongestKeyword) {
        return HeadWord::Other;
    }
    const std::size_t from = kKeywordsByLength[word.size()];
    const std::size_t to = kKeywordsByLength[word.size() + 1];
    if (from == to) {
        return HeadWord::Other;
    }
    const PackedWord packed = PackLower(word);
    for (std::size_t at = from; at < to; ++at) {
        if (kHeadKeywords[at].packed == packed) {
            return kHeadKeywords[at].word;
        }
    }
    return HeadWord::Other;
}

// The first letters of the modifiers and of Sub, Function, Property, Operator and Declare,
// in either case: a statement that starts with any other letter declares nothing that
// matters here, which settles most lines at their first byte.
constexpr std::array<bool, 256> HeadLetters() {
    std::array<bool, 256> letters{};
    for (const char c : std::string_view("adfimnoprsw")) {
        letters[static_cast<unsigned char>(c)] = true;
        letters[static_cast<unsigned char>(c - 'a' + 'A')] = true;
    }
    return letters;
}
constexpr std::array<bool, 256> kHeadLetters = HeadLetters();

// A position in one line's head.
struct Cursor {
    std::string_view text;
    std::size_t at = 0;

    bool AtEnd() const { return at >= text.size(); }
    char Peek() const { return text[at]; }
    void SkipBlanks() {
        while (at < text.size() && IsBlank(text[at])) {
            ++at;
        }
    }
    std::string_view Word() {
        const std::size_t start = at;
        while (at < text.size() && IsIdentifierByte(text[at])) {
            ++at;
        }
        return text.substr(start, at - start);
    }
    // What follows up to the next blank.
    std::string_view Run() {
        const std::size_t start = at;
        while (at < text.size() && !IsBlank(text[at])) {
            ++at;
        }
        return text.substr(start, at - start);
    }
    bool WordEnds() const { return AtEnd() || IsBlank(Peek()); }
};

// Names are decoded only when they are kept: as code page 936, or UTF-8 after the mark.
std::string DecodeName(std::string_view bytes, bool utf8) {
    bool ascii = true;
    for (const char c : bytes) {
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    }
    if (ascii) {
        return std::string(bytes);
    }
    return utf8 ? SanitizeUtf8(bytes) : AnsiToUtf8(bytes);
}

// The line without the " _" that continues it.
std::string_view WithoutContinuation(std::string_view line) {
    while (!line.empty() && IsBlank(line.back())) {
        line.remove_suffix(1);
    }
    return line.empty() ? line : line.substr(0, line.size() - 1);
}

std::string_view WithoutMark(std::string_view firstLine, bool& utf8) {
    utf8 = firstLine.starts_with(kUtf8Bom);
    return utf8 ? firstLine.substr(kUtf8Bom.size()) : firstLine;
}

}  // namespace

class MemberScanner::Lines {
public:
    explicit Lines(SourceKind kind)
        : vb6_(kind == SourceKind::Vb6), avx2_(statement_bits::PreferAvx2()), splitter_(*this) {}

    void Feed(std::string_view block) { splitter_.Feed(block); }

    MemberInventory Finish() {
        splitter_.Finish();
        EndDeclare();
        if (vb6_ && !codeFlag_) {
            NoteOpenBlocks();
            inventory_.notes.push_back({MemberNote::Kind::NoNameAttribute, 0, 0, {}});
        }
        if (nulLine_ != 0) {
            inventory_.notes.push_back({MemberNote::Kind::Binary, nulLine_, 0, {}});
        }
        return std::move(inventory_);
    }

    const LineTally& Tally() const { return tally_; }

    // Complete lines from the splitter. The code is walked by its bits, and only the
    // statements that may declare are parsed; everything else goes line by line.
    void Run(const char* p, const char* runEnd) {
        while (p < runEnd) {
            if (line_ == 0 || (vb6_ && !codeFlag_) || continuing_) {
                p = OneLine(p, runEnd, false);
                continue;
            }
            WalkCode(p, runEnd);
            return;
        }
    }

    // A line that a block boundary cut, or one of a run taken alone; counted here, with
    // the class the line counter gives it.
    void Line(std::string_view head, bool continued, bool nul, LineClass lineClass) {
        TakeLine(head, continued, nul);
        // The counter's rules: under VB6 nothing before the name attribute counts, and no
        // module attribute line, the name's included.
        if (!vb6_ || (codeFlag_ && !IsModuleAttributeLine(head))) {
            tally_.Add(lineClass);
        }
    }

private:
    // What to look for next in the statement under way.
    enum class Want { Head, DeclareKind, DeclareName, DeclareLib, DeclareLibName, Nothing };

    void TakeLine(std::string_view head, bool continued, bool nul) {
        ++line_;
        if (nul && nulLine_ == 0) {
            nulLine_ = line_;
        }
        if (line_ == 1) {
            const std::string_view text = WithoutMark(head, utf8_);
            if (vb6_ && !head.starts_with(kNameAttribute)) {
                DesignerLine(text);
            } else {
                NameLineOrCode(head, text, continued);
            }
            return;
        }
        if (vb6_ && !codeFlag_ && !head.starts_with(kNameAttribute)) {
            DesignerLine(head);
            return;
        }
        NameLineOrCode(head, head, continued);
    }

    // Takes the line at p, or from p, its first character that matters, to its end. The
    // walk has counted the lines it passed and looked into them for NUL bytes.
    const char* OneLine(const char* p, const char* runEnd, bool walked) {
        const char* lineEnd = line_ends::FindLineEnd(p, runEnd);
        const std::string_view line(p, static_cast<std::size_t>(lineEnd - p));
        const bool continued = inventory_lines::EndsInContinuation(line);
        if (walked) {
            TakeLine(line, continued, false);
        } else {
            Line(line, continued, nulLine_ == 0 && line.find('\0') != std::string_view::npos,
                 ClassOfLine(line));
        }
        return line_ends::PastLineEnd(lineEnd, runEnd);
    }

    // The code of [p, runEnd), p starting a statement.
    void WalkCode(const char* p, const char* runEnd) {
        const char* const runStart = p;
        const std::int64_t base = line_;
        // A line that may start a statement that declares, with the lines the statement
        // goes on in; the walk looks for NUL bytes in them.
        const auto onLine = [this, base, runStart, runEnd](const char* first, const char* start,
                                                           const char* end, std::int64_t line) {
            if (start != nullptr ? start != runStart && EndGoesOn(runStart, start - 1)
                                 : Continues(runStart, first)) {
                return;  // read already, or part of a statement that declares nothing
            }
            line_ = base + line + 1;
            // A lone " _" continues an empty head: the blank before it counts.
            if (*first == '_' && first > runStart && IsBlank(first[-1])) {
                --first;
            }
            const char* lineEnd = end != nullptr ? end : line_ends::FindLineEnd(first, runEnd);
            const std::string_view text(first, static_cast<std::size_t>(lineEnd - first));
            // The code part of the member: no designer line, no name line.
            CodeLine(text, inventory_lines::EndsInContinuation(text));
            const char* next = line_ends::PastLineEnd(lineEnd, runEnd);
            while (continuing_ && next < runEnd) {
                next = OneLine(next, runEnd, true);
            }
        };
        const statement_bits::Walked walked =
            vb6_ ? statement_bits::Walk<true>(p, runEnd, onLine, avx2_)
                 : statement_bits::Walk<false>(p, runEnd, onLine, avx2_);
        if (walked.nulLine != 0 && nulLine_ == 0) {
            nulLine_ = base + walked.nulLine;
        }
        tally_.blank += walked.blanks;
        tally_.comment += walked.comments;
        tally_.code += walked.lines - walked.blanks - walked.comments - walked.attributes;
        line_ = base + walked.lines;
        continuing_ = EndGoesOn(runStart, runEnd - 1);
    }

    // Whether the line whose first character is at `first` continues the line before it,
    // within the run [runStart, ...), whose first line starts a statement.
    bool Continues(const char* runStart, const char* first) const {
        const char* start = first;
        while (start > runStart && IsBlank(start[-1])) {
            --start;
        }
        if (start == runStart) {
            return false;
        }
        const char* lineEnd = start - 1;
        if (*lineEnd == '\n' && lineEnd > runStart && lineEnd[-1] == '\r') {
            --lineEnd;
        }
        return EndGoesOn(runStart, lineEnd);
    }

    // Whether the line ending at the end byte `lineEnd` goes on in the next: " _" at its
    // end, and for VB.NET not in a comment.
    bool EndGoesOn(const char* runStart, const char* lineEnd) const {
        if (*lineEnd == '\n' && lineEnd > runStart && lineEnd[-1] == '\r') {
            --lineEnd;  // the end of a run: its last byte may be the LF of a CR LF
        }
        const char* last = lineEnd;
        while (last > runStart && IsBlank(last[-1])) {
            --last;
        }
        if (last - runStart < 2 || last[-1] != '_' || !IsBlank(last[-2])) {
            return false;
        }
        if (vb6_) {
            return true;
        }
        const char* start = last;
        while (start > runStart && start[-1] != '\r' && start[-1] != '\n') {
            --start;
        }
        return !HoldsComment({start, static_cast<std::size_t>(lineEnd - start)});
    }

    void NameLineOrCode(std::string_view raw, std::string_view text, bool continued) {
        // The counter's test, on the line as it stands: the name attribute ends the
        // designer part.
        if (vb6_ && !codeFlag_ && raw.starts_with(kNameAttribute)) {
            codeFlag_ = true;
            NoteOpenBlocks();
            return;
        }
        CodeLine(text, continued);
    }

    // A line of the designer part: a Begin opens a block, which is a control inside the
    // outermost one (the form, user control or class header itself); an End closes one.
    void DesignerLine(std::string_view text) {
        ++inventory_.designerLines;
        Cursor cursor{text};
        cursor.SkipBlanks();
        const std::string_view word = cursor.Word();
        if (IsWord(word, "begin") && cursor.WordEnds()) {
            ++depth_;
            if (depth_ >= 2) {
                cursor.SkipBlanks();
                ++inventory_.controls[DecodeName(cursor.Run(), utf8_)];
            }
        } else if (IsWord(word, "end") && (cursor.WordEnds() || cursor.Peek() == '\'')) {
            if (depth_ > 0) {
                --depth_;
            } else if (strayEnds_++ == 0) {
                inventory_.notes.push_back({MemberNote::Kind::EndWithoutBegin, line_, 1, {}});
                strayNote_ = inventory_.notes.size() - 1;
            } else {
                inventory_.notes[strayNote_].count = strayEnds_;
            }
        }
    }

    void NoteOpenBlocks() {
        if (depth_ > 0) {
            inventory_.notes.push_back({MemberNote::Kind::DesignerNotClosed, line_, depth_, {}});
            depth_ = 0;
        }
    }

    void CodeLine(std::string_view text, bool continued) {
        const bool starts = !continuing_;
        // A VB.NET comment ends at its line, " _" or not; a VB6 one goes on.
        continuing_ = continued && (vb6_ || !HoldsComment(text));
        if (starts) {
            EndDeclare();
            want_ = Want::Head;
            inAttribute_ = false;
        }
        if (want_ != Want::Nothing) {
            Cursor cursor{continued ? WithoutContinuation(text) : text};
            Advance(cursor);
        }
        if (!continuing_) {
            EndDeclare();
            want_ = Want::Nothing;  // what a later line may continue is no statement of ours
        }
    }

    // Reads as far into the statement as it needs to tell what it declares.
    void Advance(Cursor& cursor) {
        // Tests rather than switches: the head is what most statements come to, and a
        // branch that goes one way keeps to it where a jump table would guess.
        while (want_ == Want::Head) {
            cursor.SkipBlanks();
            if (cursor.AtEnd()) {
                return;  // the statement may go on in the next line
            }
            if (inAttribute_ || cursor.Peek() == '<') {
                if (!SkipAttribute(cursor)) {
                    return;
                }
            } else if (kHeadLetters[static_cast<unsigned char>(cursor.Peek())]) {
                Head(cursor);
            } else {
                want_ = Want::Nothing;
            }
        }
        while (want_ != Want::Nothing) {
            cursor.SkipBlanks();
            if (cursor.AtEnd()) {
                return;
            }
            Declare(cursor);
        }
    }

    void Head(Cursor& cursor) {
        const HeadWord word = ClassifyHeadWord(cursor.Word());
        if (word == HeadWord::Modifier) {
            return;
        }
        want_ = Want::Nothing;
        if (word == HeadWord::Sub || word == HeadWord::Function || word == HeadWord::Property ||
            (word == HeadWord::Operator && !vb6_)) {
            // A declaration names what it declares; "Function(" is a lambda.
            cursor.SkipBlanks();
            if (cursor.AtEnd() || cursor.Peek() != '(') {
                ++inventory_.procedures;
            }
        } else if (word == HeadWord::Declare) {
            declareOpen_ = true;
            declare_ = {{}, {}, line_};
            want_ = Want::DeclareKind;
        }
    }

    // Declare [PtrSafe] [Ansi|Unicode|Auto] Sub|Function name Lib "library"
    void Declare(Cursor& cursor) {
        if (want_ == Want::DeclareKind) {
            const std::string_view word = cursor.Word();
            if (!IsOneOf(word, kDeclareCharsets)) {
                want_ = IsWord(word, "sub") || IsWord(word, "function") ? Want::DeclareName
                                                                        : Want::Nothing;
            }
        } else if (want_ == Want::DeclareName) {
            DeclareName(cursor);
        } else if (want_ == Want::DeclareLib) {
            want_ = IsWord(cursor.Word(), "lib") ? Want::DeclareLibName : Want::Nothing;
        } else {
            DeclareLibName(cursor);
        }
    }

    void DeclareName(Cursor& cursor) {
        const std::size_t start = cursor.at;
        if (cursor.Word().empty()) {
            want_ = Want::Nothing;
            return;
        }
        // A type character may end the name: GetUserName$.
        if (!cursor.AtEnd() &&
            std::string_view("%&!#@$").find(cursor.Peek()) != std::string_view::npos) {
            ++cursor.at;
        }
        declare_.name = DecodeName(cursor.text.substr(start, cursor.at - start), utf8_);
        want_ = Want::DeclareLib;
    }

    void DeclareLibName(Cursor& cursor) {
        want_ = Want::Nothing;
        if (cursor.Peek() != '"') {
            return;
        }
        const std::string_view rest = cursor.text.substr(cursor.at + 1);
        declare_.library = LibraryKey(DecodeName(rest.substr(0, rest.find('"')), utf8_));
    }

    void EndDeclare() {
        if (declareOpen_) {
            inventory_.declares.push_back(std::move(declare_));
            declareOpen_ = false;
        }
    }

    // Passes over an attribute, <...>, quotes and all; false when the line ends inside it.
    bool SkipAttribute(Cursor& cursor) {
        if (!inAttribute_) {
            ++cursor.at;
            inAttribute_ = true;
        }
        while (!cursor.AtEnd()) {
            const char c = cursor.text[cursor.at++];
            if (c == '"') {
                const auto close = cursor.text.find('"', cursor.at);
                cursor.at = close == std::string_view::npos ? cursor.text.size() : close + 1;
            } else if (c == '>') {
                inAttribute_ = false;
                return true;
            }
        }
        return false;
    }

    // Whether a VB.NET line holds a comment: an apostrophe outside strings, or Rem first.
    static bool HoldsComment(std::string_view text) {
        Cursor cursor{text};
        cursor.SkipBlanks();
        if (IsWord(cursor.Word(), "rem") && cursor.WordEnds()) {
            return true;
        }
        bool inString = false;
        for (const char c : text) {
            if (c == '"') {
                inString = !inString;
            } else if (c == '\'' && !inString) {
                return true;
            }
        }
        return false;
    }

    bool vb6_;
    bool avx2_;
    inventory_lines::LineSplitter<Lines> splitter_;
    std::int64_t line_ = 0;
    std::int64_t nulLine_ = 0;
    bool utf8_ = false;
    bool codeFlag_ = false;   // the name attribute has been seen
    std::int64_t depth_ = 0;  // designer blocks open
    std::int64_t strayEnds_ = 0;
    std::size_t strayNote_ = 0;
    bool continuing_ = false;  // the last line ended in " _"
    bool inAttribute_ = false;
    Want want_ = Want::Nothing;
    bool declareOpen_ = false;
    DeclareStatement declare_;
    MemberInventory inventory_;
    LineTally tally_;
};

MemberScanner::MemberScanner(SourceKind kind) : lines_(std::make_unique<Lines>(kind)) {
}

MemberScanner::~MemberScanner() = default;

void MemberScanner::Feed(std::string_view block) {
    lines_->Feed(block);
}

MemberInventory MemberScanner::Finish() {
    return lines_->Finish();
}

const LineTally& MemberScanner::Tally() const {
    return lines_->Tally();
}

class DesignerFileScanner::Lines {
public:
    Lines() : splitter_(*this) {}

    void Feed(std::string_view block) { splitter_.Feed(block); }

    DesignerFile Finish() {
        splitter_.Finish();
        for (const auto& [field, type] : created_) {
            if (fields_.contains(field)) {
                ++file_.controls[DecodeName(type, utf8_)];
            }
        }
        return std::move(file_);
    }

    void Run(const char* p, const char* runEnd) {
        inventory_lines::ForEachLine(p, runEnd, [this](std::string_view line) { Line(line); });
    }

    void Line(std::string_view head, bool = false, bool = false, LineClass = {}) {
        ++file_.lines;
        Cursor cursor{first_ ? WithoutMark(head, utf8_) : head};
        first_ = false;
        cursor.SkipBlanks();
        if (!cursor.AtEnd() && Lower(cursor.Peek()) == 'm') {
            Creation(cursor);
        } else {
            Declaration(cursor);
        }
    }

private:
    // Field names as the file compares them: Visual Basic's names are the same in any case.
    static std::string Key(std::string_view name) {
        std::string key(name);
        for (char& c : key) {
            c = Lower(c);
        }
        return key;
    }

    // Me.Name = New System.Windows.Forms.Type(...), "Global." before the type or not.
    void Creation(Cursor& cursor) {
        if (!IsWord(cursor.Word(), "me") || cursor.AtEnd() || cursor.Peek() != '.') {
            return;
        }
        ++cursor.at;
        const std::string_view field = cursor.Word();
        cursor.SkipBlanks();
        if (field.empty() || cursor.AtEnd() || cursor.Peek() != '=') {
            return;
        }
        ++cursor.at;
        cursor.SkipBlanks();
        if (!IsWord(cursor.Word(), "new") || !cursor.WordEnds()) {
            return;
        }
        cursor.SkipBlanks();
        std::string_view type = cursor.text.substr(cursor.at);
        type = type.substr(0, type.find_first_of("( \t"));
        if (IsWord(type.substr(0, 7), "global.")) {
            type.remove_prefix(7);
        }
        constexpr std::string_view kForms = "system.windows.forms.";
        if (type.size() > kForms.size() && IsWord(type.substr(0, kForms.size()), kForms)) {
            created_.emplace_back(Key(field), std::string(type));
        }
    }

    // Friend WithEvents Name As ...: a field of the form, which is what makes a thing the
    // designer creates one of its controls rather than a value of one of its properties
    // (Me.Padding = New System.Windows.Forms.Padding(5)).
    void Declaration(Cursor& cursor) {
        std::string_view word = cursor.Word();
        bool declares = false;
        while (IsWord(word, "friend") || IsWord(word, "private") || IsWord(word, "public") ||
               IsWord(word, "protected") || IsWord(word, "dim") || IsWord(word, "withevents")) {
            declares = true;
            cursor.SkipBlanks();
            word = cursor.Word();
        }
        cursor.SkipBlanks();
        if (declares && !word.empty() && IsWord(cursor.Word(), "as")) {
            fields_.insert(Key(word));
        }
    }

    inventory_lines::LineSplitter<Lines> splitter_;
    bool first_ = true;
    bool utf8_ = false;
    std::vector<std::pair<std::string, std::string>> created_;  // field, type
    std::set<std::string> fields_;
    DesignerFile file_;
};

DesignerFileScanner::DesignerFileScanner() : lines_(std::make_unique<Lines>()) {
}

DesignerFileScanner::~DesignerFileScanner() = default;

void DesignerFileScanner::Feed(std::string_view block) {
    lines_->Feed(block);
}

DesignerFile DesignerFileScanner::Finish() {
    return lines_->Finish();
}

MemberInventory ScanMemberText(std::string_view bytes, SourceKind kind) {
    MemberScanner scanner(kind);
    scanner.Feed(bytes);
    return scanner.Finish();
}

DesignerFile ScanDesignerFileText(std::string_view bytes) {
    DesignerFileScanner scanner;
    scanner.Feed(bytes);
    return scanner.Finish();
}

}  // namespace tallix

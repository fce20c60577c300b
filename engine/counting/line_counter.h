#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/files/file_system.h"
#include "engine/projects/source_kind.h"
#include "engine/text/line_ends.h"

namespace tallix {

// What a line is by its first byte that is not a space: blank when it has none, a comment
// when that byte is an apostrophe, code otherwise. Tabs are not spaces here.
enum class LineClass { Code, Comment, Blank };

// Follows a line, fed in pieces, to its first byte that is not a space.
class LineLead {
public:
    void Take(std::string_view piece) {
        for (std::size_t i = 0; !seen_ && i < piece.size(); ++i) {
            seen_ = piece[i] != ' ';
            first_ = piece[i];
        }
    }
    LineClass Class() const {
        return !seen_ ? LineClass::Blank : first_ == '\'' ? LineClass::Comment : LineClass::Code;
    }

private:
    bool seen_ = false;
    char first_ = 0;
};

inline LineClass ClassOfLine(std::string_view line) {
    LineLead lead;
    lead.Take(line);
    return lead.Class();
}

// Under VB6 rules, whether a line of the code part, given by its first bytes, is a module
// attribute line ("Attribute VB_..." in the first column), which is not counted.
inline bool IsModuleAttributeLine(std::string_view head) {
    return head.starts_with("Attribute VB_");
}

// The lines of the counted part of a file, by class. For VB6 members the counted part
// starts at the "Attribute VB_Name" line and leaves out module attribute lines.
struct LineTally {
    std::int64_t code = 0;
    std::int64_t comment = 0;
    std::int64_t blank = 0;

    std::int64_t Counted(bool skipBlankLines, bool skipCommentLines) const {
        return code + (skipCommentLines ? 0 : comment) + (skipBlankLines ? 0 : blank);
    }
    void Add(LineClass lineClass) {
        ++(lineClass == LineClass::Blank     ? blank
           : lineClass == LineClass::Comment ? comment
                                             : code);
    }
    friend bool operator==(const LineTally&, const LineTally&) = default;
};

// Classifies the lines of a member fed in blocks of any size. Holds only the head of the
// current line, so memory stays the same whatever the file's length.
class LineCounter {
public:
    explicit LineCounter(SourceKind kind) : vb6_(kind == SourceKind::Vb6) {}

    void Feed(std::string_view block);
    LineTally Finish();

private:
    static constexpr std::size_t kHeadSize = 17;  // "Attribute VB_Name"

    void EndLine();

    bool vb6_;
    bool codeFlag_ = false;
    line_ends::CrLfAcrossBlocks crLf_;
    bool lineOpen_ = false;
    LineLead lead_;
    std::size_t headLength_ = 0;
    char head_[kHeadSize] = {};
    LineTally tally_;
};

LineTally TallyVb6Text(std::string_view bytes);
LineTally TallyVbNetText(std::string_view bytes);

struct FileTally {
    LineTally tally;
    FileProblem problem;  // error None when the file was read to its end
};

// Reads a file once, sequentially, and classifies its lines with the rules of the kind.
FileTally TallyFile(const std::string& path, SourceKind kind);

// The same for bytes from any source: no tally when the source fails before its end.
FileTally TallySource(ByteSource& source, SourceKind kind);

// The member counters: the number of lines counted under the two options, or 0 when the
// file cannot be read.
std::int64_t CountVb6File(const std::string& path, bool skipBlankLines, bool skipCommentLines);
std::int64_t CountVbNetFile(const std::string& path, bool skipBlankLines, bool skipCommentLines);

}  // namespace tallix

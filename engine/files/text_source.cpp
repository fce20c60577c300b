#include "engine/files/text_source.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "engine/text/text_lines.h"

namespace tallix {

namespace {

// Bytes kept while the encoding is still open, so that most files are read once: project
// files are small, and only a larger one whose encoding shows late is read again.
constexpr std::size_t kKeptWhileSniffing = 4 << 20;

// Decodes bytes as they come and hands the text on until the visitor stops.
class Decoding {
public:
    Decoding(TextEncoding encoding, const TextVisitor& onText)
        : decoder_(encoding), onText_(onText) {}

    bool Feed(std::string_view bytes) {
        std::string text;
        decoder_.Feed(bytes, text);
        going_ = going_ && (text.empty() || onText_(text));
        return going_;
    }
    void Finish() {
        std::string text;
        decoder_.Finish(text);
        if (going_ && !text.empty()) {
            onText_(text);
        }
    }

private:
    StreamDecoder decoder_;
    const TextVisitor& onText_;
    bool going_ = true;
};

FileProblem Unrewindable() {
    return {FileError::Unreadable, "无法从头再读一遍"};
}

}  // namespace

std::size_t MemorySource::Read(char* buffer, std::size_t size) {
    const std::size_t count = std::min(size, bytes_.size() - at_);
    std::copy_n(bytes_.data() + at_, count, buffer);
    at_ += count;
    return count;
}

bool MemorySource::Rewind() {
    at_ = 0;
    return true;
}

FileProblem ReadSourceText(ByteSource& source, EncodingRule rule, const TextVisitor& onText) {
    const auto buffer = std::make_unique<char[]>(kReadBlockSize);
    EncodingSniffer sniffer(rule);
    std::string kept;
    bool overflowed = false;
    bool ended = false;
    for (bool decided = false; !decided;) {
        const std::size_t got = source.Read(buffer.get(), kReadBlockSize);
        if (got == 0) {
            ended = true;
            break;
        }
        decided = sniffer.Feed({buffer.get(), got});
        overflowed = overflowed || kept.size() + got > kKeptWhileSniffing;
        if (!overflowed) {
            kept.append(buffer.get(), got);
        }
    }
    if (source.Problem().error != FileError::None) {
        return source.Problem();
    }
    Decoding decoding(sniffer.Result(), onText);
    if (overflowed) {
        if (!source.Rewind()) {
            return Unrewindable();
        }
        ended = false;
    } else if (!decoding.Feed(kept)) {
        return {};
    }
    kept = std::string();
    while (!ended) {
        const std::size_t got = source.Read(buffer.get(), kReadBlockSize);
        if (got == 0) {
            break;
        }
        if (!decoding.Feed({buffer.get(), got})) {
            return {};
        }
    }
    if (source.Problem().error != FileError::None) {
        return source.Problem();
    }
    decoding.Finish();
    return {};
}

FileProblem ReadSourceLines(ByteSource& source, EncodingRule rule, const TextVisitor& onLine) {
    // The text comes as UTF-8 whatever the file's encoding, and lines are cut from it.
    bool going = true;
    TextLineReader lines(
        [&](std::string_view line) {
            if (going) {
                going = onLine(line);
            }
        },
        TextEncoding::Utf8);
    const FileProblem problem = ReadSourceText(source, rule, [&](std::string_view text) {
        lines.Feed(text);
        return going;
    });
    if (problem.error == FileError::None && going) {
        lines.Finish();
    }
    return problem;
}

namespace {

template <typename Read>
FileProblem ReadFile(const std::string& path, EncodingRule rule, const TextVisitor& visitor,
                     Read read) {
    InputFile file = InputFile::Open(LocateFile(path).value_or(path));
    if (!file.IsOpen()) {
        return file.Problem();
    }
    return read(file, rule, visitor);
}

}  // namespace

FileProblem ReadFileText(const std::string& path, EncodingRule rule, const TextVisitor& onText) {
    return ReadFile(path, rule, onText, ReadSourceText);
}

FileProblem ReadFileLines(const std::string& path, EncodingRule rule, const TextVisitor& onLine) {
    return ReadFile(path, rule, onLine, ReadSourceLines);
}

}  // namespace tallix

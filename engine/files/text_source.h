#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "engine/files/file_system.h"
#include "engine/text/encoding_sniffer.h"

namespace tallix {

// Bytes held in memory as a source that can be read again.
class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}

    std::size_t Read(char* buffer, std::size_t size) override;
    const FileProblem& Problem() const override { return problem_; }
    bool Rewind() override;

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
    FileProblem problem_;
};

// Takes the next piece of decoded text, or the next line; returns false to stop reading.
using TextVisitor = std::function<bool(std::string_view utf8)>;

// Reads a source to its end, or until the visitor stops, as UTF-8 text in the encoding the
// rule finds. Text whose encoding shows only at its end (a large project that is valid
// UTF-8 so far) is read twice: the source is rewound for the second reading. Returns the
// problem that kept it from being read (error None when it was read whole or the visitor
// stopped).
FileProblem ReadSourceText(ByteSource& source, EncodingRule rule, const TextVisitor& onText);

// The same, cut into lines as TextLineReader cuts them.
FileProblem ReadSourceLines(ByteSource& source, EncodingRule rule, const TextVisitor& onLine);

// The same for a file, found as LocateFile finds it.
FileProblem ReadFileText(const std::string& path, EncodingRule rule, const TextVisitor& onText);
FileProblem ReadFileLines(const std::string& path, EncodingRule rule, const TextVisitor& onLine);

}  // namespace tallix
